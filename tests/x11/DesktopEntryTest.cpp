// Desktop entries without a display: what their Exec line becomes, and what cannot be launched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/linux/DesktopEntry.h"
#include "platform/linux/LinuxSystemControl.h"
#include "platform/x11/WindowStates.h"
#include "platform/x11/X11Backend.h"

namespace fs = std::filesystem;
using namespace brisko::desktop;
using namespace std::chrono_literals;

namespace {

class DesktopEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/brisko-entry-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        fs::create_directories(dir_ + "/bin");
        fs::create_directories(dir_ + "/data/applications");
        // Every call of the desktop's opener would be recorded here.
        script("bin/xdg-open", "echo \"$@\" >> '" + dir_ + "/xdg-open.log'");
        oldPath_ = std::getenv("PATH");
        ::setenv("PATH", (dir_ + "/bin:" + oldPath_).c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (dir_ + "/none").c_str(), 1);
        // GIO announces launches on the session bus: never on the machine's own.
        ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir_ + "/no-bus").c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string script(const std::string& name, const std::string& body) {
        const std::string file = dir_ + "/" + name;
        std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(file, fs::perms::owner_all);
        return file;
    }
    std::string entry(const std::string& name, const std::string& body) {
        const std::string file = dir_ + "/" + name;
        std::ofstream(file) << body;
        return file;
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool waitFor(const std::string& file) {
        for (int i = 0; i < 500 && read(file).find("end\n") == std::string::npos; ++i)
            std::this_thread::sleep_for(10ms);
        return read(file).find("end\n") != std::string::npos;
    }

    std::string dir_;
    std::string oldPath_;
};

TEST_F(DesktopEntryTest, ExecFieldCodesBecomeArgumentsWithoutShell) {
    const std::string log = dir_ + "/args.log";
    const std::string program =
        script("bin/probe", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" + log +
                                "'\nprintf 'out %s\\nid %s\\nend\\n' \"$(readlink /proc/$$/fd/1)\" "
                                "\"$DESKTOP_STARTUP_ID\" >> '" +
                                log + "'");
    // Quoting as desktop entries write it: a quoted argument keeps its blanks, \\" and \\$
    // are a literal quote and dollar sign, %% a percent sign; file codes vanish without files.
    const std::string file =
        entry("data/applications/org.example.Probe.desktop",
              "[Desktop Entry]\nType=Application\nName=Probe\nName[de]=Prüfling\n"
              "Icon=probe-icon\nExec=probe \"a b\" %f %F %u %U --name=%c %i %k 100%% "
              "\"say \\\\\"hi\\\\\"\" \"\\\\$HOME\"\n");
    ::setenv("LANGUAGE", "de", 1);
    const auto application = DesktopEntry::Load("org.example.Probe.desktop");
    ::unsetenv("LANGUAGE");
    ASSERT_TRUE(application) << program;
    EXPECT_EQ(application->path(), file);
    EXPECT_EQ(application->iconName(), "probe-icon");

    const auto started = application->launch({"brisko-test-1"});
    ASSERT_TRUE(started);
    ASSERT_TRUE(waitFor(log));
    EXPECT_EQ(read(log),
              "[a b]\n[--name=Prüfling]\n[--icon]\n[probe-icon]\n[" + file +
                  "]\n[100%]\n[say \"hi\"]\n[$HOME]\nout /dev/null\nid brisko-test-1\nend\n");
    EXPECT_GT(started->pid, 0);
    EXPECT_EQ(started->startupId, "brisko-test-1");
    EXPECT_EQ(started->windowClasses, (std::vector<std::string>{"org.example.Probe", "probe"}));
}

TEST_F(DesktopEntryTest, EntriesThatCannotBeLaunchedAreMissingProgramsNeverDocuments) {
    script("bin/present", "exit 0");
    const std::string head = "[Desktop Entry]\nType=Application\nName=X\n";
    const std::vector<std::string> broken = {
        entry("hidden.desktop", head + "Exec=present\nHidden=true\n"),
        entry("no-exec.desktop", head),
        entry("try-exec.desktop", head + "Exec=present\nTryExec=absent-program\n"),
        entry("absent.desktop", head + "Exec=absent-program --x\n"),
        entry("link.desktop", "[Desktop Entry]\nType=Link\nName=X\nURL=https://example.org\n"),
        entry("text.desktop", "just some notes\n"),
        dir_ + "/nowhere.desktop",
        "unknown-id.desktop",
    };
    LinuxSystemControl system{std::make_unique<brisko::x11::X11Backend>(), dir_};
    for (const auto& file : broken) {
        EXPECT_FALSE(DesktopEntry::Load(file)) << file;
        EXPECT_EQ(system.ShellExecuteA(1, "open", file, "", "", 1), 2) << file;
    }
    const std::string log = dir_ + "/ran.log";
    script("bin/runs", "echo end > '" + log + "'");
    const std::string good = entry("Good.DESKTOP", head + "Exec=runs\nNoDisplay=true\n");
    EXPECT_EQ(system.ShellExecuteA(1, "open", good, "", "", 3), 42);
    EXPECT_TRUE(waitFor(log));
    EXPECT_EQ(read(dir_ + "/xdg-open.log"), "");
}

TEST(WindowMatch, StartupIdBeatsWindowClassBeatsPid) {
    const StartedApplication app{42, "id-1", {"org.example.App", "firefox"}};
    using brisko::x11::WindowMatch;
    EXPECT_EQ(WindowMatch(app, "id-1", "other", "Other", 7), 3);
    EXPECT_EQ(WindowMatch(app, "id-2", "Navigator", "Firefox", 7), 2);
    EXPECT_EQ(WindowMatch(app, "", "ORG.EXAMPLE.APP", "", 7), 2);
    EXPECT_EQ(WindowMatch(app, "", "other", "Other", 42), 1);
    EXPECT_EQ(WindowMatch(app, "", "", "", 7), 0);
    EXPECT_EQ(WindowMatch({0, "", {}}, "", "", "", 0), 0);
}

}  // namespace
