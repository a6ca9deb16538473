#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <string>

#include "hotkeys/SystemControl.h"

namespace brisko::desktop {
class Launcher;
class ProcessTable;
class SessionControl;
}  // namespace brisko::desktop

namespace brisko::x11 {

class KeyGrabber;
class Keymap;
class SyntheticKeys;
class WindowStates;

/// The platform value GetVersionExA reports: no Windows platform, so the engine's version name
/// is "Unknown" and the Windows privilege steps are skipped.
inline constexpr std::uint32_t kPlatformLinux = 0x4c58;

/// SystemControl on an X11 desktop: key grabs and XTest on Qt's own xcb connection, EWMH for
/// window states, logind and the session manager over D-Bus, /proc for processes, and the
/// desktop's opener and settings programs.
class X11SystemControl : public SystemControl {
public:
    /// Uses Qt's xcb connection when there is one (a QGuiApplication on the xcb platform).
    /// dataDirectory stands for the Windows directory, where the action files are found.
    explicit X11SystemControl(std::string dataDirectory);
    ~X11SystemControl() override;

    /// False without an X display (offscreen platform, no QGuiApplication).
    bool hotkeysAvailable() const;
    /// Called with the hotkey id (254 + n) for every press of a registered key.
    void setHotkeyHandler(std::function<void(int id)> handler);
    /// Shows MessageBoxA's text; without one a plain Qt message box titled "Brisko" is shown.
    void setMessageBoxHandler(std::function<void(const std::string&)> handler);
    /// The main window's handle (any non-zero value); hotkeys are registered for it.
    void setMainWindow(WindowHandle window);
    /// Releases every key; called when the main window is destroyed.
    void releaseAllGrabs();

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
    bool openSettings(const std::string& applet);
    bool openApplicationMenu();
    bool openFileSearch(const std::string& folder);
    bool searchTheWeb(const std::string& fileName);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    WindowHandle mainWindow_ = 0;
    std::function<void(int)> onHotkey_;
    std::function<void(const std::string&)> onMessage_;
    std::string dataDirectory_;
    std::unique_ptr<Keymap> keymap_;
    std::unique_ptr<KeyGrabber> grabber_;
    std::unique_ptr<SyntheticKeys> keys_;
    std::unique_ptr<WindowStates> windows_;
    std::unique_ptr<desktop::Launcher> launcher_;
    std::unique_ptr<desktop::SessionControl> session_;
    std::unique_ptr<desktop::ProcessTable> processes_;
};

/// How ShellExecuteA treats a file: a built-in desktop action, an address, a program, or a
/// document for the desktop's opener.
enum class OpenKind {
    ShowDesktop,
    GoogleSearch,
    EbaySearch,
    ControlPanel,
    Address,
    Application,  // a desktop entry
    Program,
    Document,
    Missing
};

/// The engine joins the Windows directory and a file name with a backslash: an absolute path
/// that does not exist as written is tried with slashes for its backslashes.
std::string NativePath(const std::string& file);

/// What the desktop's opener is given for an address: "www." addresses (any case) get
/// "http://", as a browser would add it.
std::string AddressForOpener(const std::string& address);

/// Classifies a file for the "open" verb; dataDirectory is where the built-in files live.
OpenKind ClassifyOpen(const std::string& file, const std::string& dataDirectory);

}  // namespace brisko::x11
