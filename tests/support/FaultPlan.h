#pragma once
// The faults a test plans for the system calls of a platform, kept apart from
// the calls themselves so each system's hooks (FaultyPosix.cpp,
// FaultyWin32.cpp) serve the same plan.  See ScriptedPlatform.h for what a test can plan.

#include <array>
#include <cstddef>
#include <deque>
#include <optional>

#include "platform/system/ErrorTable.h"

namespace qadrill::testing {

class FaultPlan {
public:
    void failNext(FileOperation operation, int errnoValue, int skip = 0);
    void acceptOnlyBytes(std::size_t n) { roomLeft_ = n; }
    void clearFaults();
    // The process ends at once, as if killed, when the disk has taken n more
    // bytes: in the middle of a write if that is where the n-th byte falls.
    void dieAfterBytes(std::size_t n) { dieAfter_ = n; }
    [[nodiscard]] std::size_t bytesWritten() const { return bytesWritten_; }
    [[nodiscard]] std::size_t pendingFaults() const;
    [[nodiscard]] int calls(FileOperation operation) const;

    // The side the system-call hooks see.

    // One call under the plan: a due fault is reported the system's way by
    // `fail(errnoValue)`, otherwise the real call runs.
    template <typename Call, typename Fail>
    auto serve(FileOperation operation, Call call, Fail fail) -> decltype(call()) {
        if (const auto fault = dueFault(operation)) return fail(*fault);
        return call();
    }

    // Counts the call; the errno to fail it with, if a fault is due.
    [[nodiscard]] std::optional<int> dueFault(FileOperation operation);

    // What a write of `size` bytes may do: fail with an errno, or put at most
    // `allowed` bytes on the disk.
    struct WritePlan {
        std::optional<int> errnoValue;
        std::size_t allowed = 0;
    };
    [[nodiscard]] WritePlan planWrite(std::size_t size);
    // Accounts for bytes a write did put on the disk.
    void wrote(std::size_t bytes);

private:
    struct Fault {
        int skip = 0;
        int errnoValue = 0;
    };
    static constexpr std::size_t operationCount = 8;

    std::array<std::deque<Fault>, operationCount> faults_;
    std::array<int, operationCount> calls_{};
    std::optional<std::size_t> roomLeft_;
    std::size_t bytesWritten_ = 0;
    std::optional<std::size_t> dieAfter_;
    bool dying_ = false;
};

}  // namespace qadrill::testing
