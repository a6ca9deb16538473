#include "X11Session.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace brisko::testing {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
const char* const kMark = "BRISKO_TEST_SESSION";
// How long a part of the desktop may take to become ready; generous for busy machines, since
// every wait ends as soon as the part answers.
constexpr auto kStartTimeout = 30s;

std::string ReadAll(int fd) {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
}  // namespace

void AppendLine(const std::string& path, const std::string& line) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const std::string text = line + "\n";
    [[maybe_unused]] ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

std::string X11Session::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool X11Session::waitUntil(const std::function<bool()>& condition,
                           std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

X11Session::X11Session() : X11Session(Options{}) {}

X11Session::X11Session(Options options) : options_(std::move(options)) {
    char pattern[] = "/tmp/brisko-x11-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    try {
        for (const char* sub : {"config", "cache", "data", "home", "bin"})
            fs::create_directories(dir_ + "/" + sub);
        fs::create_directories(dir_ + "/runtime");
        fs::permissions(dir_ + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
        for (const auto& command : options_.recordedCommands)
            writeRecorder(command);

        startDisplay();
        settleKeyboard();

        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            throw std::runtime_error("pipe failed");
        infrastructure_.push_back(startProcess(
            {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=3"},
            environment(), -1, pipeFds[1]));
        ::close(pipeFds[1]);
        sessionBus_ = readAddress(pipeFds[0], "session bus");

        if (options_.systemBus) {
            if (::pipe(pipeFds) != 0)
                throw std::runtime_error("pipe failed");
            infrastructure_.push_back(
                startProcess({"dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf",
                              "--nofork", "--nopidfile", "--print-address=3"},
                             environment(), -1, pipeFds[1]));
            ::close(pipeFds[1]);
            systemBus_ = readAddress(pipeFds[0], "system bus");
            infrastructure_.push_back(startProcess(
                {"/usr/bin/python3", "-m", "dbusmock", "--system", "--template", "logind"},
                environment(), -1));
            const auto owned = [this] {
                return Contains(
                    run({"dbus-send", "--bus=" + systemBus_, "--print-reply",
                         "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.login1"}),
                    "boolean true");
            };
            if (!waitUntil(owned, kStartTimeout))
                throw std::runtime_error("logind mock did not start");
            if (!options_.sessionId.empty()) {
                int status = 0;
                run({"dbus-send", "--bus=" + systemBus_, "--print-reply",
                     "--dest=org.freedesktop.login1", "/org/freedesktop/login1",
                     "org.freedesktop.DBus.Mock.AddSession", "string:" + options_.sessionId,
                     "string:seat0", "uint32:" + std::to_string(::getuid()), "string:tester",
                     "boolean:true"},
                    &status);
                if (status != 0)
                    throw std::runtime_error("could not add the mock session");
            }
        } else {
            // Anything that asks for the system bus must fail, not reach the machine's one.
            systemBus_ = "unix:path=" + dir_ + "/no-system-bus";
        }

        if (options_.windowManager)
            startWindowManager();
    } catch (...) {
        teardown();
        throw;
    }
}

// The display number is drawn from a high range, away from the low numbers that servers
// started with -displayfd take (those write no lock file, so a compositor's Xwayland or another
// tool may claim the same number). Given a number, Xvfb takes its lock file and ends when the
// number is in use; the display is ready once a client connects and the lock names our server.
// A server that died or never answers is replaced by a fresh one on another number. Without
// -noreset the server resets whenever its last client leaves (the readiness probe, for one),
// and a client connecting during the reset is refused: "Failed to open the display".
void X11Session::startDisplay() {
    const std::string log = dir_ + "/xvfb.log";
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> number(1000, 29999);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int n = number(random);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const pid_t xvfb = startProcess({"Xvfb", ":" + std::to_string(n), "-noreset", "-screen",
                                         "0", "1280x800x24", "-nolisten", "tcp"},
                                        environment(), out);
        ::close(out);
        infrastructure_.push_back(xvfb);
        display_ = ":" + std::to_string(n);
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        const auto ours = [&] {
            return alive(xvfb) && std::atoi(readFile(lock).c_str()) == xvfb && acceptsClients(xvfb);
        };
        if (waitUntil(ours, kStartTimeout)) {
            // A server that lost the number to another ends at once: look once more.
            std::this_thread::sleep_for(100ms);
            if (ours())
                return;
        }
        stop(xvfb);
        infrastructure_.pop_back();
        display_.clear();
    }
    throw std::runtime_error("Xvfb did not start: " + readFile(log));
}

// The first synthetic key of a session switches the server's core keyboard over to the XTEST
// device, and every client hears of a new keymap. openbox then drops and takes again all its
// key bindings, and a key that arrives meanwhile slips past them: the first Alt+F4 of a test
// was lost now and then. One key pressed before anyone listens makes that switch at once.
// xdotool closes its connection with a round trip, so the switch is done when it returns.
void X11Session::settleKeyboard() {
    int status = -1;
    run({"xdotool", "key", "shift"}, &status);
    if (status != 0)
        throw std::runtime_error("xdotool could not press a key on the display");
}

bool X11Session::acceptsClients(pid_t server) {
    if (!alive(server))
        return false;
    int status = -1;
    run({"xprop", "-display", display_, "-root", "-len", "0", "_NET_SUPPORTING_WM_CHECK"}, &status);
    return status == 0;
}

bool X11Session::alive(pid_t pid) {
    return ::waitpid(pid, nullptr, WNOHANG) == 0;
}

void X11Session::startWindowManager() {
    const std::string log = dir_ + "/openbox.log";
    const pid_t xvfb = infrastructure_.front();
    const auto managed = [this] {
        return Contains(xprop({"-root", "_NET_SUPPORTING_WM_CHECK"}), "window id");
    };
    // openbox can stall or fail to connect while the machine is busy: each attempt waits until
    // it manages the screen or ends, and a fresh one follows as long as the display is alive.
    for (int attempt = 0; attempt < 3 && alive(xvfb); ++attempt) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const pid_t wm = startProcess({"openbox", "--sm-disable"}, environment(), out);
        ::close(out);
        infrastructure_.push_back(wm);
        bool ended = false;
        if (waitUntil([&] { return (ended = !alive(wm)) || managed(); }, kStartTimeout) && !ended &&
            managed())
            return;
        stop(wm);
        infrastructure_.pop_back();
    }
    throw std::runtime_error("openbox did not start (display " +
                             std::string(alive(xvfb) ? "alive" : "gone") + "): " + readFile(log) +
                             readFile(dir_ + "/xvfb.log"));
}

X11Session::~X11Session() {
    teardown();
}

void X11Session::writeRecorder(const std::string& command) {
    const std::string path = dir_ + "/bin/" + command;
    std::ofstream script(path);
    script << "#!/bin/sh\n"
           << "IFS=\"$(printf '\\t')\"\n"
           << "printf '%s\\n' \"$*\" >> '" << dir_ << "/recorded-" << command << ".log'\n";
    script.close();
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

std::vector<std::string> X11Session::recorded(const std::string& command) const {
    std::vector<std::string> calls;
    std::istringstream lines(readFile(dir_ + "/recorded-" + command + ".log"));
    std::string line;
    while (std::getline(lines, line))
        calls.push_back(line);
    return calls;
}

std::string X11Session::logindCalls() {
    return run({"dbus-send", "--bus=" + systemBus_, "--print-reply",
                "--dest=org.freedesktop.login1", "/org/freedesktop/login1",
                "org.freedesktop.DBus.Mock.GetCalls"});
}

X11Session::MockSender X11Session::mockSessionService(
    const std::string& service, const std::string& object, const std::string& interface,
    const std::string& method, const std::string& signature, const std::string& code) {
    spawn({"/usr/bin/python3", "-m", "dbusmock", service, object, interface});
    MockSender send = [this, service, object](std::vector<std::string> args) {
        std::vector<std::string> argv = {"dbus-send", "--session", "--print-reply",
                                         "--dest=" + service, object};
        argv.insert(argv.end(), args.begin(), args.end());
        return run(argv);
    };
    const bool added = waitUntil([&] {
        return send({"org.freedesktop.DBus.Mock.AddMethod", "string:" + interface,
                     "string:" + method, "string:" + signature, "string:", "string:" + code})
                   .find("method return") != std::string::npos;
    });
    return added ? send : MockSender();
}

std::map<std::string, std::string> X11Session::environment() const {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = entry.substr(0, eq);
        if (name.rfind("XDG_", 0) == 0 || name.rfind("DBUS_", 0) == 0 || name == "DISPLAY" ||
            name == "WAYLAND_DISPLAY" || name == "SESSION_MANAGER" || name == "XAUTHORITY" ||
            name.rfind("QT_", 0) == 0)
            continue;
        env[name] = entry.substr(eq + 1);
    }
    env[kMark] = dir_;
    env["HOME"] = dir_ + "/home";
    env["XDG_CONFIG_HOME"] = dir_ + "/config";
    env["XDG_CACHE_HOME"] = dir_ + "/cache";
    env["XDG_DATA_HOME"] = dir_ + "/data";
    env["XDG_RUNTIME_DIR"] = dir_ + "/runtime";
    env["XDG_CURRENT_DESKTOP"] = options_.currentDesktop;
    if (!options_.sessionId.empty())
        env["XDG_SESSION_ID"] = options_.sessionId;
    env["PATH"] = dir_ + "/bin:" + (env.count("PATH") ? env["PATH"] : "/usr/bin:/bin");
    env["QT_QPA_PLATFORM"] = "xcb";
    if (!display_.empty())
        env["DISPLAY"] = display_;
    if (!sessionBus_.empty())
        env["DBUS_SESSION_BUS_ADDRESS"] = sessionBus_;
    if (!systemBus_.empty())
        env["DBUS_SYSTEM_BUS_ADDRESS"] = systemBus_;
    return env;
}

pid_t X11Session::startProcess(const std::vector<std::string>& argv,
                               const std::map<std::string, std::string>& env, int outputFd,
                               int extraFd) {
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : env)
        envStrings.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // Resolve the program with the session's PATH, so that recorders win.
    std::string program = argv.front();
    if (program.find('/') == std::string::npos) {
        std::istringstream dirs(env.count("PATH") ? env.at("PATH") : "/usr/bin:/bin");
        std::string d;
        while (std::getline(dirs, d, ':')) {
            if (::access((d + "/" + program).c_str(), X_OK) == 0) {
                program = d + "/" + program;
                break;
            }
        }
    }

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::setpgid(0, 0);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(outputFd >= 0 ? outputFd : null, 1);
        ::dup2(outputFd >= 0 ? outputFd : null, 2);
        if (extraFd >= 0)
            ::dup2(extraFd, 3);
        for (int fd = extraFd >= 0 ? 4 : 3; fd < 1024; ++fd)
            ::close(fd);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(program.c_str(), args.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid);  // also here, so that stop() finds the group even before the child runs
    return pid;
}

std::string X11Session::readAddress(int fd, const char* what) {
    std::string text;
    pollfd p{fd, POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < end && text.find('\n') == std::string::npos) {
        if (::poll(&p, 1, 100) > 0) {
            char buffer[512];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    const auto newline = text.find('\n');
    if (newline == std::string::npos || newline == 0)
        throw std::runtime_error(std::string("could not start the ") + what);
    return text.substr(0, newline);
}

pid_t X11Session::spawn(const std::vector<std::string>& argv,
                        const std::map<std::string, std::string>& overrides,
                        const std::string& outputFile) {
    auto env = environment();
    for (const auto& [name, value] : overrides) {
        if (value.empty())
            env.erase(name);
        else
            env[name] = value;
    }
    int out = -1;
    if (!outputFile.empty())
        out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t pid = startProcess(argv, env, out);
    if (out >= 0)
        ::close(out);
    programs_.push_back(pid);
    return pid;
}

bool X11Session::hasExited(pid_t pid, int* status) {
    int s = 0;
    const pid_t r = ::waitpid(pid, &s, WNOHANG);
    if (r == pid) {
        programs_.erase(std::remove(programs_.begin(), programs_.end(), pid), programs_.end());
        if (status)
            *status = s;
        return true;
    }
    return r < 0;  // already reaped
}

void X11Session::stop(pid_t pid) {
    if (pid <= 0)
        return;
    // Only a child not yet reaped is signalled: a reaped one's number (and process group) may
    // already belong to someone else, another test's X server for instance.
    if (::waitpid(pid, nullptr, WNOHANG) != 0) {
        programs_.erase(std::remove(programs_.begin(), programs_.end(), pid), programs_.end());
        return;
    }
    ::kill(-pid, SIGTERM);
    ::kill(pid, SIGTERM);
    if (!waitUntil([&] { return hasExited(pid); }, 3s)) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    programs_.erase(std::remove(programs_.begin(), programs_.end(), pid), programs_.end());
}

std::string X11Session::run(const std::vector<std::string>& argv, int* status) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = startProcess(argv, environment(), pipeFds[1]);
    ::close(pipeFds[1]);
    std::string out = ReadAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int s = 0;
    ::waitpid(pid, &s, 0);
    if (status)
        *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return out;
}

std::string X11Session::xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return run(argv);
}

std::string X11Session::xprop(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xprop"};
    argv.insert(argv.end(), args.begin(), args.end());
    return run(argv);
}

void X11Session::teardown() {
    for (auto it = programs_.rbegin(); it != programs_.rend(); ++it) {
        if (alive(*it)) {
            ::kill(-*it, SIGTERM);
            ::kill(*it, SIGTERM);
        }
    }
    for (pid_t pid : std::vector<pid_t>(programs_))
        stop(pid);
    // Programs started by the programs under test left their process group; they still carry
    // the session's mark in their environment.
    if (!dir_.empty()) {
        const std::string mark = std::string(kMark) + "=" + dir_;
        if (DIR* proc = ::opendir("/proc")) {
            while (dirent* item = ::readdir(proc)) {
                const pid_t pid = static_cast<pid_t>(std::atoi(item->d_name));
                if (pid <= 0 || pid == ::getpid() ||
                    std::find(infrastructure_.begin(), infrastructure_.end(), pid) !=
                        infrastructure_.end())
                    continue;
                const std::string env = readFile("/proc/" + std::to_string(pid) + "/environ");
                std::istringstream entries(env);
                std::string entry;
                while (std::getline(entries, entry, '\0')) {
                    if (entry == mark) {
                        ::kill(pid, SIGKILL);
                        break;
                    }
                }
            }
            ::closedir(proc);
        }
    }
    for (auto it = infrastructure_.rbegin(); it != infrastructure_.rend(); ++it)
        stop(*it);
    infrastructure_.clear();
    if (!dir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
        dir_.clear();
    }
}

}  // namespace brisko::testing
