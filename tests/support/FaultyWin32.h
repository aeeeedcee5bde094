#pragma once
// Win32Platform with planned faults served by its system-call hooks, so the
// real error table and the real roll-back run.  Tests plan faults as errno
// values; each becomes the Windows error the same failure gives there.

#include <chrono>
#include <cstdint>

#include "platform/win32/Win32Platform.h"
#include "tests/support/FaultPlan.h"

namespace qadrill::testing {

class FaultyHost : public Win32Platform, public FaultPlan {
public:
    // Whether a signal can interrupt a system call, so that an EINTR fault
    // means something on this system.
    static constexpr bool callsCanBeInterrupted = false;
    FaultyHost(DriveMap driveMap, std::chrono::milliseconds lockWait) : Win32Platform(std::move(driveMap), lockWait) {}

protected:
    void* systemCreateFile(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                           unsigned long attributes) override;
    bool systemLock(void* handle) override;
    bool systemWrite(void* handle, const void* data, unsigned long size, unsigned long& written) override;
    bool systemWriteAt(void* handle, std::uint64_t offset, const void* data, unsigned long size,
                       unsigned long& written) override;
    bool systemTruncate(void* handle, std::uint64_t size) override;
    bool systemFlush(void* handle) override;
    bool systemRead(void* handle, std::uint64_t offset, void* data, unsigned long size, unsigned long& got) override;
    bool systemCreateDirectory(const std::filesystem::path& path) override;

private:
    template <typename RealWrite>
    bool plannedWrite(unsigned long size, unsigned long& written, RealWrite realWrite);
};

}  // namespace qadrill::testing
