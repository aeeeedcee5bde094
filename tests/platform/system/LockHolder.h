#pragma once
// Another process holds the exclusive lock on a file for a while, the way a
// second copy of the program would: a forked child on POSIX
// (LockHolderPosix.cpp), the lock_holder program on Windows
// (LockHolderWin32.cpp, LockHolderMain.cpp).

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace qadrill::testing {

class LockHolder {
public:
    // Returns once the other process holds the lock (or has failed to).
    LockHolder(const std::filesystem::path& file, std::chrono::milliseconds holdFor);
    // Ends the other process if it still runs.
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    [[nodiscard]] bool held() const { return held_; }

private:
    std::intptr_t process_ = -1;
    bool held_ = false;
};

}  // namespace qadrill::testing
