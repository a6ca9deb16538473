// The backend's pure decisions, without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FakeSystemControl.h"
#include "hotkeys/HotkeyDispatcher.h"
#include "platform/linux/DataDirectory.h"
#include "platform/linux/DesktopSettings.h"
#include "platform/linux/LinuxSystemControl.h"
#include "platform/linux/ProcessTable.h"
#include "platform/linux/SearchPrompt.h"
#include "platform/linux/SessionBackend.h"
#include "platform/linux/ShellOpen.h"
#include "platform/x11/Keymap.h"
#include "platform/x11/StartupNotifier.h"
#include "platform/x11/SyntheticKeys.h"
#include "platform/x11/WindowStates.h"
#include "platform/x11/X11Backend.h"

namespace fs = std::filesystem;
using namespace brisko::x11;
using namespace brisko::desktop;

namespace {

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/brisko-unit-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(LockVariants, CoverEveryLockCombinationWithoutDuplicates) {
    // NumLock on Mod2, ScrollLock absent from the modifier map.
    auto variants = LockVariants(XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, 0);
    std::sort(variants.begin(), variants.end());
    const std::vector<std::uint16_t> expected = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                 XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    EXPECT_EQ(variants, expected);
    EXPECT_EQ(LockVariants(XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_5).size(), 8u);
    // NumLock on an unusual modifier still gets its variants.
    EXPECT_EQ(LockVariants(XCB_MOD_MASK_LOCK, XCB_MOD_MASK_3, 0).size(), 4u);
    EXPECT_EQ(LockVariants(XCB_MOD_MASK_LOCK, XCB_MOD_MASK_3, 0).front(), 0);
}

TEST(VirtualKeys, EngineKeysMapToTheirKeysyms) {
    EXPECT_EQ(VirtualKeyToKeysym(brisko::VK_CONTROL), 0xffe3u);
    EXPECT_EQ(VirtualKeyToKeysym(brisko::VK_MENU), 0xffe9u);
    EXPECT_EQ(VirtualKeyToKeysym('C'), static_cast<std::uint32_t>('c'));
    EXPECT_EQ(VirtualKeyToKeysym('V'), static_cast<std::uint32_t>('v'));
    EXPECT_EQ(VirtualKeyToKeysym(brisko::VK_F4), 0xffc1u);
    EXPECT_EQ(VirtualKeyToKeysym(112), 0xffbeu);  // F1
    EXPECT_EQ(VirtualKeyToKeysym(0xFF), 0u);
}

TEST(ShowCommands, MaximiseOnThreeIconifyOnMinimisedLeaveOthers) {
    EXPECT_EQ(ShowCommandEffect(3), 1);
    EXPECT_EQ(ShowCommandEffect(2), -1);
    EXPECT_EQ(ShowCommandEffect(6), -1);
    EXPECT_EQ(ShowCommandEffect(1), 0);
    EXPECT_EQ(ShowCommandEffect(5), 0);
    EXPECT_EQ(ShowCommandEffect(-7), 0);
}

TEST(StartupMessages, QuoteWhatNeedsItAndEndWithANulInWholeChunks) {
    EXPECT_EQ(
        StartupMessage(
            "new",
            {{"ID", "b-1_TIME5"}, {"NAME", "Mein \"Büro\" C:\\x"}, {"ICON", ""}, {"SCREEN", "0"}}),
        "new: ID=b-1_TIME5 NAME=\"Mein \\\"Büro\\\" C:\\\\x\" SCREEN=0");
    const auto chunks = StartupMessageChunks(std::string(20, 'x'));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[1], std::string(20, '\0'));
    EXPECT_EQ(StartupMessageChunks("remove: ID=a"),
              std::vector<std::string>{std::string("remove: ID=a") + std::string(8, '\0')});
}

TEST(SearchUrls, TermIsPercentEncoded) {
    EXPECT_EQ(SearchUrl(SearchService::Google, "salt & pepper"),
              "https://www.google.com/search?q=salt%20%26%20pepper");
    EXPECT_EQ(SearchUrl(SearchService::Ebay, "Käse?#=+"),
              "https://www.ebay.com/sch/i.html?_nkw=K%C3%A4se%3F%23%3D%2B");
    EXPECT_EQ(SearchServiceForFile("Google.exe"), SearchService::Google);
    EXPECT_EQ(SearchServiceForFile("EBay.exe"), SearchService::Ebay);
    EXPECT_FALSE(SearchServiceForFile("google.exe"));
}

TEST(ControlPanel, AppletCommandLinesAreRecognised) {
    EXPECT_EQ(AppletOfCommandLine("rundll32.exe shell32.dll,Control_RunDLL intl.cpl"), "intl.cpl");
    EXPECT_EQ(AppletOfCommandLine("RUNDLL32.EXE shell32.dll,control_rundll Desk.CPL"), "desk.cpl");
    EXPECT_FALSE(AppletOfCommandLine("rundll32.exe user32.dll,LockWorkStation"));
    EXPECT_FALSE(AppletOfCommandLine("rundll32.exe shell32.dll,Control_RunDLL"));
    EXPECT_EQ(SplitCommandLine("a \"b c\"  d"), (std::vector<std::string>{"a", "b c", "d"}));
}

TEST(ControlPanel, DesktopRowWinsThenAnyInstalledRowThenNothing) {
    const auto everything = [](const std::string&) { return true; };
    EXPECT_EQ(CurrentDesktop("ubuntu:GNOME"), Desktop::Other);
    EXPECT_EQ(CurrentDesktop("GNOME:GNOME-Classic"), Desktop::Gnome);
    EXPECT_EQ(CurrentDesktop("KDE"), Desktop::Kde);
    EXPECT_EQ(CurrentDesktop("XFCE"), Desktop::Xfce);
    EXPECT_EQ(SettingsCommand("desk.cpl", Desktop::Kde, everything),
              (std::vector<std::string>{"systemsettings", "kcm_kscreen"}));
    EXPECT_EQ(SettingsCommand("TIMEDATE.CPL", Desktop::Gnome, everything),
              (std::vector<std::string>{"gnome-control-center", "datetime"}));
    // On an unknown desktop, whatever settings program is installed.
    const auto onlyXfce = [](const std::string& p) { return p.rfind("xfce4-", 0) == 0; };
    EXPECT_EQ(SettingsCommand("control.exe", Desktop::Other, onlyXfce),
              (std::vector<std::string>{"xfce4-settings-manager"}));
    EXPECT_FALSE(SettingsCommand("bogus.cpl", Desktop::Gnome, everything));
    EXPECT_FALSE(
        SettingsCommand("desk.cpl", Desktop::Gnome, [](const std::string&) { return false; }));
    // Every applet the engine uses has a row on each of the three desktops.
    for (const char* applet : {"desk.cpl", "timedate.cpl", "intl.cpl", "mmsys.cpl", "appwiz.cpl",
                               "sysdm.cpl", "control.exe"}) {
        for (Desktop d : {Desktop::Gnome, Desktop::Kde, Desktop::Xfce}) {
            bool found = false;
            for (const auto& row : SettingsPanels())
                found |= row.applet == std::string(applet) && row.desktop == d;
            EXPECT_TRUE(found) << applet;
        }
    }
}

TEST(OpenClassification, BuiltInFilesAddressesProgramsAndDocuments) {
    TempDir dir;
    const std::string data = dir.path() + "/data";
    fs::create_directories(data);
    // The engine joins with a backslash; a trailing separator on the directory is harmless.
    EXPECT_EQ(ClassifyOpen(data + "\\Desktop anzeigen.scf", data), OpenKind::ShowDesktop);
    EXPECT_EQ(ClassifyOpen(data + "\\Google.exe", data + "/"), OpenKind::GoogleSearch);
    EXPECT_EQ(ClassifyOpen(data + "/EBay.exe", data), OpenKind::EbaySearch);
    // The same names elsewhere are ordinary files.
    EXPECT_EQ(ClassifyOpen(dir.path() + "/Google.exe", data), OpenKind::Missing);
    EXPECT_EQ(ClassifyOpen("control.exe", data), OpenKind::ControlPanel);
    EXPECT_EQ(ClassifyOpen("https://example.org", data), OpenKind::Address);
    EXPECT_EQ(ClassifyOpen("mailto:a@b.c", data), OpenKind::Address);
    EXPECT_EQ(ClassifyOpen("www.example.org", data), OpenKind::Address);
    EXPECT_EQ(ClassifyOpen("Www.Example.org", data), OpenKind::Address);
    EXPECT_EQ(AddressForOpener("Www.Example.org"), "http://Www.Example.org");
    EXPECT_EQ(AddressForOpener("https://www.example.org"), "https://www.example.org");
    EXPECT_EQ(AddressForOpener("ww"), "ww");
    EXPECT_EQ(ClassifyOpen("", data), OpenKind::Missing);

    const std::string script = dir.path() + "/run me";
    std::ofstream(script) << "#!/bin/sh\n";
    fs::permissions(script, fs::perms::owner_all);
    EXPECT_EQ(ClassifyOpen(script, data), OpenKind::Program);
    const std::string text = dir.path() + "/notes.txt";
    std::ofstream(text) << "x";
    EXPECT_EQ(ClassifyOpen(text, data), OpenKind::Document);
    EXPECT_EQ(ClassifyOpen(dir.path(), data), OpenKind::Document);  // a folder
    EXPECT_EQ(ClassifyOpen("sh", data), OpenKind::Program);         // found on PATH
    EXPECT_EQ(ClassifyOpen(dir.path() + "/absent", data), OpenKind::Missing);
}

TEST(OpenClassification, FilesJoinedWithABackslashAreFoundOnDisk) {
    TempDir dir;
    const std::string help = dir.path() + "/Hilfe.chm";
    std::ofstream(help) << "x";
    EXPECT_EQ(NativePath(dir.path() + "\\Hilfe.chm"), help);
    EXPECT_EQ(ClassifyOpen(NativePath(dir.path() + "\\Hilfe.chm"), "/elsewhere"),
              OpenKind::Document);
    // A name that really holds a backslash, and addresses, stay as they are.
    const std::string odd = dir.path() + "/a\\b";
    std::ofstream(odd) << "x";
    EXPECT_EQ(NativePath(odd), odd);
    EXPECT_EQ(NativePath("https://x.org/a\\b"), "https://x.org/a\\b");
}

TEST(SessionBackendChoice, WaylandSessionsUseThePortalsUnlessForced) {
    EXPECT_EQ(ChooseBackend(nullptr, nullptr, nullptr), BackendKind::X11);
    EXPECT_EQ(ChooseBackend(nullptr, "", "x11"), BackendKind::X11);
    EXPECT_EQ(ChooseBackend(nullptr, "wayland-0", nullptr), BackendKind::Wayland);
    // Qt on XWayland still has a Wayland session around it.
    EXPECT_EQ(ChooseBackend(nullptr, nullptr, "wayland"), BackendKind::Wayland);
    EXPECT_EQ(ChooseBackend("x11", "wayland-0", "wayland"), BackendKind::X11);
    EXPECT_EQ(ChooseBackend("wayland", nullptr, "x11"), BackendKind::Wayland);
    EXPECT_EQ(ChooseBackend("bogus", "wayland-0", nullptr), BackendKind::Wayland);
}

TEST(DataDirectory, InstalledLayoutFirstThenTheBuildTreeThenTheInstallPrefix) {
    TempDir dir;
    const std::string root = dir.path() + "/scratch/usr";
    fs::create_directories(root + "/bin/data");
    fs::create_directories(root + "/share/brisko");
    fs::create_directories(dir.path() + "/build/data");
    // An unpacked installation uses its own share/ folder, never a data/ beside the binary.
    EXPECT_EQ(DataDirectoryFor(root + "/bin/BRZ", "/usr/share/brisko"), root + "/share/brisko");
    EXPECT_EQ(DataDirectoryFor(dir.path() + "/build/BRZ", "/x"), dir.path() + "/build/data");
    EXPECT_EQ(DataDirectoryFor(dir.path() + "/elsewhere/BRZ", "/x"), "/x");
    EXPECT_EQ(DataDirectoryFor("", "/x"), "/x");
}

class FakeProc {
public:
    void add(int pid, int realUid, int effectiveUid, const std::string& exe, int savedUid = -1,
             const std::string& display = ":5") {
        const std::string p = dir.path() + "/" + std::to_string(pid);
        fs::create_directories(p);
        std::ofstream(p + "/environ", std::ios::binary)
            << "HOME=/home/u" << '\0' << "DISPLAY=" << display << '\0';
        if (savedUid < 0)
            savedUid = effectiveUid;
        std::ofstream(p + "/status") << "Name:\tx\nUid:\t" << realUid << "\t" << effectiveUid
                                     << "\t" << savedUid << "\t" << effectiveUid << "\n";
        if (!exe.empty())
            fs::create_symlink(exe, p + "/exe");
    }
    TempDir dir;
};

TEST(ProcessTable, ListsOnlyTheUsersProcessesByExecutableName) {
    FakeProc proc;
    proc.add(10, 1000, 1000, "/opt/brisko/BRZ");
    proc.add(11, 0, 0, "/usr/bin/BRZ");      // another user's (root's)
    proc.add(12, 1000, 0, "/usr/bin/sudo");  // setuid: effective root
    proc.add(13, 1000, 1000, "/usr/bin/old BRZ (deleted)");
    proc.add(14, 1000, 1000, "");                        // no executable: a kernel thread
    proc.add(15, 1000, 1000, "/usr/bin/BRZ", 0);         // set-user-id root, lowered for a while
    proc.add(16, 1000, 1000, "/usr/bin/BRZ", -1, ":6");  // a copy on another display: spared
    fs::create_directories(proc.dir.path() + "/self");
    ProcessTable table(proc.dir.path(), 1000,
                       ProcessTable::SessionOfEnvironment(std::string("DISPLAY=:5\0X=1", 14)));
    const auto entries = table.list();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].processId, 10u);
    EXPECT_EQ(entries[0].exeFile, "BRZ");
    EXPECT_EQ(entries[1].exeFile, "old BRZ");
    EXPECT_FALSE(table.ownedByUser(11));
    EXPECT_EQ(table.open(11), 0u);  // never another user's, whatever the caller's rights
    EXPECT_EQ(table.open(15), 0u);

    // The snapshot walks the same list and keeps the caller's size field.
    const brisko::Handle snapshot = table.createSnapshot();
    brisko::ProcessEntry entry;
    entry.size = 296;
    ASSERT_TRUE(table.next(snapshot, entry, true));
    EXPECT_EQ(entry.size, 296u);
    ASSERT_TRUE(table.next(snapshot, entry, false));
    EXPECT_FALSE(table.next(snapshot, entry, false));
    EXPECT_TRUE(table.close(snapshot));
    EXPECT_FALSE(table.close(snapshot));
}

TEST(ProcessTable, KillsTheUsersOwnChild) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ProcessTable table;
    const brisko::Handle handle = table.open(child);
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(table.terminate(handle, 0));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_TRUE(table.close(handle));
}

// Every action of the catalogue, as the engine asks for it, lands on something the Linux
// backend recognises: a file, applet or command line renamed on one side only breaks this.
TEST(ActionCatalogue, EveryActionReachesTheLinuxMapping) {
    struct Recorder : brisko::testing::FakeSystemControl {
        std::vector<std::pair<std::string, std::string>> opens;  // verb, file
        std::vector<std::string> commandLines;
        std::intptr_t ShellExecuteA(brisko::WindowHandle window, const std::string& verb,
                                    const std::string& file, const std::string& parameters,
                                    const std::string& directory, int show) override {
            opens.emplace_back(verb, file);
            return FakeSystemControl::ShellExecuteA(window, verb, file, parameters, directory,
                                                    show);
        }
        unsigned WinExec(const std::string& commandLine, int show) override {
            commandLines.push_back(commandLine);
            return FakeSystemControl::WinExec(commandLine, show);
        }
    };
    const std::string data = "/usr/share/brisko";
    const auto installed = [](const std::string&) { return true; };
    using brisko::ActionKind;
    for (int action = 1; action < brisko::kActionCount; ++action) {
        Recorder system;
        system.windowsDirectory = data;
        brisko::SlotModel model;
        model.setAction(1, action);
        model.setProgramPath(1, "/bin/true");
        model.setWebAddress(1, "www.example.org");
        brisko::HotkeyDispatcher(system, model, 1, "Unknown", [] {
        }).OnHotkeyMessage(brisko::SlotHotkeyId(1));
        const auto kind = static_cast<ActionKind>(action);
        const std::string caption = brisko::kActionCaptions[action];
        for (const auto& [verb, file] : system.opens) {
            const OpenKind expected = kind == ActionKind::MinimizeAll    ? OpenKind::ShowDesktop
                                      : kind == ActionKind::GoogleSearch ? OpenKind::GoogleSearch
                                      : kind == ActionKind::EbaySearch   ? OpenKind::EbaySearch
                                      : kind == ActionKind::ControlPanel ? OpenKind::ControlPanel
                                      : kind == ActionKind::WebPage      ? OpenKind::Address
                                                                         : OpenKind::Program;
            if (verb == "find") {
                EXPECT_EQ(kind, ActionKind::SearchDialog) << caption;
                continue;
            }
            EXPECT_EQ(ClassifyOpen(NativePath(file), data), expected) << caption;
            if (expected == OpenKind::GoogleSearch || expected == OpenKind::EbaySearch) {
                EXPECT_TRUE(SearchServiceForFile(fs::path(NativePath(file)).filename())) << caption;
            }
            if (expected == OpenKind::ControlPanel) {
                EXPECT_TRUE(SettingsCommand(file, Desktop::Other, installed)) << caption;
            }
        }
        for (const std::string& commandLine : system.commandLines) {
            const auto applet = AppletOfCommandLine(commandLine);
            ASSERT_TRUE(applet) << caption << ": " << commandLine;
            for (Desktop desktop : {Desktop::Gnome, Desktop::Kde, Desktop::Xfce, Desktop::Other})
                EXPECT_TRUE(SettingsCommand(*applet, desktop, installed)) << caption;
        }
        const bool named = !system.opens.empty() || !system.commandLines.empty();
        const bool needsName = kind != ActionKind::StartMenu && kind != ActionKind::Shutdown &&
                               kind != ActionKind::Restart && kind != ActionKind::LogOff &&
                               kind != ActionKind::InsertText && kind != ActionKind::Copy &&
                               kind != ActionKind::Paste && kind != ActionKind::CloseProgram;
        EXPECT_EQ(named, needsName) << caption;
    }
}

}  // namespace
