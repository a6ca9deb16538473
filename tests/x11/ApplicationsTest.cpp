// Applications started from their desktop entries on a private desktop, and their windows.
#include <filesystem>
#include <fstream>

#include "DesktopFixture.h"

namespace brisko::testing {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ApplicationsTest : public DesktopFixture {
protected:
    X11Session::Options options() const override {
        X11Session::Options o;
        o.recordedCommands = {"xdg-open", "flatpak"};
        return o;
    }
    std::string entry(const std::string& name, const std::string& lines) {
        const std::string file = path("apps/" + name + ".desktop");
        std::filesystem::create_directories(path("apps"));
        std::ofstream(file) << "[Desktop Entry]\nType=Application\nName=" << name << "\n" << lines;
        return file;
    }
    bool maximised(const std::string& title) {
        std::string window;
        return X11Session::waitUntil([&] { return !(window = findWindow(title)).empty(); }) &&
               X11Session::waitUntil([&] {
                   return Has(session->xprop({"-id", window, "_NET_WM_STATE"}),
                              "_NET_WM_STATE_MAXIMIZED_VERT");
               });
    }
};

TEST_F(ApplicationsTest, EntriesRunTheirCommandInATerminalOrSandboxButNeverTheOpener) {
    const std::string args = path("args.log");
    const std::string tty = path("tty.log");
    const std::string probe =
        writeScript("bin/probe", "printf '%s\\n' \"$#\" \"$@\" > '" + args +
                                     "'\necho \"$DESKTOP_STARTUP_ID\" >> '" + args + "'");
    writeScript("bin/in-terminal", "tty > '" + tty + "'");
    startDriver({"F1=2", "F1.path=" + entry("Probe", "Exec=" + probe + " --new-window %U\n"),
                 "F2=2", "F2.path=" + entry("Shell", "Exec=in-terminal\nTerminal=true\n"), "F3=2",
                 "F3.path=" + entry("org.example.App", "Exec=flatpak run org.example.App\n"),
                 "F4=2", "F4.path=" + entry("Gone", "Exec=probe\nHidden=true\n")});

    press("F1");
    ASSERT_TRUE(X11Session::waitUntil([&] { return Has(X11Session::readFile(args), "brisko-"); }));
    EXPECT_EQ(X11Session::readFile(args).substr(0, 15), "1\n--new-window\n");
    press("F2");
    EXPECT_TRUE(X11Session::waitUntil([&] { return Has(X11Session::readFile(tty), "/dev/pts/"); },
                                      std::chrono::seconds(20)))
        << X11Session::readFile(tty);
    press("F3");
    EXPECT_TRUE(X11Session::waitUntil([&] { return session->recorded("flatpak").size() == 1; }));
    EXPECT_EQ(session->recorded("flatpak").at(0), "run\torg.example.App");
    press("F4");
    press("F1");
    ASSERT_TRUE(waitForReport("hotkey 258"));
    EXPECT_TRUE(X11Session::waitUntil([&] { return Has(X11Session::readFile(args), "brisko-"); }));
    EXPECT_TRUE(session->recorded("xdg-open").empty());
}

TEST_F(ApplicationsTest, WindowOfAnotherProcessOpensMaximised) {
    // A launcher script whose window comes from a process of its own, which carries the startup
    // id; and a hand-over to a process that never saw the id, known by its window class.
    const std::string launcher =
        writeScript("bin/launcher", "'" BRISKO_X11_TEXT_WINDOW
                                    "' --title Launched --keep-startup-id >/dev/null 2>&1 &");
    const std::string handOver =
        writeScript("bin/hand-over", "env -u DESKTOP_STARTUP_ID '" BRISKO_X11_TEXT_WINDOW
                                     "' --title Handed >/dev/null 2>&1 &");
    startDriver({"F5=2", "F5.show=3", "F5.path=" + entry("Launcher", "Exec=" + launcher + "\n"),
                 "F6=2", "F6.show=3",
                 "F6.path=" +
                     entry("HandOver", "Exec=" + handOver + "\nStartupWMClass=x11_text_window\n")});
    press("F5");
    EXPECT_TRUE(maximised("Launched"));
    press("F6");
    EXPECT_TRUE(maximised("Handed"));

    // The same launcher script as a plain program path.
    const std::string direct =
        writeScript("bin/direct", "'" BRISKO_X11_TEXT_WINDOW
                                  "' --title Direct --keep-startup-id >/dev/null 2>&1 &");
    startDriver({"F7=2", "F7.show=3", "F7.path=" + direct}, "direct.log");
    press("F7");
    EXPECT_TRUE(maximised("Direct"));
}

}  // namespace
}  // namespace brisko::testing
