#pragma once
// The platform for tests: prompts answered from a queue, message boxes
// recorded, clock and random fixed, program end raised as ProgramEnded.
// Files are real files under a temporary root; any chosen file operation
// can be made to fail with a chosen error number.
//
// Fault injection (served by the system-call hooks of the system's files, so
// the real error table and the real roll-back run; on Windows each errno
// becomes the Windows error of the same failure, see FaultyWin32.cpp):
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
//   clearFaults()     drops every fault not yet served.
//   dieAfterBytes(n)  the process ends at once (as if killed) when the disk
//                     has taken n more bytes, inside a write if need be.
//   bytesWritten()    bytes every write so far put on disk, all files.
//   pendingFaults()   faults planned but not yet served (a test that expects
//                     its fault to have hit can assert 0).
//   calls(op)         system calls of `op` made so far, faulted or not.

#include <deque>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/FaultyHost.h"

namespace qadrill::testing {

// Thrown where the real program would end; tests catch it.
struct ProgramEnded : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "program ended"; }
};

class ScriptedPlatform final : public FaultyHost {
public:
    // Drive c maps to root/"c" (created here, as a home directory always
    // exists), any other drive x to root/"x" (created only if a test does).
    explicit ScriptedPlatform(std::filesystem::path root);

    // Prompts: answers served in order; nullopt stands for Cancel.  Running
    // out of answers is a test fault and throws std::logic_error.
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::u16string> prompts;   // every prompt text shown, in order
    std::vector<std::u16string> messages;  // every message box text, in order
    std::vector<std::u16string> details;   // each message's detail, empty when it had none

    // Clock.
    std::u16string date = u"12-07-2026";
    std::u16string time = u"23:05:36";
    // Queued time texts are served first, one per reading, then `time`.
    std::deque<std::u16string> times;
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

    // Fault injection (failNext, acceptOnlyBytes, clearFaults, dieAfterBytes,
    // bytesWritten, pendingFaults, calls): see the top of this file.

    [[nodiscard]] const std::filesystem::path& root() const { return root_; }
    // The bytes of the real file behind a drill path, or nullopt if missing.
    [[nodiscard]] std::optional<std::string> fileBytes(const std::u16string& drillPath) const;

    [[nodiscard]] std::u16string inputBox(const std::u16string& prompt) override;
    void messageBox(const std::u16string& text) override;
    void messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) override;
    [[nodiscard]] float timer() override;
    [[nodiscard]] std::u16string dateText() override;
    [[nodiscard]] std::u16string timeText() override;
    [[nodiscard]] float rnd() override;
    void randomize(float seed) override;
    void setClipboardPicture(const Picture& picture) override;
    [[nodiscard]] std::optional<Picture> clipboardPicture() override;
    void beep() override;
    [[noreturn]] void endProgram() override;

private:
    std::filesystem::path root_;
};

}  // namespace qadrill::testing
