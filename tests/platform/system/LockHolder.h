#pragma once
// Another process holds the exclusive lock on a file for a while, the way a
// second copy of the program would: a forked child on POSIX
// (LockHolderPosix.cpp), the lock_holder program on Windows
// (LockHolderWin32.cpp, LockHolderMain.cpp).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace qadrill::testing {

class LockHolder {
public:
    // Long past any test's bound: the lock goes only when the holder ends.
    static constexpr std::chrono::milliseconds untilEnded{std::chrono::minutes(10)};

    // Returns once the other process holds the lock (or has failed to).  With
    // lastWords, the holder appends them to the file just before it lets go,
    // so a write that waited for the lock lands after them.
    LockHolder(const std::filesystem::path& file, std::chrono::milliseconds holdFor, const std::string& lastWords = {});
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
