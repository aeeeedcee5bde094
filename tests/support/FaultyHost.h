#pragma once
// The system's platform with planned faults served by the system-call hooks
// of its files, so the real error table, the real roll-back and the real
// journal run.  FaultyPosix.cpp and FaultyWin32.cpp each define the faulty
// files of their system; CMake builds the one system's file.

#include <chrono>
#include <memory>
#include <utility>

#include "platform/system/SystemPlatform.h"
#include "tests/support/FaultPlan.h"

namespace qadrill::testing {

// This system's files, failing as `plan` says.
[[nodiscard]] std::unique_ptr<SystemFiles> faultyFiles(FaultPlan& plan);
// The system's own error value the hooks fail `operation` with for a planned errno.
[[nodiscard]] int systemErrorFor(FileOperation operation, int errnoValue);

// The plan comes first: the files hold on to it.
class FaultyHost : public FaultPlan, public SystemPlatform {
public:
    // Whether a signal can interrupt a system call, so that an EINTR fault
    // means something on this system.
    static const bool callsCanBeInterrupted;

    FaultyHost(DriveMap driveMap, std::chrono::milliseconds lockWait)
        : SystemPlatform(std::move(driveMap), lockWait, faultyFiles(*this)) {}
};

}  // namespace qadrill::testing
