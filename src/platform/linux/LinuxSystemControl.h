#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hotkeys/KeyBindings.h"
#include "hotkeys/SystemControl.h"

namespace brisko {
class UserPrompts;
}

namespace brisko::desktop {

class Launcher;
class ProcessTable;
class SessionBackend;
class SessionControl;

/// The platform value GetVersionExA reports: no Windows platform, so the engine's version name
/// is "Unknown" and the Windows privilege steps are skipped.
inline constexpr std::uint32_t kPlatformLinux = 0x4c58;

/// SystemControl in any Linux desktop session: programs and pages through the launcher and the
/// desktop's opener, logind and the session manager over D-Bus, /proc for processes, the
/// desktop's settings programs; keys, synthetic keys and window states through the session's
/// backend (X11 or the portals), chosen once at start.
class LinuxSystemControl : public SystemControl, public KeyBindings {
public:
    /// dataDirectory is where the built-in shell files and the help live.
    LinuxSystemControl(std::unique_ptr<SessionBackend> backend, std::string dataDirectory);
    ~LinuxSystemControl() override;

    /// False when the session lets Brisko take no keys (no display, no portal).
    bool hotkeysAvailable() const;
    /// Called with the hotkey id (254 + n) for every press of a registered key.
    void setHotkeyHandler(std::function<void(int id)> handler);
    /// The program's prompts, which show MessageBoxA's text and ask for search terms. The
    /// platform layer opens no windows of its own: without prompts a message is not shown and
    /// a search is not started.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts; }
    /// Releases every key; called when the main window is destroyed.
    void releaseAllGrabs();
    /// The session backend, for what only it can say.
    SessionBackend& backend() { return *backend_; }

    KeyState keyState(int slot) const override;
    void describeKey(int slot, const std::string& description) override;

    bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers,
                        unsigned virtualKey) override;
    bool UnregisterHotKey(WindowHandle window, int id) override;
    std::intptr_t ShellExecuteA(WindowHandle window, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::string& directory, int showCommand) override;
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    unsigned WinExec(const std::string& commandLine, int showCommand) override;
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void SetClipboardText(const std::string& text) override;
    void MessageBoxA(const std::string& text) override;
    bool ExitWindowsEx(unsigned flags, unsigned reason) override;
    unsigned GetWindowsDirectoryA(char* buffer, unsigned size) override;
    bool GetVersionExA(OsVersionInfo& info) override;
    Handle GetCurrentProcess() override;
    bool OpenProcessToken(Handle process, std::uint32_t desiredAccess, Handle& token) override;
    bool LookupPrivilegeValueA(const char* systemName, const std::string& name,
                               Luid& luid) override;
    bool AdjustTokenPrivileges(Handle token, bool disableAll, const TokenPrivileges& newState,
                               std::uint32_t bufferLength, TokenPrivileges* previousState,
                               std::uint32_t* returnLength) override;
    bool CloseHandle(Handle handle) override;
    Handle CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) override;
    bool Process32First(Handle snapshot, ProcessEntry& entry) override;
    bool Process32Next(Handle snapshot, ProcessEntry& entry) override;
    Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                       std::uint32_t processId) override;
    bool TerminateProcess(Handle process, unsigned exitCode) override;

private:
    bool startProgram(const std::string& path, const std::string& parameters, int showCommand);
    bool startApplication(const std::string& entry, int showCommand);
    bool openWithDesktop(const std::string& target);
    bool openSettings(const std::string& applet);
    bool openApplicationMenu();
    bool openFileSearch(const std::string& folder);
    bool searchTheWeb(const std::string& fileName);

    std::unique_ptr<SessionBackend> backend_;
    std::string dataDirectory_;
    std::function<void(int)> onHotkey_;
    UserPrompts* prompts_ = nullptr;
    std::string pasteText_;  // the text of an insert whose Ctrl+V the backend types instead
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<SessionControl> session_;
    std::unique_ptr<ProcessTable> processes_;
};

}  // namespace brisko::desktop
