#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "tests/support/ChildProcess.h"

namespace qadrill::testing {

pid_t startChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    int code = childSetupFailed;
    try {
        code = body();
    } catch (const std::exception&) {
        code = childSetupFailed;
    }
    _exit(code);
}

pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments) {
    return startChild([&] {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        return 127;
    });
}

int waitForChild(pid_t child) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

int runInChild(const std::function<int()>& body) { return waitForChild(startChild(body)); }

bool dropRoot() {
    constexpr id_t nobody = 65534;
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setresgid(nobody, nobody, nobody) == 0 &&
           setresuid(nobody, nobody, nobody) == 0 && geteuid() == nobody;
}

}  // namespace qadrill::testing
