#include "ProcessTable.h"

#include <dirent.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace brisko::desktop {

std::string ExecutableFileName(const std::string& linkTarget) {
    std::string path = linkTarget;
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ProcessTable::ProcessTable(std::string procRoot, uid_t user, std::string session)
    : procRoot_(std::move(procRoot)), user_(user), session_(std::move(session)) {}

namespace {
std::string SessionText(const char* display, const char* wayland) {
    return std::string("DISPLAY=") + (display ? display : "") + "\n" +
           "WAYLAND_DISPLAY=" + (wayland ? wayland : "");
}
}  // namespace

std::string ProcessTable::CurrentSession() {
    return SessionText(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
}

std::string ProcessTable::SessionOfEnvironment(const std::string& environ) {
    std::string display, wayland;
    std::istringstream entries(environ);
    for (std::string entry; std::getline(entries, entry, '\0');) {
        if (entry.rfind("DISPLAY=", 0) == 0)
            display = entry.substr(8);
        else if (entry.rfind("WAYLAND_DISPLAY=", 0) == 0)
            wayland = entry.substr(16);
    }
    return SessionText(display.c_str(), wayland.c_str());
}

bool ProcessTable::inSession(pid_t pid) const {
    if (pid == ::getpid())
        return true;
    std::ifstream file(procRoot_ + "/" + std::to_string(pid) + "/environ", std::ios::binary);
    if (!file)
        return false;  // not known to be ours: spared
    std::ostringstream environ;
    environ << file.rdbuf();
    return SessionOfEnvironment(environ.str()) == session_;
}

ProcessTable::~ProcessTable() {
    for (auto& [handle, process] : processes_)
        if (process.pidfd >= 0)
            ::close(process.pidfd);
}

bool ProcessTable::ownedByUser(pid_t pid) const {
    std::ifstream status(procRoot_ + "/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Uid:", 0) != 0)
            continue;
        // A set-user-id program that only lowered its effective id to the user keeps its
        // saved one: it still counts as the other user's.
        std::istringstream fields(line.substr(4));
        long long real = -1;
        long long effective = -1;
        long long saved = -1;
        fields >> real >> effective >> saved;
        const auto user = static_cast<long long>(user_);
        return fields && real == user && effective == user && saved == user;
    }
    return false;
}

std::vector<ProcessEntry> ProcessTable::list() const {
    std::vector<ProcessEntry> entries;
    DIR* dir = ::opendir(procRoot_.c_str());
    if (!dir)
        return entries;
    while (dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit))
            continue;
        const pid_t pid = static_cast<pid_t>(std::strtol(name.c_str(), nullptr, 10));
        if (!ownedByUser(pid) || !inSession(pid))
            continue;
        char target[4096];
        const ssize_t length =
            ::readlink((procRoot_ + "/" + name + "/exe").c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue;  // kernel threads and processes already gone
        ProcessEntry entry;
        entry.size = 296;
        entry.processId = static_cast<std::uint32_t>(pid);
        entry.exeFile = ExecutableFileName(std::string(target, static_cast<std::size_t>(length)));
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.processId < b.processId; });
    return entries;
}

Handle ProcessTable::createSnapshot() {
    const Handle handle = nextHandle_++;
    snapshots_[handle].entries = list();
    return handle;
}

bool ProcessTable::next(Handle snapshot, ProcessEntry& entry, bool first) {
    auto it = snapshots_.find(snapshot);
    if (it == snapshots_.end())
        return false;
    Snapshot& s = it->second;
    if (first)
        s.position = 0;
    if (s.position >= s.entries.size())
        return false;
    const std::uint32_t size = entry.size;
    entry = s.entries[s.position++];
    entry.size = size;
    return true;
}

Handle ProcessTable::open(pid_t pid) {
    if (pid <= 0 || !ownedByUser(pid))
        return 0;
    // A pidfd pins the process: a pid reused after the check cannot be hit by mistake.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0 && errno != ENOSYS)
        return 0;  // gone since the check; its pid may already name another process
    if (pidfd >= 0 && !ownedByUser(pid)) {
        ::close(pidfd);
        return 0;
    }
    const Handle handle = nextHandle_++;
    processes_[handle] = {pid, pidfd};
    return handle;
}

bool ProcessTable::terminate(Handle process, unsigned exitCode) {
    auto it = processes_.find(process);
    if (it == processes_.end())
        return false;
    const Process p = it->second;
    if (p.pid == ::getpid())
        ::_exit(static_cast<int>(exitCode));
    if (p.pidfd >= 0)
        return ::syscall(SYS_pidfd_send_signal, p.pidfd, SIGKILL, nullptr, 0) == 0;
    // Without pidfds (old kernels) the owner is checked once more right before the signal.
    return ownedByUser(p.pid) && ::kill(p.pid, SIGKILL) == 0;
}

bool ProcessTable::close(Handle handle) {
    if (snapshots_.erase(handle))
        return true;
    auto it = processes_.find(handle);
    if (it == processes_.end())
        return false;
    if (it->second.pidfd >= 0)
        ::close(it->second.pidfd);
    processes_.erase(it);
    return true;
}

}  // namespace brisko::desktop
