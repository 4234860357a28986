#include "platform/ProcessRunner.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace lorvane {

bool ProcessRunner::start(const std::vector<QByteArray>& argv) {
    if (argv.empty() || argv.front().isEmpty())
        return false;
    // Everything the children need is built before fork: after it, only calls that
    // are safe in a copy of a threaded process.
    std::vector<QByteArray> args = argv;
    std::vector<char*> cargv;
    cargv.reserve(args.size() + 1);
    for (QByteArray& a : args)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const pid_t middle = fork();
    if (middle < 0)
        return false;
    if (middle == 0) {
        const pid_t program = fork();
        if (program == 0) {
            execvp(cargv[0], cargv.data());
            _exit(127);
        }
        _exit(program < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace lorvane
