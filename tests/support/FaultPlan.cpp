#include "tests/support/FaultPlan.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace qadrill::testing {

namespace {

std::size_t indexOf(FileOperation operation) { return static_cast<std::size_t>(operation); }

}  // namespace

void FaultPlan::failNext(FileOperation operation, int errnoValue, int skip) {
    faults_[indexOf(operation)].push_back({skip, errnoValue});
}

void FaultPlan::clearFaults() {
    for (auto& planned : faults_) planned.clear();
    roomLeft_.reset();
}

std::size_t FaultPlan::pendingFaults() const {
    std::size_t pending = roomLeft_ ? 1 : 0;
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

FaultPlan::WritePlan FaultPlan::planWrite(std::size_t size) {
    if (const auto fault = dueFault(FileOperation::write)) return {fault, 0};
    if (dieAfter_ && *dieAfter_ <= size) {
        // Killed in this write, after the bytes that fit: wrote() ends us.
        if (*dieAfter_ == 0) std::_Exit(0);
        dying_ = true;
        return {std::nullopt, *dieAfter_};
    }
    if (dieAfter_) *dieAfter_ -= size;
    // The first write that fits nothing ends the fault.
    if (roomLeft_ && *roomLeft_ == 0 && size > 0) {
        roomLeft_.reset();
        return {ENOSPC, 0};
    }
    return {std::nullopt, roomLeft_ ? std::min(*roomLeft_, size) : size};
}

void FaultPlan::wrote(std::size_t bytes) {
    if (dying_) std::_Exit(0);
    bytesWritten_ += bytes;
    if (roomLeft_) *roomLeft_ -= std::min(*roomLeft_, bytes);
}

}  // namespace qadrill::testing
