// The faulty files of a POSIX system: each call fails with the planned errno.
#include <cerrno>

#include "platform/posix/SystemCallsPosix.h"
#include "platform/system/SystemFiles.h"
#include "tests/support/FaultyHost.h"

namespace qadrill::testing {

namespace {

int failWith(int errnoValue) {
    errno = errnoValue;
    return -1;
}

class FaultyCalls final : public SystemCalls {
public:
    explicit FaultyCalls(FaultPlan& plan) : plan_(plan) {}

    int open(const std::filesystem::path& path, int flags, mode_t mode) override {
        return plan_.serve(
            FileOperation::open, [&] { return SystemCalls::open(path, flags, mode); }, failWith);
    }
    int lock(int fd) override {
        return plan_.serve(
            FileOperation::lock, [&] { return SystemCalls::lock(fd); }, failWith);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return plannedWrite(size, [&](std::size_t n) { return SystemCalls::write(fd, data, n); });
    }
    ssize_t writeAt(int fd, const void* data, std::size_t size, off_t offset) override {
        return plannedWrite(size, [&](std::size_t n) { return SystemCalls::writeAt(fd, data, n, offset); });
    }
    int truncate(int fd, off_t size) override {
        return plan_.serve(
            FileOperation::truncate, [&] { return SystemCalls::truncate(fd, size); }, failWith);
    }
    int fsync(int fd) override {
        return plan_.serve(
            FileOperation::fsync, [&] { return SystemCalls::fsync(fd); }, failWith);
    }
    ssize_t read(int fd, void* data, std::size_t size, off_t offset) override {
        return plan_.serve(
            FileOperation::read, [&] { return SystemCalls::read(fd, data, size, offset); }, failWith);
    }
    int makeDirectory(const std::filesystem::path& path, mode_t mode) override {
        return plan_.serve(
            FileOperation::makeDirectory, [&] { return SystemCalls::makeDirectory(path, mode); }, failWith);
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

std::unique_ptr<SystemFiles> faultyFiles(FaultPlan& plan) {
    return std::make_unique<SystemFiles>(std::make_unique<FaultyCalls>(plan));
}

}  // namespace qadrill::testing
