#pragma once

#include <sys/types.h>
#include <QObject>

#include <string>
#include <vector>

namespace brisko::desktop {

/// Starts programs detached from Brisko: no shell, every argument passed as it is, standard
/// input and output on /dev/null, a session of their own, no descriptor of Brisko's inherited.
/// Every child is reaped when it ends, so none is left as a zombie.
class Launcher : public QObject {
public:
    Launcher() = default;

    /// Starts argv[0] (a path, or a name looked up on PATH) with Brisko's environment and the
    /// given "NAME=value" entries added. Returns the pid, or -1.
    pid_t start(const std::vector<std::string>& argv,
                const std::vector<std::string>& extraEnvironment = {});

    /// Hands a file, folder or address to the desktop's opener (xdg-open), with the given
    /// "NAME=value" entries added to its environment.
    bool openWithDesktop(const std::string& target,
                         const std::vector<std::string>& extraEnvironment = {});

    /// Waits for a child started elsewhere (a desktop entry's program) once it ends.
    void reapWhenDone(pid_t pid);
};

/// The full path of a program: the name itself when it has a slash, else the first
/// executable match on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

/// A regular file that the user may execute.
bool IsExecutableFile(const std::string& path);

}  // namespace brisko::desktop
