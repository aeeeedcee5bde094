#pragma once
// The platform for tests: prompts answered from a queue, message boxes
// recorded, clock and random fixed, program end raised as ProgramEnded.
// Files are real files under a temporary root; any chosen file operation
// can be made to fail with a chosen error number.
//
// Fault injection (served by the system-call hooks of PosixPlatform, so the
// real error table and the real roll-back run):
//   failNext(op, errnoValue, skip = 0)
//       After `skip` more calls of `op` go through, the next one fails with
//       errno `errnoValue`; the platform maps it as for a real failure, e.g.
//       open: ENOENT -> 53 (Input) / 76 (Append, Output), EACCES -> 75,
//       EAGAIN -> 70, EMFILE -> 67; write: ENOSPC -> 61, EIO -> 57;
//       fsync: EIO -> 57 (the written bytes are cut back off);
//       lock: EWOULDBLOCK -> 70 at once (this platform does not wait);
//       read: EIO -> 57; makeDirectory: EEXIST -> 75, ENOENT -> 76;
//       truncate (a cut-back): EIO -> 57; remove (the journal's): EIO -> 57.
//       Several faults of one operation are served in the order planned;
//       each skip counts from the previous fault.  Operations: open (each
//       open() may make up to two system opens: create-new, then existing),
//       lock, write (appends and the journal's writes at an offset), fsync
//       (a file's own sync, not its directory's), read (a file is read in
//       64 KiB chunks, so a small file is read whole on the first
//       lineInput/endOfFile after open), makeDirectory, truncate, remove.
//   acceptOnlyBytes(n)
//       The disk takes n more bytes, over all files: a write that does not
//       fit puts what fits and returns the short count, and the first write
//       that fits nothing fails with ENOSPC, which ends the fault.
//   dieAfterBytes(n)  the process ends at once (as if killed) when the disk
//                     has taken n more bytes, in the middle of a write if
//                     that is where the n-th byte falls.
//   clearFaults()     drops every fault not yet served.
//   bytesWritten()    bytes every write so far put on disk, all files.
//   pendingFaults()   faults planned but not yet served (a test that expects
//                     its fault to have hit can assert 0).
//   calls(op)         system calls of `op` made so far, faulted or not.

#include <array>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/PosixPlatform.h"

namespace qadrill::testing {

// Thrown where the real program would end; tests catch it.
struct ProgramEnded : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "program ended"; }
};

class ScriptedPlatform final : public PosixPlatform {
public:
    // Drive c maps to root/"c" (created here, as a home directory always
    // exists), any other drive x to root/"x" (created only if a test does).
    explicit ScriptedPlatform(std::filesystem::path root);

    // Prompts: answers served in order; nullopt stands for Cancel.  Running
    // out of answers is a test fault and throws std::logic_error.
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::u16string> prompts;   // every prompt text shown, in order
    std::vector<std::u16string> messages;  // every message box text, in order

    // Clock.
    std::u16string date = u"12-07-2026";
    std::u16string time = u"23:05:36";
    float seconds = 83136.5F;

    // Random: queued values are served first, then the seeded generator.
    std::deque<float> randomValues;
    std::vector<float> seeds;  // every randomize() seed, in order

    int beeps = 0;
    std::optional<Picture> clipboard;
    // A clipboard another program holds: setting and reading both throw
    // RuntimeError(clipboardUnavailable).
    bool clipboardLocked = false;
    bool ended = false;

    // Fault injection: see the top of this file.
    void failNext(FileOperation operation, int errnoValue, int skip = 0);
    void acceptOnlyBytes(std::size_t n);
    [[nodiscard]] std::size_t pendingFaults() const;
    void clearFaults();
    void dieAfterBytes(std::size_t n) { dieAfter_ = n; }
    [[nodiscard]] std::size_t bytesWritten() const { return bytesWritten_; }
    [[nodiscard]] int calls(FileOperation operation) const;

    [[nodiscard]] const std::filesystem::path& root() const { return root_; }
    // The bytes of the real file behind a drill path, or nullopt if missing.
    [[nodiscard]] std::optional<std::string> fileBytes(const std::u16string& drillPath) const;

    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    void messageBox(const std::u16string& text) override;
    [[nodiscard]] float timer() override;
    [[nodiscard]] std::u16string dateText() override;
    [[nodiscard]] std::u16string timeText() override;
    [[nodiscard]] float rnd() override;
    void randomize(float seed) override;
    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;
    [[noreturn]] void endProgram() override;

protected:
    int systemOpen(const std::filesystem::path& path, int flags, mode_t mode) override;
    int systemLock(int fd) override;
    ssize_t systemWrite(int fd, const void* data, std::size_t size) override;
    ssize_t systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) override;
    int systemTruncate(int fd, off_t size) override;
    int systemRemove(const std::filesystem::path& path) override;
    int systemFsync(int fd) override;
    ssize_t systemRead(int fd, void* data, std::size_t size) override;
    int systemMakeDirectory(const std::filesystem::path& path, mode_t mode) override;

private:
    struct Fault {
        int skip = 0;
        int errnoValue = 0;
    };
    static constexpr std::size_t operationCount = 8;

    // Counts the call; the errno to fail it with, if a fault is due.
    [[nodiscard]] std::optional<int> dueFault(FileOperation operation);
    // A write through the fault plan and the room left on the disk.
    template <typename RealWrite>
    ssize_t plannedWrite(std::size_t size, RealWrite realWrite);

    std::filesystem::path root_;
    std::array<std::deque<Fault>, operationCount> faults_;
    std::array<int, operationCount> calls_{};
    std::optional<std::size_t> roomLeft_;
    std::size_t bytesWritten_ = 0;
    std::optional<std::size_t> dieAfter_;
};

}  // namespace qadrill::testing
