#include "tests/support/FaultPlan.h"

#include <utility>

namespace qadrill::testing {

namespace {

std::size_t indexOf(FileOperation operation) { return static_cast<std::size_t>(operation); }

}  // namespace

void FaultPlan::failNext(FileOperation operation, int errnoValue, int skip) {
    faults_[indexOf(operation)].push_back({skip, errnoValue});
}

std::size_t FaultPlan::pendingFaults() const {
    std::size_t pending = acceptedBytes_ ? 1 : 0;
    for (const auto& planned : faults_) pending += planned.size();
    return pending;
}

int FaultPlan::calls(FileOperation operation) const { return calls_[indexOf(operation)]; }

std::optional<int> FaultPlan::dueFault(FileOperation operation) {
    ++calls_[indexOf(operation)];
    auto& planned = faults_[indexOf(operation)];
    if (planned.empty()) return std::nullopt;
    if (planned.front().skip > 0) {
        --planned.front().skip;
        return std::nullopt;
    }
    const int errnoValue = planned.front().errnoValue;
    planned.pop_front();
    return errnoValue;
}

std::optional<std::size_t> FaultPlan::takeAcceptedBytes() { return std::exchange(acceptedBytes_, std::nullopt); }

}  // namespace qadrill::testing
