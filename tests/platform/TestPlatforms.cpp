#include "tests/platform/TestPlatforms.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace qadrill::testing {

void BarePlatform::closeAll() {
    if (announceCloseAll) std::fputs("closeAll\n", stderr);
    PosixPlatform::closeAll();
}

int runInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        int code = childSetupFailed;
        try {
            code = body();
        } catch (const std::exception&) {
            code = childSetupFailed;
        }
        _exit(code);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

bool dropToNobody() {
    constexpr id_t nobody = 65534;
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setresgid(nobody, nobody, nobody) == 0 &&
           setresuid(nobody, nobody, nobody) == 0 && geteuid() == nobody;
}

}  // namespace qadrill::testing
