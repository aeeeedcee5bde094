#pragma once
// PosixPlatform with planned faults served by its system-call hooks, so the
// real error table, the real roll-back and the real journal run.

#include <chrono>

#include "platform/posix/PosixPlatform.h"
#include "tests/support/FaultPlan.h"

namespace qadrill::testing {

class FaultyHost : public PosixPlatform, public FaultPlan {
public:
    // Whether a signal can interrupt a system call, so that an EINTR fault
    // means something on this system.
    static constexpr bool callsCanBeInterrupted = true;
    FaultyHost(DriveMap driveMap, std::chrono::milliseconds lockWait) : PosixPlatform(std::move(driveMap), lockWait) {}

protected:
    int systemOpen(const std::filesystem::path& path, int flags, mode_t mode) override;
    int systemLock(int fd) override;
    ssize_t systemWrite(int fd, const void* data, std::size_t size) override;
    ssize_t systemWriteAt(int fd, const void* data, std::size_t size, off_t offset) override;
    int systemTruncate(int fd, off_t size) override;
    int systemFsync(int fd) override;
    ssize_t systemRead(int fd, void* data, std::size_t size, off_t offset) override;
    int systemMakeDirectory(const std::filesystem::path& path, mode_t mode) override;

private:
    template <typename RealWrite>
    ssize_t plannedWrite(std::size_t size, RealWrite realWrite);
};

}  // namespace qadrill::testing
