#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rtl/Exception.h"
#include "rtl/MimeMessage.h"

extern char** environ;

namespace mlt {

// The program named in MARROWLINTIDE_SENDMAIL, else /usr/sbin/sendmail, run with -t -i.
// There is no compose window here: the dialog flag cannot be honoured, so the message is
// sent as it stands, and without a recipient the program refuses it.
int SendMailMessage(const TMailMessage& message) {
    std::string text;
    try {
        text = BuildMimeMessage(message, "=_marrowlintide_boundary");
    } catch (const Exception&) {
        return -1;
    }
    const char* program = std::getenv("MARROWLINTIDE_SENDMAIL");
    if (program == nullptr || *program == '\0') program = "/usr/sbin/sendmail";

    int pipeFds[2];
    // Close-on-exec, so that a program started meanwhile on another thread does not keep
    // the pipe open; the dup2 below gives the mail program its own inheritable copy.
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    char* argv[] = {const_cast<char*>(program), const_cast<char*>("-t"), const_cast<char*>("-i"), nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[0]);
    if (spawned != 0) {
        ::close(pipeFds[1]);
        return -1;
    }
    // A program that stops reading early must not kill us with SIGPIPE.
    auto previous = std::signal(SIGPIPE, SIG_IGN);
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(pipeFds[1], data, left);
        if (n <= 0) break;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    ::close(pipeFds[1]);
    std::signal(SIGPIPE, previous);
    int status = 0;
    if (::waitpid(child, &status, 0) < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
    return -1;
}

}  // namespace mlt
