#include "SystemCommands.h"

#include <array>

#include "ActionNames.h"

namespace brisko {

std::string WindowsDirectory(SystemControl& system) {
    std::array<char, kMaxPath> buffer{};
    unsigned length = system.GetWindowsDirectoryA(buffer.data(), kMaxPath);
    if (length == 0)
        return {};
    buffer.back() = '\0';
    return std::string(buffer.data());
}

std::string InWindowsDirectory(const std::string& windowsDirectory, const std::string& name) {
    std::string dir = windowsDirectory;
    if (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    return dir + "\\" + name;
}

std::string SystemVersionName(SystemControl& system) {
    OsVersionInfo info;
    info.size = 148;
    if (!system.GetVersionExA(info))
        return "Unknown";
    const auto major = info.majorVersion;
    const auto minor = info.minorVersion;
    if (info.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (major == 4 && minor == 0)
            return "Windows 95";
        if (major == 4 && minor == 10) {
            if (info.csdVersion.size() >= 2 && info.csdVersion[1] == 'A')
                return "Windows 98SE";
            return "Windows 98";
        }
        if (major == 4 && minor == 90)
            return "Windows ME";
        return "Unknown";
    }
    if (info.platformId == VER_PLATFORM_WIN32_NT) {
        if (major <= 4)
            return "Windows NT";
        if (major == 5 && minor == 0)
            return "Windows 2000";
        if (major == 5 && minor == 1)
            return "Whistler";
        return "Unknown";
    }
    return "Unknown";
}

bool ExitWindowsWithPrivilege(SystemControl& system, unsigned flags) {
    OsVersionInfo info;
    info.size = 148;
    // The privilege steps apply to the NT family only; elsewhere the request goes out as it is.
    if (system.GetVersionExA(info) && info.platformId == VER_PLATFORM_WIN32_NT) {
        Handle token = 0;
        if (system.OpenProcessToken(system.GetCurrentProcess(),
                                    TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token)) {
            Luid luid;
            if (system.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", luid)) {
                TokenPrivileges privileges;
                privileges.privilegeCount = 1;
                privileges.luid = luid;
                privileges.attributes = SE_PRIVILEGE_ENABLED;
                TokenPrivileges previous;
                std::uint32_t returnLength = 0;
                system.AdjustTokenPrivileges(token, false, privileges, 16, &previous,
                                             &returnLength);
            }
            system.CloseHandle(token);
        }
    }
    return system.ExitWindowsEx(flags, 0);
}

void ShutdownForSystem(SystemControl& system, const std::string& name) {
    static const std::array<const char*, 4> powerOff = {"Whistler", "Windows 2000", "Windows NT",
                                                        "Unknown"};
    static const std::array<const char*, 4> shutDown = {"Windows 95", "Windows 98SE", "Windows 98",
                                                        "Windows ME"};
    for (const char* candidate : powerOff) {
        if (name == candidate) {
            ExitWindowsWithPrivilege(system, EWX_POWEROFF);
            return;
        }
    }
    for (const char* candidate : shutDown) {
        if (name == candidate) {
            ExitWindowsWithPrivilege(system, EWX_SHUTDOWN);
            return;
        }
    }
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

namespace {
std::string FileNamePart(const std::string& path) {
    std::string::size_type cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}
}  // namespace

bool TerminateProcessesByName(SystemControl& system, const std::string& name) {
    const std::string wanted = AsciiUpper(name);
    Handle snapshot = system.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ProcessEntry entry;
    entry.size = 296;
    bool result = false;
    bool read = snapshot != kInvalidHandle && system.Process32First(snapshot, entry);
    while (read) {
        const std::string exe = entry.exeFile;
        if (AsciiUpper(FileNamePart(exe)) == wanted || AsciiUpper(exe) == wanted) {
            Handle process = system.OpenProcess(PROCESS_TERMINATE, false, entry.processId);
            result = system.TerminateProcess(process, 0);
            // Give the handle back, so that the backend keeps no table of dead processes.
            if (process != 0 && process != kInvalidHandle)
                system.CloseHandle(process);
        }
        read = system.Process32Next(snapshot, entry);
    }
    if (snapshot != kInvalidHandle)
        system.CloseHandle(snapshot);
    return result;
}

void OpenControlPanelApplet(SystemControl& system, const std::string& applet) {
    system.WinExec(action_names::kAppletCommand + applet, SW_SHOWNORMAL);
}

}  // namespace brisko
