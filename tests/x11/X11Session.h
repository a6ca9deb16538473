#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace brisko::testing {

/// A private desktop for one test: its own Xvfb display, openbox, a private D-Bus session bus
/// and a private "system" bus with a mocked logind, fresh XDG directories and HOME under a
/// temporary directory, and recording stand-ins for chosen commands first on PATH.
///
/// The constructor throws std::runtime_error when any part cannot be started, so a test never
/// falls back to the machine's real display or buses. The destructor stops everything it
/// started, every program those started (found by the session's mark in their environment),
/// and removes the directory. Sessions are independent and can run in parallel.
class X11Session {
public:
    struct Options {
        bool windowManager = true;
        bool systemBus = true;                // the private system bus with the logind mock
        std::string sessionId = "c1";         // XDG_SESSION_ID, added to the mock; empty: unset
        std::string currentDesktop = "XFCE";  // XDG_CURRENT_DESKTOP
        /// Commands replaced by recorders (each call appends one line, arguments separated
        /// by tabs, to the file that recorded() reads).
        std::vector<std::string> recordedCommands = {"xdg-open"};
    };

    X11Session();
    explicit X11Session(Options options);
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    /// The private directory (removed at the end).
    const std::string& dir() const { return dir_; }
    /// ":N"
    const std::string& display() const { return display_; }
    const std::string& systemBusAddress() const { return systemBus_; }

    /// The environment that programs under test get: DISPLAY, both buses, XDG_*, HOME, PATH.
    std::map<std::string, std::string> environment() const;

    /// Starts a program in the session's environment, with overrides (an empty value unsets
    /// the variable); its output goes to outputFile (or /dev/null). Stopped at the end.
    pid_t spawn(const std::vector<std::string>& argv,
                const std::map<std::string, std::string>& overrides = {},
                const std::string& outputFile = "");
    /// SIGTERM, then SIGKILL after a grace period; reaps the process.
    void stop(pid_t pid);
    /// Whether the spawned process has ended; its wait status goes to status.
    bool hasExited(pid_t pid, int* status = nullptr);

    /// Runs a program to its end in the session's environment; its standard output.
    std::string run(const std::vector<std::string>& argv, int* status = nullptr);
    /// xdotool with the arguments.
    std::string xdotool(const std::vector<std::string>& args);
    /// xprop with the arguments.
    std::string xprop(const std::vector<std::string>& args);

    /// The calls of a recorded command, one entry per call, arguments separated by tabs.
    std::vector<std::string> recorded(const std::string& command) const;
    /// The mock logind's recorded method calls, as dbus-send prints them.
    std::string logindCalls();

    /// Sends dbus-send calls (arguments after the object path) to one mocked object.
    using MockSender = std::function<std::string(std::vector<std::string>)>;
    /// A mocked service on the private session bus whose object has one method (code: what the
    /// method runs, empty to just record the call). Returns a sender to that object, or an
    /// empty function when the method could not be added.
    MockSender mockSessionService(const std::string& service, const std::string& object,
                                  const std::string& interface, const std::string& method,
                                  const std::string& signature, const std::string& code = "");

    /// A text file's content; empty when it does not exist.
    static std::string readFile(const std::string& path);
    /// Polls the condition until it holds or the timeout passes (generous: a busy machine is slow,
    /// and a wait that succeeds ends at once).
    static bool waitUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    pid_t startProcess(const std::vector<std::string>& argv,
                       const std::map<std::string, std::string>& env, int outputFd,
                       int extraFd = -1);
    std::string readAddress(int fd, const char* what);
    void startDisplay();
    bool acceptsClients(pid_t server);
    void settleKeyboard();
    void startWindowManager();
    /// Whether a started child still runs (reaps it when it has ended).
    static bool alive(pid_t pid);
    void writeRecorder(const std::string& command);
    void teardown();

    Options options_;
    std::string dir_;
    std::string display_;
    std::string sessionBus_;
    std::string systemBus_;
    std::vector<pid_t> infrastructure_;  // Xvfb, buses, mock, window manager: stopped last
    std::vector<pid_t> programs_;
};

/// Appends a line to a file at once (used by the helper programs to report).
void AppendLine(const std::string& path, const std::string& line);

}  // namespace brisko::testing
