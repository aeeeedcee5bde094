// The faulty files of a POSIX system: each hook fails with the planned errno.
#include <cerrno>

#include "platform/posix/PosixFiles.h"
#include "tests/support/FaultyHost.h"

namespace qadrill::testing {

namespace {

int failWith(int errnoValue) {
    errno = errnoValue;
    return -1;
}

class FaultyPosixFiles final : public PosixFiles {
public:
    explicit FaultyPosixFiles(FaultPlan& plan) : plan_(plan) {}

protected:
    int systemOpen(const std::filesystem::path& path, int flags, mode_t mode) override {
        return plan_.serve(
            FileOperation::open, [&] { return PosixFiles::systemOpen(path, flags, mode); }, failWith);
    }
    int systemLock(int fd) override {
        return plan_.serve(
            FileOperation::lock, [&] { return PosixFiles::systemLock(fd); }, failWith);
    }
    ssize_t systemWrite(int fd, const void* data, std::size_t size) override {
        return plannedWrite(size, [&](std::size_t n) { return PosixFiles::systemWrite(fd, data, n); });
    }
    ssize_t systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) override {
        return plannedWrite(size, [&](std::size_t n) { return PosixFiles::systemWriteAt(fd, data, n, offset); });
    }
    int systemTruncate(int fd, off_t size) override {
        return plan_.serve(
            FileOperation::truncate, [&] { return PosixFiles::systemTruncate(fd, size); }, failWith);
    }
    int systemFsync(int fd) override {
        return plan_.serve(
            FileOperation::fsync, [&] { return PosixFiles::systemFsync(fd); }, failWith);
    }
    ssize_t systemRead(int fd, void* data, std::size_t size, off_t offset) override {
        return plan_.serve(
            FileOperation::read, [&] { return PosixFiles::systemRead(fd, data, size, offset); }, failWith);
    }
    int systemMakeDirectory(const std::filesystem::path& path, mode_t mode) override {
        return plan_.serve(
            FileOperation::makeDirectory, [&] { return PosixFiles::systemMakeDirectory(path, mode); }, failWith);
    }

private:
    template <typename RealWrite>
    ssize_t plannedWrite(std::size_t size, RealWrite realWrite) {
        const FaultPlan::WritePlan plan = plan_.planWrite(size);
        if (plan.errnoValue) return failWith(*plan.errnoValue);
        const ssize_t written = realWrite(plan.allowed);
        if (written > 0) plan_.wrote(static_cast<std::size_t>(written));
        return written;
    }

    FaultPlan& plan_;
};

}  // namespace

const bool FaultyHost::callsCanBeInterrupted = true;

int systemErrorFor(FileOperation /*operation*/, int errnoValue) { return errnoValue; }

std::unique_ptr<SystemFiles> faultyFiles(FaultPlan& plan) { return std::make_unique<FaultyPosixFiles>(plan); }

}  // namespace qadrill::testing
