#include "Launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace brisko::desktop {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& name) {
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string candidate =
            (end > start ? dirs.substr(start, end - start) : std::string(".")) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

pid_t Launcher::start(const std::vector<std::string>& argv,
                      const std::vector<std::string>& extraEnvironment) {
    if (argv.empty())
        return -1;
    const std::string program = FindProgram(argv[0]);
    if (program.empty())
        return -1;

    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> environment;
    for (const auto& entry : extraEnvironment)
        environment.push_back(const_cast<char*>(entry.c_str()));
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const auto& entry : extraEnvironment) {
            const auto name = entry.find('=') + 1;
            replaced = replaced || std::strncmp(*e, entry.c_str(), name) == 0;
        }
        if (!replaced)
            environment.push_back(*e);
    }
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error = posix_spawn(&pid, program.c_str(), &actions, &attributes, args.data(),
                                  extraEnvironment.empty() ? environ : environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return -1;
    reapWhenDone(pid);
    return pid;
}

void Launcher::reapWhenDone(pid_t pid) {
    // A pidfd turns readable when the child ends, which the event loop notices without any
    // polling; a waiting thread is the fallback for kernels without pidfds.
    const int fd =
        QCoreApplication::instance() ? static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)) : -1;
    if (fd >= 0) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [notifier, fd, pid] {
            ::waitpid(pid, nullptr, WNOHANG);
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(fd);
        });
        return;
    }
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

bool Launcher::openWithDesktop(const std::string& target,
                               const std::vector<std::string>& extraEnvironment) {
    return start({"xdg-open", target}, extraEnvironment) > 0;
}

}  // namespace brisko::desktop
