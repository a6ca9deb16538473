#include "FakeSystemControl.h"

#include <cstring>

namespace brisko::testing {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

namespace {
std::string Args() {
    return "";
}
template <typename T>
std::string Arg(const T& v) {
    if constexpr (std::is_convertible_v<T, std::string>)
        return Quoted(v);
    else
        return std::to_string(v);
}
template <typename T, typename... Rest>
std::string Args(const T& first, const Rest&... rest) {
    std::string s = Arg(first);
    ((s += ", " + Arg(rest)), ...);
    return s;
}
template <typename... A>
std::string Line(const std::string& name, const A&... args) {
    return name + "(" + Args(args...) + ")";
}
constexpr Handle kProcessHandleBase = 5000;
constexpr Handle kSnapshotHandle = 900;
constexpr Handle kTokenHandle = 800;
}  // namespace

std::vector<std::string> FakeSystemControl::callsNamed(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& c : calls_)
        if (c.rfind(name + "(", 0) == 0)
            out.push_back(c);
    return out;
}

bool FakeSystemControl::RegisterHotKey(WindowHandle window, int id, unsigned modifiers,
                                       unsigned virtualKey) {
    record(Line("RegisterHotKey", window, id, modifiers, virtualKey));
    if (registerResult) {
        bool ok = registerResult(id);
        if (ok)
            registered_.insert(id);
        return ok;
    }
    return registered_.insert(id).second;
}

bool FakeSystemControl::UnregisterHotKey(WindowHandle window, int id) {
    record(Line("UnregisterHotKey", window, id));
    return registered_.erase(id) > 0;
}

std::intptr_t FakeSystemControl::ShellExecuteA(WindowHandle window, const std::string& verb,
                                               const std::string& file,
                                               const std::string& parameters,
                                               const std::string& directory, int showCommand) {
    record(Line("ShellExecuteA", window, verb, file, parameters, directory, showCommand));
    return 42;
}

std::intptr_t FakeSystemControl::SendMessageA(WindowHandle window, unsigned message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
    record(Line("SendMessageA", window, message, wParam, lParam));
    return 0;
}

unsigned FakeSystemControl::WinExec(const std::string& commandLine, int showCommand) {
    record(Line("WinExec", commandLine, showCommand));
    return 33;
}

void FakeSystemControl::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode,
                                    std::uint32_t flags, std::uintptr_t extraInfo) {
    record(Line("keybd_event", int(virtualKey), int(scanCode), flags, extraInfo));
}

void FakeSystemControl::SetClipboardText(const std::string& text) {
    record(Line("SetClipboardText", text));
}

void FakeSystemControl::MessageBoxA(const std::string& text) {
    record(Line("MessageBoxA", text));
}

bool FakeSystemControl::ExitWindowsEx(unsigned flags, unsigned reason) {
    record(Line("ExitWindowsEx", flags, reason));
    return exitWindowsResult;
}

unsigned FakeSystemControl::GetWindowsDirectoryA(char* buffer, unsigned size) {
    record(Line("GetWindowsDirectoryA", size));
    if (!windowsDirectory || windowsDirectory->size() + 1 > size)
        return 0;
    std::memcpy(buffer, windowsDirectory->c_str(), windowsDirectory->size() + 1);
    return static_cast<unsigned>(windowsDirectory->size());
}

bool FakeSystemControl::GetVersionExA(OsVersionInfo& info) {
    record(Line("GetVersionExA", info.size));
    if (versionFails)
        return false;
    info = version;
    return true;
}

Handle FakeSystemControl::GetCurrentProcess() {
    record(Line("GetCurrentProcess"));
    return ~Handle{1};  // the pseudo handle -1
}

bool FakeSystemControl::OpenProcessToken(Handle process, std::uint32_t desiredAccess,
                                         Handle& token) {
    record(Line("OpenProcessToken", process == ~Handle{1} ? -1 : long(process), desiredAccess));
    if (openTokenResult)
        token = kTokenHandle;
    return openTokenResult;
}

bool FakeSystemControl::LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                              Luid& luid) {
    record(Line("LookupPrivilegeValueA", systemName ? systemName : "<null>", name));
    luid = {19, 0};
    return lookupPrivilegeResult;
}

bool FakeSystemControl::AdjustTokenPrivileges(Handle token, bool disableAll,
                                              const TokenPrivileges& s, std::uint32_t bufferLength,
                                              TokenPrivileges*, std::uint32_t*) {
    record(Line("AdjustTokenPrivileges", token, int(disableAll), s.privilegeCount, s.luid.lowPart,
                s.attributes, bufferLength));
    return true;
}

bool FakeSystemControl::CloseHandle(Handle handle) {
    record(Line("CloseHandle", handle));
    return true;
}

Handle FakeSystemControl::CreateToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) {
    record(Line("CreateToolhelp32Snapshot", flags, processId));
    if (!snapshotAvailable)
        return kInvalidHandle;
    nextProcess_ = 0;
    return kSnapshotHandle;
}

bool FakeSystemControl::Process32First(Handle snapshot, ProcessEntry& entry) {
    record(Line("Process32First", snapshot, entry.size));
    nextProcess_ = 0;
    return Process32Next(snapshot, entry);
}

bool FakeSystemControl::Process32Next(Handle snapshot, ProcessEntry& entry) {
    if (snapshot != kSnapshotHandle || nextProcess_ >= processes.size())
        return false;
    const std::uint32_t size = entry.size;
    entry = processes[nextProcess_++];
    entry.size = size;
    return true;
}

Handle FakeSystemControl::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                      std::uint32_t processId) {
    record(Line("OpenProcess", desiredAccess, int(inheritHandle), processId));
    if (unterminable.count(processId))
        return 0;
    return kProcessHandleBase + processId;
}

bool FakeSystemControl::TerminateProcess(Handle process, unsigned exitCode) {
    record(Line("TerminateProcess", process, exitCode));
    if (process < kProcessHandleBase)
        return false;
    if (process - kProcessHandleBase == ownProcessId && ownProcessId != 0)
        throw OwnProcessEnded();
    return true;
}

}  // namespace brisko::testing
