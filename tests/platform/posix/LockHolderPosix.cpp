#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <thread>

#include "tests/platform/system/LockHolder.h"
#include "tests/support/ChildProcess.h"

namespace qadrill::testing {

LockHolder::LockHolder(const std::filesystem::path& file, std::chrono::milliseconds holdFor,
                       const std::string& lastWords) {
    int ready[2];
    if (pipe(ready) != 0) return;
    const pid_t pid = startChild([&] {
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        const bool locked = fd >= 0 && flock(fd, LOCK_EX) == 0;
        (void)!::write(ready[1], locked ? "L" : "F", 1);
        std::this_thread::sleep_for(holdFor);
        const auto written = ::write(fd, lastWords.data(), lastWords.size());
        return written == static_cast<ssize_t>(lastWords.size()) ? 0 : 1;
    });
    process_ = pid;
    char answer = 'F';
    held_ = pid > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'L';
    ::close(ready[0]);
    ::close(ready[1]);
}

LockHolder::~LockHolder() {
    if (process_ <= 0) return;
    kill(static_cast<pid_t>(process_), SIGKILL);
    (void)waitForChild(static_cast<pid_t>(process_));
}

}  // namespace qadrill::testing
