#include "tests/support/TestPrograms.h"

#include "tests/support/TestFiles.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testprograms
{
namespace
{
// Whether the child ended within timeoutMs; a pidfd becomes readable when its process ends.
bool Ended(pid_t pid, int timeoutMs)
{
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    pollfd ready{pidfd, POLLIN, 0};
    int polled = 0;
    while ((polled = ::poll(&ready, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    ::close(pidfd);
    return pidfd >= 0 && polled > 0;
}
} // namespace

Run RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
               const QString& directory)
{
    std::vector<QByteArray> words{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string errorsPath = testfiles::NewPath("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const QByteArray folder = directory.toLocal8Bit();
    if (!folder.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Run run;
    if (error != 0) {
        run.errors = QString::fromLocal8Bit(std::strerror(error));
        return run;
    }
    if (!Ended(pid, timeoutMs)) {
        ::kill(pid, SIGKILL);
        run.errors = "still running at the deadline\n";
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.errors += QString::fromStdString(testfiles::ReadBytes(errorsPath));
    return run;
}
} // namespace testprograms
