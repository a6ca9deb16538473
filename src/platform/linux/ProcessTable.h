#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hotkeys/SystemControl.h"

namespace brisko::desktop {

/// The current user's processes, read from /proc, with snapshot and process handles in the
/// style the engine expects. A process belongs to the user when its real, effective and saved
/// user ids are all the user's: another user's process is never listed nor opened, even when
/// Brisko runs as root. Only processes of this desktop session are listed: those whose
/// DISPLAY and WAYLAND_DISPLAY are the given session's (a copy of Brisko on another display
/// keeps running when this session ends).
class ProcessTable {
public:
    explicit ProcessTable(std::string procRoot = "/proc", uid_t user = ::getuid(),
                          std::string session = CurrentSession());
    /// This process's session: its DISPLAY and WAYLAND_DISPLAY.
    static std::string CurrentSession();
    /// The session named by a process environment (NUL-separated NAME=value entries).
    static std::string SessionOfEnvironment(const std::string& environ);
    ~ProcessTable();
    ProcessTable(const ProcessTable&) = delete;
    ProcessTable& operator=(const ProcessTable&) = delete;

    /// The user's processes, each by its executable's file name, in pid order.
    std::vector<ProcessEntry> list() const;
    /// Whether the process exists and belongs to the user.
    bool ownedByUser(pid_t pid) const;

    Handle createSnapshot();
    bool next(Handle snapshot, ProcessEntry& entry, bool first);
    /// A handle to one of the user's processes; 0 when it is gone or not the user's.
    Handle open(pid_t pid);
    /// SIGKILL to the process. For the caller's own process this does not return.
    bool terminate(Handle process, unsigned exitCode);
    /// Closes a snapshot or process handle; false for an unknown one.
    bool close(Handle handle);

private:
    struct Snapshot {
        std::vector<ProcessEntry> entries;
        std::size_t position = 0;
    };
    struct Process {
        pid_t pid = 0;
        int pidfd = -1;
    };

    bool inSession(pid_t pid) const;

    std::string procRoot_;
    uid_t user_;
    std::string session_;
    Handle nextHandle_ = 0x1000;
    std::map<Handle, Snapshot> snapshots_;
    std::map<Handle, Process> processes_;
};

/// The file name of a /proc exe link target, without a " (deleted)" mark.
std::string ExecutableFileName(const std::string& linkTarget);

}  // namespace brisko::desktop
