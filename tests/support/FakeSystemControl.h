#pragma once

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "hotkeys/SystemControl.h"

namespace brisko::testing {

/// Thrown by the fake when the code under test terminates "its own" process.
struct OwnProcessEnded : std::runtime_error {
    OwnProcessEnded() : std::runtime_error("own process terminated") {}
};

/// Records every SystemControl call, in order, as one line such as
/// ShellExecuteA(7, "open", "C:\x.exe", "", "", 3), and answers as it is told.
class FakeSystemControl : public SystemControl {
public:
    // What the fake answers.
    std::optional<std::string> windowsDirectory = std::string("C:\\WINDOWS");
    OsVersionInfo version;  // platform 0 unless told
    bool versionFails = false;
    bool exitWindowsResult = true;
    bool snapshotAvailable = true;
    std::vector<ProcessEntry> processes;
    std::uint32_t ownProcessId = 0;        // terminating it throws OwnProcessEnded
    std::set<std::uint32_t> unterminable;  // OpenProcess fails for these
    bool openTokenResult = true;
    bool lookupPrivilegeResult = true;
    /// Decides RegisterHotKey's result; by default an id succeeds once until unregistered.
    std::function<bool(int id)> registerResult;

    // Inspection.
    const std::vector<std::string>& calls() const { return calls_; }
    std::vector<std::string> callsNamed(const std::string& name) const;
    void clear() { calls_.clear(); }
    const std::set<int>& registered() const { return registered_; }

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
    void record(std::string line) { calls_.push_back(std::move(line)); }

    std::vector<std::string> calls_;
    std::set<int> registered_;
    std::size_t nextProcess_ = 0;
};

/// Quotes a text the way the recorded lines do.
std::string Quoted(const std::string& text);

}  // namespace brisko::testing
