#include "LinuxSystemControl.h"

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdlib>
#include <cstring>

#include "DesktopSettings.h"
#include "Launcher.h"
#include "ProcessTable.h"
#include "SearchPrompt.h"
#include "SessionBackend.h"
#include "SessionControl.h"
#include "ShellOpen.h"

namespace brisko::desktop {

namespace {
constexpr std::intptr_t kShellOk = 42;
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kNoAssociation = 31;
constexpr unsigned kVirtualF1 = 112;
constexpr unsigned kVirtualF11 = 122;

bool OnPath(const std::string& program) {
    return !FindProgram(program).empty();
}

Desktop RunningDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    return CurrentDesktop(value ? value : "");
}
}  // namespace

LinuxSystemControl::LinuxSystemControl(std::unique_ptr<SessionBackend> backend,
                                       std::string dataDirectory)
    : backend_(std::move(backend)),
      dataDirectory_(std::move(dataDirectory)),
      launcher_(std::make_unique<Launcher>()),
      session_(std::make_unique<SessionControl>()),
      processes_(std::make_unique<ProcessTable>()) {
    backend_->setPressHandler([this](int id) {
        if (onHotkey_)
            onHotkey_(id);
    });
}

LinuxSystemControl::~LinuxSystemControl() {
    releaseAllGrabs();
}

bool LinuxSystemControl::hotkeysAvailable() const {
    return backend_->hotkeysAvailable();
}

void LinuxSystemControl::setHotkeyHandler(std::function<void(int id)> handler) {
    onHotkey_ = std::move(handler);
}

void LinuxSystemControl::setMessageBoxHandler(std::function<void(const std::string&)> handler) {
    onMessage_ = std::move(handler);
}

void LinuxSystemControl::setMainWindow(WindowHandle window) {
    mainWindow_ = window;
}

void LinuxSystemControl::releaseAllGrabs() {
    backend_->releaseAllKeys();
}

bool LinuxSystemControl::RegisterHotKey(WindowHandle, int id, unsigned modifiers,
                                        unsigned virtualKey) {
    // Only the bare keys F1..F11 are ever taken.
    if (modifiers != 0 || virtualKey < kVirtualF1 || virtualKey > kVirtualF11)
        return false;
    return backend_->grabKey(id, static_cast<int>(virtualKey - kVirtualF1) + 1);
}

bool LinuxSystemControl::UnregisterHotKey(WindowHandle, int id) {
    return backend_->ungrabKey(id);
}

bool LinuxSystemControl::startProgram(const std::string& path, const std::string& parameters,
                                      int showCommand) {
    std::vector<std::string> argv = {path};
    for (auto& part : SplitCommandLine(parameters))
        argv.push_back(std::move(part));
    const pid_t pid = launcher_->start(argv);
    if (pid <= 0)
        return false;
    backend_->applyShowCommand(pid, showCommand);
    return true;
}

bool LinuxSystemControl::openSettings(const std::string& applet) {
    auto command = SettingsCommand(applet, RunningDesktop(), OnPath);
    return command && launcher_->start(*command) > 0;
}

bool LinuxSystemControl::openFileSearch(const std::string& folder) {
    auto command = FileSearchCommand(RunningDesktop(), folder, OnPath);
    return command && launcher_->start(*command) > 0;
}

bool LinuxSystemControl::openApplicationMenu() {
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

bool LinuxSystemControl::searchTheWeb(const std::string& fileName) {
    const auto service = SearchServiceForFile(fileName);
    if (!service)
        return false;
    const auto term = AskSearchTerm(*service);
    return term && launcher_->openWithDesktop(SearchUrl(*service, *term));
}

std::intptr_t LinuxSystemControl::ShellExecuteA(WindowHandle, const std::string& verb,
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
            return backend_->toggleShowingDesktop() ? kShellOk : kNoAssociation;
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

std::intptr_t LinuxSystemControl::SendMessageA(WindowHandle, unsigned message,
                                               std::uintptr_t wParam, std::intptr_t) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_TASKLIST)
        openApplicationMenu();
    return 0;
}

unsigned LinuxSystemControl::WinExec(const std::string& commandLine, int) {
    if (auto applet = AppletOfCommandLine(commandLine))
        return openSettings(*applet) ? 33 : 2;
    const auto argv = SplitCommandLine(commandLine);
    return !argv.empty() && launcher_->start(argv) > 0 ? 33 : 2;
}

void LinuxSystemControl::keybd_event(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags,
                                     std::uintptr_t) {
    backend_->sendKey(virtualKey, (flags & KEYEVENTF_KEYUP) != 0);
}

void LinuxSystemControl::SetClipboardText(const std::string& text) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->clipboard()->setText(QString::fromUtf8(text));
    backend_->flush();
}

void LinuxSystemControl::MessageBoxA(const std::string& text) {
    if (onMessage_) {
        onMessage_(text);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMessageBox::information(nullptr, "Brisko", QString::fromUtf8(text));
}

bool LinuxSystemControl::ExitWindowsEx(unsigned flags, unsigned) {
    if (flags & (EWX_POWEROFF | EWX_SHUTDOWN))
        return session_->powerOff();
    if (flags & EWX_REBOOT)
        return session_->reboot();
    return session_->logOff();
}

unsigned LinuxSystemControl::GetWindowsDirectoryA(char* buffer, unsigned size) {
    const std::string& dir = dataDirectory_;
    if (dir.empty())
        return 0;
    // As the system call does: too small a buffer gets the size it needs, NUL included.
    if (!buffer || size <= dir.size())
        return static_cast<unsigned>(dir.size() + 1);
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return static_cast<unsigned>(dir.size());
}

bool LinuxSystemControl::GetVersionExA(OsVersionInfo& info) {
    info.platformId = kPlatformLinux;
    info.majorVersion = 0;
    info.minorVersion = 0;
    info.buildNumber = 0;
    info.csdVersion.clear();
    return true;
}

Handle LinuxSystemControl::GetCurrentProcess() {
    return static_cast<Handle>(::getpid());
}

// The privilege steps belong to the Windows NT family only; the engine skips them here.
bool LinuxSystemControl::OpenProcessToken(Handle, std::uint32_t, Handle& token) {
    token = 0;
    return false;
}

bool LinuxSystemControl::LookupPrivilegeValueA(const char*, const std::string&, Luid&) {
    return false;
}

bool LinuxSystemControl::AdjustTokenPrivileges(Handle, bool, const TokenPrivileges&, std::uint32_t,
                                               TokenPrivileges*, std::uint32_t*) {
    return false;
}

bool LinuxSystemControl::CloseHandle(Handle handle) {
    return processes_->close(handle);
}

Handle LinuxSystemControl::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t) {
    if (!(flags & TH32CS_SNAPPROCESS))
        return kInvalidHandle;
    return processes_->createSnapshot();
}

bool LinuxSystemControl::Process32First(Handle snapshot, ProcessEntry& entry) {
    return processes_->next(snapshot, entry, true);
}

bool LinuxSystemControl::Process32Next(Handle snapshot, ProcessEntry& entry) {
    return processes_->next(snapshot, entry, false);
}

Handle LinuxSystemControl::OpenProcess(std::uint32_t, bool, std::uint32_t processId) {
    return processes_->open(static_cast<pid_t>(processId));
}

bool LinuxSystemControl::TerminateProcess(Handle process, unsigned exitCode) {
    backend_->flush();
    return processes_->terminate(process, exitCode);
}

}  // namespace brisko::desktop
