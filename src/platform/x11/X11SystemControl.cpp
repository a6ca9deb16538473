#include "X11SystemControl.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMessageBox>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <regex>

#include "KeyGrabber.h"
#include "Keymap.h"
#include "SyntheticKeys.h"
#include "WindowStates.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/DesktopSettings.h"
#include "platform/linux/Launcher.h"
#include "platform/linux/ProcessTable.h"
#include "platform/linux/SearchPrompt.h"
#include "platform/linux/SessionControl.h"

namespace brisko::x11 {

using namespace brisko::desktop;

namespace {
constexpr std::intptr_t kShellOk = 42;
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kNoAssociation = 31;
constexpr unsigned kVirtualF1 = 112;
constexpr unsigned kVirtualF11 = 122;
constexpr std::uint32_t kKeysymF1 = 0xffbe;

std::string TrimSlashes(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool OnPath(const std::string& program) {
    return !FindProgram(program).empty();
}

Desktop RunningDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    return CurrentDesktop(value ? value : "");
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}
}  // namespace

std::string NativePath(const std::string& file) {
    if (file.empty() || file.front() != '/' || file.find('\\') == std::string::npos || Exists(file))
        return file;
    std::string native = file;
    for (char& c : native)
        if (c == '\\')
            c = '/';
    return native;
}

std::string AddressForOpener(const std::string& address) {
    std::string start = address.substr(0, 4);
    for (char& c : start)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return start == "www." ? "http://" + address : address;
}

OpenKind ClassifyOpen(const std::string& file, const std::string& dataDirectory) {
    if (file.empty())
        return OpenKind::Missing;
    const auto cut = file.find_last_of("\\/");
    if (cut != std::string::npos) {
        const std::string name = file.substr(cut + 1);
        if (TrimSlashes(file.substr(0, cut)) == TrimSlashes(dataDirectory)) {
            if (name == "Desktop anzeigen.scf")
                return OpenKind::ShowDesktop;
            if (name == "Google.exe")
                return OpenKind::GoogleSearch;
            if (name == "EBay.exe")
                return OpenKind::EbaySearch;
        }
    }
    std::string lower = file;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "control.exe")
        return OpenKind::ControlPanel;
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]+:.*");
    if (std::regex_match(file, scheme) || lower.rfind("www.", 0) == 0)
        return OpenKind::Address;
    if (IsDesktopEntryName(file))
        return OpenKind::Application;
    if (cut == std::string::npos && !Exists(file))
        return OnPath(file) ? OpenKind::Program : OpenKind::Missing;
    if (IsExecutableFile(file))
        return OpenKind::Program;
    return Exists(file) ? OpenKind::Document : OpenKind::Missing;
}

X11SystemControl::X11SystemControl(std::string dataDirectory)
    : dataDirectory_(std::move(dataDirectory)),
      launcher_(std::make_unique<Launcher>()),
      session_(std::make_unique<SessionControl>()),
      processes_(std::make_unique<ProcessTable>()) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            connection_ = x11->connection();
    }
    if (!connection_)
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    keymap_ = std::make_unique<Keymap>(connection_);
    grabber_ = std::make_unique<KeyGrabber>(connection_, root_, *keymap_);
    grabber_->setPressHandler([this](int id) {
        if (onHotkey_)
            onHotkey_(id);
    });
    keys_ = std::make_unique<SyntheticKeys>(connection_, *keymap_);
    windows_ = std::make_unique<WindowStates>(connection_, root_);
}

X11SystemControl::~X11SystemControl() {
    releaseAllGrabs();
}

bool X11SystemControl::hotkeysAvailable() const {
    return grabber_ != nullptr;
}

void X11SystemControl::setHotkeyHandler(std::function<void(int id)> handler) {
    onHotkey_ = std::move(handler);
}

void X11SystemControl::setMessageBoxHandler(std::function<void(const std::string&)> handler) {
    onMessage_ = std::move(handler);
}

void X11SystemControl::setMainWindow(WindowHandle window) {
    mainWindow_ = window;
}

void X11SystemControl::releaseAllGrabs() {
    if (grabber_)
        grabber_->releaseAll();
}

bool X11SystemControl::RegisterHotKey(WindowHandle, int id, unsigned modifiers,
                                      unsigned virtualKey) {
    // Only the bare keys F1..F11 are ever taken.
    if (!grabber_ || modifiers != 0 || virtualKey < kVirtualF1 || virtualKey > kVirtualF11)
        return false;
    return grabber_->grab(id, kKeysymF1 + (virtualKey - kVirtualF1));
}

bool X11SystemControl::UnregisterHotKey(WindowHandle, int id) {
    return grabber_ && grabber_->ungrab(id);
}

bool X11SystemControl::startProgram(const std::string& path, const std::string& parameters,
                                    int showCommand) {
    std::vector<std::string> argv = {path};
    for (auto& part : SplitCommandLine(parameters))
        argv.push_back(std::move(part));
    const pid_t pid = launcher_->start(argv);
    if (pid <= 0)
        return false;
    if (windows_)
        windows_->applyWhenMapped(pid, showCommand);
    return true;
}

bool X11SystemControl::startApplication(const std::string& entry, int showCommand) {
    const auto application = DesktopEntry::Load(entry);
    const auto started = application ? application->launch(NewStartupId()) : std::nullopt;
    if (!started)
        return false;
    if (started->pid > 0)
        launcher_->reapWhenDone(started->pid);
    if (windows_)
        windows_->applyWhenMapped(*started, showCommand);
    return true;
}

bool X11SystemControl::openSettings(const std::string& applet) {
    auto command = SettingsCommand(applet, RunningDesktop(), OnPath);
    return command && launcher_->start(*command) > 0;
}

bool X11SystemControl::openFileSearch(const std::string& folder) {
    auto command = FileSearchCommand(RunningDesktop(), folder, OnPath);
    return command && launcher_->start(*command) > 0;
}

bool X11SystemControl::openApplicationMenu() {
    const Desktop desktop = RunningDesktop();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (desktop == Desktop::Kde && bus.isConnected()) {
        auto call = QDBusMessage::createMethodCall("org.kde.plasmashell", "/PlasmaShell",
                                                   "org.kde.PlasmaShell", "activateLauncherMenu");
        return bus.call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
    }
    if (desktop == Desktop::Gnome && bus.isConnected()) {
        auto call = QDBusMessage::createMethodCall("org.gnome.Shell", "/org/gnome/Shell",
                                                   "org.freedesktop.DBus.Properties", "Set");
        call << QString("org.gnome.Shell") << QString("OverviewActive")
             << QVariant::fromValue(QDBusVariant(true));
        return bus.call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
    }
    auto command = ApplicationMenuCommand(desktop, OnPath);
    return command && launcher_->start(*command) > 0;
}

bool X11SystemControl::searchTheWeb(const std::string& fileName) {
    const auto service = SearchServiceForFile(fileName);
    if (!service)
        return false;
    const auto term = AskSearchTerm(*service);
    return term && launcher_->openWithDesktop(SearchUrl(*service, *term));
}

std::intptr_t X11SystemControl::ShellExecuteA(WindowHandle, const std::string& verb,
                                              const std::string& file,
                                              const std::string& parameters, const std::string&,
                                              int showCommand) {
    if (verb == "find") {
        // A drive of the other system stands for the user's own files.
        std::string folder = file;
        if (folder.size() >= 2 && folder[1] == ':') {
            const char* home = std::getenv("HOME");
            folder = home ? home : "/";
        }
        return openFileSearch(folder) ? kShellOk : kNoAssociation;
    }
    bool ok = false;
    const std::string native = NativePath(file);
    switch (ClassifyOpen(native, dataDirectory_)) {
        case OpenKind::Missing:
            return kFileNotFound;
        case OpenKind::ShowDesktop:
            if (!windows_)
                return kNoAssociation;
            windows_->toggleShowingDesktop();
            return kShellOk;
        case OpenKind::GoogleSearch:
            ok = searchTheWeb("Google.exe");
            break;
        case OpenKind::EbaySearch:
            ok = searchTheWeb("EBay.exe");
            break;
        case OpenKind::ControlPanel:
            ok = openSettings("control.exe");
            break;
        case OpenKind::Address:
            ok = launcher_->openWithDesktop(AddressForOpener(native));
            break;
        case OpenKind::Application:
            // An entry that cannot be launched is a missing program, never a document.
            return startApplication(native, showCommand) ? kShellOk : kFileNotFound;
        case OpenKind::Program:
            ok = startProgram(native, parameters, showCommand);
            // An executable file that the kernel cannot run (a script without "#!") is a
            // document after all.
            if (!ok && native.find('/') != std::string::npos)
                ok = launcher_->openWithDesktop(native);
            break;
        case OpenKind::Document:
            ok = launcher_->openWithDesktop(native);
            break;
    }
    return ok ? kShellOk : kNoAssociation;
}

std::intptr_t X11SystemControl::SendMessageA(WindowHandle, unsigned message, std::uintptr_t wParam,
                                             std::intptr_t) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_TASKLIST)
        openApplicationMenu();
    return 0;
}

unsigned X11SystemControl::WinExec(const std::string& commandLine, int) {
    if (auto applet = AppletOfCommandLine(commandLine))
        return openSettings(*applet) ? 33 : 2;
    const auto argv = SplitCommandLine(commandLine);
    return !argv.empty() && launcher_->start(argv) > 0 ? 33 : 2;
}

void X11SystemControl::keybd_event(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags,
                                   std::uintptr_t) {
    if (keys_)
        keys_->send(virtualKey, (flags & KEYEVENTF_KEYUP) != 0);
}

void X11SystemControl::SetClipboardText(const std::string& text) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->clipboard()->setText(QString::fromUtf8(text));
    if (connection_)
        xcb_flush(connection_);
}

void X11SystemControl::MessageBoxA(const std::string& text) {
    if (onMessage_) {
        onMessage_(text);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMessageBox::information(nullptr, "Brisko", QString::fromUtf8(text));
}

bool X11SystemControl::ExitWindowsEx(unsigned flags, unsigned) {
    if (flags & (EWX_POWEROFF | EWX_SHUTDOWN))
        return session_->powerOff();
    if (flags & EWX_REBOOT)
        return session_->reboot();
    return session_->logOff();
}

unsigned X11SystemControl::GetWindowsDirectoryA(char* buffer, unsigned size) {
    const std::string& dir = dataDirectory_;
    if (dir.empty())
        return 0;
    // As the system call does: too small a buffer gets the size it needs, NUL included.
    if (!buffer || size <= dir.size())
        return static_cast<unsigned>(dir.size() + 1);
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return static_cast<unsigned>(dir.size());
}

bool X11SystemControl::GetVersionExA(OsVersionInfo& info) {
    info.platformId = kPlatformLinux;
    info.majorVersion = 0;
    info.minorVersion = 0;
    info.buildNumber = 0;
    info.csdVersion.clear();
    return true;
}

Handle X11SystemControl::GetCurrentProcess() {
    return static_cast<Handle>(::getpid());
}

// The privilege steps belong to the Windows NT family only; the engine skips them here.
bool X11SystemControl::OpenProcessToken(Handle, std::uint32_t, Handle& token) {
    token = 0;
    return false;
}

bool X11SystemControl::LookupPrivilegeValueA(const char*, const std::string&, Luid&) {
    return false;
}

bool X11SystemControl::AdjustTokenPrivileges(Handle, bool, const TokenPrivileges&, std::uint32_t,
                                             TokenPrivileges*, std::uint32_t*) {
    return false;
}

bool X11SystemControl::CloseHandle(Handle handle) {
    return processes_->close(handle);
}

Handle X11SystemControl::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t) {
    if (!(flags & TH32CS_SNAPPROCESS))
        return kInvalidHandle;
    return processes_->createSnapshot();
}

bool X11SystemControl::Process32First(Handle snapshot, ProcessEntry& entry) {
    return processes_->next(snapshot, entry, true);
}

bool X11SystemControl::Process32Next(Handle snapshot, ProcessEntry& entry) {
    return processes_->next(snapshot, entry, false);
}

Handle X11SystemControl::OpenProcess(std::uint32_t, bool, std::uint32_t processId) {
    return processes_->open(static_cast<pid_t>(processId));
}

bool X11SystemControl::TerminateProcess(Handle process, unsigned exitCode) {
    if (connection_)
        xcb_flush(connection_);
    return processes_->terminate(process, exitCode);
}

}  // namespace brisko::x11
