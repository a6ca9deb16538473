#include <gtest/gtest.h>

#include "FakeSystemControl.h"
#include "hotkeys/SystemCommands.h"

using namespace brisko;
using brisko::testing::FakeSystemControl;
using Calls = std::vector<std::string>;

namespace {
OsVersionInfo Version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                      std::string csd = "") {
    OsVersionInfo v;
    v.platformId = platform;
    v.majorVersion = major;
    v.minorVersion = minor;
    v.csdVersion = std::move(csd);
    return v;
}
}  // namespace

TEST(SystemCommands, VersionNames) {
    struct Case {
        OsVersionInfo version;
        const char* name;
        bool fails = false;
    };
    const std::vector<Case> cases = {
        {Version(2, 5, 1), "Unknown", true},
        {Version(1, 4, 0), "Windows 95"},
        {Version(1, 4, 10, " A "), "Windows 98SE"},
        {Version(1, 4, 10, "A"), "Windows 98"},
        {Version(1, 4, 10, ""), "Windows 98"},
        {Version(1, 4, 90), "Windows ME"},
        {Version(1, 5, 0), "Unknown"},
        {Version(2, 3, 51), "Windows NT"},
        {Version(2, 4, 0), "Windows NT"},
        {Version(2, 5, 0), "Windows 2000"},
        {Version(2, 5, 1), "Whistler"},
        {Version(2, 5, 2), "Unknown"},
        {Version(2, 6, 0), "Unknown"},
        {Version(0, 4, 0), "Unknown"},
    };
    for (const auto& c : cases) {
        FakeSystemControl fake;
        fake.version = c.version;
        fake.versionFails = c.fails;
        EXPECT_EQ(SystemVersionName(fake), c.name);
        EXPECT_EQ(fake.calls(), Calls{"GetVersionExA(148)"});
    }
}

TEST(SystemCommands, ShutdownFlagsFollowTheVersionName) {
    const std::vector<std::pair<std::string, Calls>> cases = {
        {"Whistler", {"ExitWindowsEx(8, 0)"}},
        {"Windows 2000", {"ExitWindowsEx(8, 0)"}},
        {"Windows NT", {"ExitWindowsEx(8, 0)"}},
        {"Unknown", {"ExitWindowsEx(8, 0)"}},
        {"Windows 95", {"ExitWindowsEx(1, 0)"}},
        {"Windows 98SE", {"ExitWindowsEx(1, 0)"}},
        {"Windows 98", {"ExitWindowsEx(1, 0)"}},
        {"Windows ME", {"ExitWindowsEx(1, 0)"}},
        {"unknown", {}},  // the names compare exactly
    };
    for (const auto& [name, expected] : cases) {
        FakeSystemControl fake;
        ShutdownForSystem(fake, name);
        EXPECT_EQ(fake.callsNamed("ExitWindowsEx"), expected) << name;
    }
}

TEST(SystemCommands, PrivilegeIsEnabledOnTheNtFamilyOnly) {
    FakeSystemControl nt;
    nt.version = Version(2, 5, 1);
    EXPECT_TRUE(ExitWindowsWithPrivilege(nt, EWX_REBOOT));
    EXPECT_EQ(nt.calls(),
              (Calls{"GetVersionExA(148)", "GetCurrentProcess()", "OpenProcessToken(-1, 40)",
                     "LookupPrivilegeValueA(\"<null>\", \"SeShutdownPrivilege\")",
                     "AdjustTokenPrivileges(800, 0, 1, 19, 2, 16)", "CloseHandle(800)",
                     "ExitWindowsEx(2, 0)"}));

    FakeSystemControl refused;  // a failed step does not stop the request
    refused.version = Version(2, 5, 0);
    refused.lookupPrivilegeResult = false;
    refused.exitWindowsResult = false;
    EXPECT_FALSE(ExitWindowsWithPrivilege(refused, EWX_POWEROFF));
    EXPECT_TRUE(refused.callsNamed("AdjustTokenPrivileges").empty());
    EXPECT_EQ(refused.callsNamed("CloseHandle"), Calls{"CloseHandle(800)"});
    EXPECT_EQ(refused.calls().back(), "ExitWindowsEx(8, 0)");

    FakeSystemControl other;  // 95 family and non-Windows systems: the request alone
    other.version = Version(1, 4, 10);
    ExitWindowsWithPrivilege(other, EWX_SHUTDOWN);
    EXPECT_EQ(other.calls(), (Calls{"GetVersionExA(148)", "ExitWindowsEx(1, 0)"}));
}

TEST(SystemCommands, TerminateMatchesFileNameOrWholePathAsciiCaseInsensitively) {
    FakeSystemControl fake;
    fake.processes = {{0, 1, "brz.EXE"},     {0, 2, "C:\\Programs\\BRZ.exe"},
                      {0, 3, "BRZ.exe.bak"}, {0, 4, "XBRZ.exe"},
                      {0, 5, "D:BRZ.EXE"},   {0, 6, "bäz.exe"}};
    EXPECT_TRUE(TerminateProcessesByName(fake, "BRZ.exe"));
    EXPECT_EQ(fake.callsNamed("OpenProcess"),
              (Calls{"OpenProcess(1, 0, 1)", "OpenProcess(1, 0, 2)", "OpenProcess(1, 0, 5)"}));
    EXPECT_EQ(fake.calls().front(), "CreateToolhelp32Snapshot(2, 0)");
    EXPECT_EQ(fake.calls()[1], "Process32First(900, 296)");
    EXPECT_EQ(fake.calls().back(), "CloseHandle(900)");

    FakeSystemControl umlaut;
    umlaut.processes = {{0, 6, "bäz.exe"}};
    EXPECT_FALSE(TerminateProcessesByName(umlaut, "BÄZ.EXE"));
    EXPECT_TRUE(umlaut.callsNamed("TerminateProcess").empty());

    FakeSystemControl wholePath;  // a name given with a path matches the whole entry
    wholePath.processes = {{0, 8, "c:\\tools\\brz.exe"}};
    EXPECT_TRUE(TerminateProcessesByName(wholePath, "C:\\TOOLS\\BRZ.EXE"));
}

TEST(SystemCommands, TerminateResultIsTheLastAttemptAndStopsAtItsOwnProcess) {
    FakeSystemControl fake;
    fake.processes = {{0, 1, "BRZ.exe"}, {0, 2, "BRZ.exe"}};
    fake.unterminable = {2};  // another user's process: skipped, result false
    EXPECT_FALSE(TerminateProcessesByName(fake, "BRZ.exe"));

    FakeSystemControl none;
    none.processes = {{0, 1, "bash"}};
    EXPECT_FALSE(TerminateProcessesByName(none, "BRZ.exe"));

    FakeSystemControl missing;
    missing.snapshotAvailable = false;
    missing.processes = {{0, 1, "BRZ.exe"}};
    EXPECT_FALSE(TerminateProcessesByName(missing, "BRZ.exe"));
    EXPECT_EQ(missing.calls(), Calls{"CreateToolhelp32Snapshot(2, 0)"});

    FakeSystemControl self;
    self.processes = {{0, 1, "BRZ.exe"}, {0, 2, "BRZ.exe"}, {0, 3, "BRZ.exe"}};
    self.ownProcessId = 2;
    EXPECT_THROW(TerminateProcessesByName(self, "BRZ.exe"), brisko::testing::OwnProcessEnded);
    EXPECT_EQ(self.callsNamed("OpenProcess").size(), 2u);  // entry 3 is never reached
}

TEST(SystemCommands, ControlPanelCommandLineAndWindowsDirectory) {
    FakeSystemControl fake;
    OpenControlPanelApplet(fake, "intl.cpl");
    EXPECT_EQ(fake.calls(),
              Calls{"WinExec(\"rundll32.exe shell32.dll,Control_RunDLL intl.cpl\", 1)"});

    fake.windowsDirectory = "C:\\WINNT";
    EXPECT_EQ(WindowsDirectory(fake), "C:\\WINNT");
    EXPECT_EQ(fake.callsNamed("GetWindowsDirectoryA"), Calls{"GetWindowsDirectoryA(260)"});
    fake.windowsDirectory = std::string(300, 'x');  // does not fit: the call fails
    EXPECT_EQ(WindowsDirectory(fake), "");
    EXPECT_EQ(InWindowsDirectory("C:\\", "Hilfe.chm"), "C:\\Hilfe.chm");
    EXPECT_EQ(InWindowsDirectory("C:\\WINDOWS", "Hilfe.chm"), "C:\\WINDOWS\\Hilfe.chm");
    EXPECT_EQ(InWindowsDirectory("C:\\WINDOWS\\\\", "x"), "C:\\WINDOWS\\\\x");
}
