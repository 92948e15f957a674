#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rtl/Shell.h"

extern char** environ;

namespace mlt {

// xdg-open runs in a grandchild, so it outlives nothing of ours and leaves no zombie.
void ShellOpen(const std::string& path) {
    pid_t child = ::fork();
    if (child < 0) return;
    if (child == 0) {
        ::setsid();
        pid_t opener = 0;
        char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
        posix_spawnp(&opener, "xdg-open", nullptr, nullptr, argv, environ);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

}  // namespace mlt
