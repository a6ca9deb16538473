#include "LinuxSystemControl.h"

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

#include "BusCall.h"
#include "DesktopEntry.h"
#include "DesktopSettings.h"
#include "Launcher.h"
#include "ProcessTable.h"
#include "SearchPrompt.h"
#include "SessionBackend.h"
#include "SessionControl.h"
#include "ShellOpen.h"
#include "dialogs/UserPrompts.h"
#include "hotkeys/ActionNames.h"

namespace brisko::desktop {

namespace {
constexpr int kShellCallMs = 2000;  // the desktop shell's answer to opening its menu
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

void LinuxSystemControl::releaseAllGrabs() {
    backend_->releaseAllKeys();
}

KeyState LinuxSystemControl::keyState(int slot) const {
    return backend_->keyState(slot);
}

void LinuxSystemControl::describeKey(int slot, const std::string& description) {
    backend_->describeKey(slot, description);
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
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A launcher script hands its startup id on to the program that opens the window.
    const StartupId startupId = backend_->beginLaunch({name, name, {}, {}, {}});
    const pid_t pid = launcher_->start(argv, StartupEnvironment(startupId));
    if (pid <= 0) {
        backend_->cancelLaunch(startupId);
        return false;
    }
    backend_->applyShowCommandToApplication({pid, startupId.value, {name}}, showCommand);
    return true;
}

bool LinuxSystemControl::startApplication(const std::string& entry, int showCommand) {
    const auto application = DesktopEntry::Load(entry);
    if (!application)
        return false;
    const StartupId startupId =
        backend_->beginLaunch({application->name(), application->binary(), application->iconName(),
                               application->startupWindowClass(), application->path()});
    const auto started = application->launch(startupId);
    if (!started) {
        backend_->cancelLaunch(startupId);
        return false;
    }
    if (started->pid > 0)
        launcher_->reapWhenDone(started->pid);
    backend_->applyShowCommandToApplication(*started, showCommand);
    return true;
}

bool LinuxSystemControl::openWithDesktop(const std::string& target) {
    return launcher_->openWithDesktop(target, StartupEnvironment(backend_->activationToken()));
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
        return CallWithoutBlocking(bus, call, kShellCallMs).type() == QDBusMessage::ReplyMessage;
    }
    if (desktop == Desktop::Gnome && bus.isConnected()) {
        auto call = QDBusMessage::createMethodCall("org.gnome.Shell", "/org/gnome/Shell",
                                                   "org.freedesktop.DBus.Properties", "Set");
        call << QString("org.gnome.Shell") << QString("OverviewActive")
             << QVariant::fromValue(QDBusVariant(true));
        return CallWithoutBlocking(bus, call, kShellCallMs).type() == QDBusMessage::ReplyMessage;
    }
    auto command = ApplicationMenuCommand(desktop, OnPath);
    return command && launcher_->start(*command) > 0;
}

bool LinuxSystemControl::searchTheWeb(const std::string& fileName) {
    const auto service = SearchServiceForFile(fileName);
    if (!service)
        return false;
    if (!prompts_)
        return false;
    const auto answer = prompts_->InputText(QString::fromUtf8(SearchPromptTitle(*service)),
                                            QString::fromUtf8(kSearchPrompt), QString());
    const std::string term = answer ? answer->trimmed().toStdString() : std::string();
    return !term.empty() && openWithDesktop(SearchUrl(*service, term));
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
            if (backend_->toggleShowingDesktop())
                return kShellOk;
            MessageBoxA("Dieser Desktop lässt Programme nicht alle Fenster minimieren.");
            return kNoAssociation;
        case OpenKind::GoogleSearch:
            ok = searchTheWeb(action_names::kGoogleSearch);
            break;
        case OpenKind::EbaySearch:
            ok = searchTheWeb(action_names::kEbaySearch);
            break;
        case OpenKind::ControlPanel:
            ok = openSettings(action_names::kControlPanel);
            break;
        case OpenKind::Address:
            ok = openWithDesktop(AddressForOpener(native));
            break;
        case OpenKind::Application:
            // An entry that cannot be launched is a missing program, never a document.
            return startApplication(native, showCommand) ? kShellOk : kFileNotFound;
        case OpenKind::Program:
            ok = startProgram(native, parameters, showCommand);
            // An executable file that the kernel cannot run (a script without "#!") is a
            // document after all.
            if (!ok && native.find('/') != std::string::npos)
                ok = openWithDesktop(native);
            break;
        case OpenKind::Document:
            ok = openWithDesktop(native);
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
    const bool keyUp = (flags & KEYEVENTF_KEYUP) != 0;
    // An insert is the clipboard followed by Ctrl+V; where the backend types the text instead,
    // that Ctrl+V is its cue and never reaches the focused program.
    if (!pasteText_.empty() && (virtualKey == VK_CONTROL || virtualKey == 'V')) {
        if (virtualKey == 'V' && keyUp)
            pasteText_.clear();
        return;
    }
    backend_->sendKey(virtualKey, keyUp);
}

void LinuxSystemControl::SetClipboardText(const std::string& text) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->clipboard()->setText(QString::fromUtf8(text));
    backend_->flush();
    pasteText_.clear();
    if (!text.empty() && backend_->typeText(text))
        pasteText_ = text;
}

void LinuxSystemControl::MessageBoxA(const std::string& text) {
    if (prompts_)
        prompts_->ShowMessage(QString::fromUtf8(text));
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
