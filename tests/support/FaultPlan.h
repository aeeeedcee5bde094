#pragma once
// The faults a test plans for the system calls of a platform, kept apart from
// the calls themselves so each system's hooks (FaultyPosix.h, FaultyWin32.h)
// serve the same plan.  See ScriptedPlatform.h for what a test can plan.

#include <array>
#include <cstddef>
#include <deque>
#include <optional>

#include "platform/ErrorTable.h"

namespace qadrill::testing {

class FaultPlan {
public:
    void failNext(FileOperation operation, int errnoValue, int skip = 0);
    void acceptOnlyBytes(std::size_t n) { acceptedBytes_ = n; }
    [[nodiscard]] std::size_t pendingFaults() const;
    [[nodiscard]] int calls(FileOperation operation) const;

protected:
    // Counts the call; the errno to fail it with, if a fault is due.
    [[nodiscard]] std::optional<int> dueFault(FileOperation operation);
    // The byte count of a planned short write, taken once.
    [[nodiscard]] std::optional<std::size_t> takeAcceptedBytes();

private:
    struct Fault {
        int skip = 0;
        int errnoValue = 0;
    };
    static constexpr std::size_t operationCount = 6;

    std::array<std::deque<Fault>, operationCount> faults_;
    std::array<int, operationCount> calls_{};
    std::optional<std::size_t> acceptedBytes_;
};

}  // namespace qadrill::testing
