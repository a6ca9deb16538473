#pragma once

#include <cstdint>
#include <string>

namespace brisko {

/// Opaque system handles. 0 is "no handle"; the backend decides what the numbers mean.
using WindowHandle = std::uintptr_t;
using Handle = std::uintptr_t;
inline constexpr Handle kInvalidHandle = ~Handle{0};

// Constants of the operations, with their system values.
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_HOTKEY = 0x0312;
inline constexpr std::uintptr_t SC_TASKLIST = 0xF130;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr std::uint32_t KEYEVENTF_KEYUP = 2;
inline constexpr std::uint8_t VK_CONTROL = 17;
inline constexpr std::uint8_t VK_MENU = 18;
inline constexpr std::uint8_t VK_F4 = 115;
inline constexpr unsigned EWX_LOGOFF = 0;
inline constexpr unsigned EWX_SHUTDOWN = 1;
inline constexpr unsigned EWX_REBOOT = 2;
inline constexpr unsigned EWX_POWEROFF = 8;
inline constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;
inline constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x20;
inline constexpr std::uint32_t TOKEN_QUERY = 0x08;
inline constexpr std::uint32_t SE_PRIVILEGE_ENABLED = 2;
inline constexpr std::uint32_t TH32CS_SNAPPROCESS = 2;
inline constexpr std::uint32_t PROCESS_TERMINATE = 1;
inline constexpr unsigned kMaxPath = 260;

/// The version record filled by GetVersionExA.
struct OsVersionInfo {
    std::uint32_t size = 148;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string csdVersion;  // service-pack text
};

/// A locally unique id, as LookupPrivilegeValueA returns it.
struct Luid {
    std::uint32_t lowPart = 0;
    std::int32_t highPart = 0;
};

/// A privilege set with one entry, as AdjustTokenPrivileges takes it.
struct TokenPrivileges {
    std::uint32_t privilegeCount = 0;
    Luid luid;
    std::uint32_t attributes = 0;
};

/// One entry of the process snapshot.
struct ProcessEntry {
    std::uint32_t size = 0;
    std::uint32_t processId = 0;
    std::string exeFile;  // a bare file name or a full path, as the system reports it
};

/// The named platform operations through which the hotkey engine acts on the system.
/// Every operation keeps its Win32 name and arguments; each backend gives it the meaning that
/// the engine relies on. Results are returned as the system returns them; callers decide
/// whether to examine them.
class SystemControl {
public:
    virtual ~SystemControl() = default;

    /// Takes the bare key for the window; a press then arrives as WM_HOTKEY with the id.
    /// Fails when the id is already registered or another client holds the key.
    virtual bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers,
                                unsigned virtualKey) = 0;
    /// Releases the key registered under the id; fails when none is.
    virtual bool UnregisterHotKey(WindowHandle window, int id) = 0;

    /// Opens a file, program, folder or address with a verb ("open", "find") and a show
    /// command. Returns a value above 32 on success.
    virtual std::intptr_t ShellExecuteA(WindowHandle window, const std::string& verb,
                                        const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showCommand) = 0;
    /// Sends a message to the window and returns its result (WM_SYSCOMMAND with SC_TASKLIST
    /// opens the start menu).
    virtual std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;
    /// Starts a command line with a show command. Returns a value above 31 on success.
    virtual unsigned WinExec(const std::string& commandLine, int showCommand) = 0;

    /// One synthetic key-down (flags 0) or key-up (KEYEVENTF_KEYUP) into the system's input.
    virtual void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                             std::uintptr_t extraInfo) = 0;
    /// Puts plain text (UTF-8, line breaks included) on the clipboard.
    virtual void SetClipboardText(const std::string& text) = 0;
    /// Shows a modal box with the application's title, the text and one OK button.
    virtual void MessageBoxA(const std::string& text) = 0;

    /// Asks the system to log off, shut down, power off or restart. Non-zero when accepted.
    virtual bool ExitWindowsEx(unsigned flags, unsigned reason) = 0;
    /// Copies the system directory into the buffer; returns its length, 0 on failure.
    virtual unsigned GetWindowsDirectoryA(char* buffer, unsigned size) = 0;
    /// Fills the version record; false on failure.
    virtual bool GetVersionExA(OsVersionInfo& info) = 0;

    virtual Handle GetCurrentProcess() = 0;
    virtual bool OpenProcessToken(Handle process, std::uint32_t desiredAccess, Handle& token) = 0;
    virtual bool LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                       Luid& luid) = 0;
    virtual bool AdjustTokenPrivileges(Handle token, bool disableAll,
                                       const TokenPrivileges& newState, std::uint32_t bufferLength,
                                       TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) = 0;
    virtual bool CloseHandle(Handle handle) = 0;

    /// The process snapshot. Returns kInvalidHandle when the snapshot functions cannot be
    /// found on this system (they are looked up once per run).
    virtual Handle CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) = 0;
    virtual bool Process32First(Handle snapshot, ProcessEntry& entry) = 0;
    virtual bool Process32Next(Handle snapshot, ProcessEntry& entry) = 0;
    virtual Handle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                               std::uint32_t processId) = 0;
    /// Ends the process. Ending the caller's own process does not return.
    virtual bool TerminateProcess(Handle process, unsigned exitCode) = 0;
};

}  // namespace brisko
