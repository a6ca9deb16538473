// Applications started from their desktop entries on a private desktop, their windows, and
// the startup notification that the desktop sees of every start.
#include <poll.h>
#include <xcb/xcb.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "DesktopFixture.h"

namespace brisko::testing {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The desktop's side of startup notification: the messages broadcast on the root window, each
// put together from the client messages of the window that sent it.
class StartupListener {
public:
    explicit StartupListener(const std::string& display)
        : connection_(xcb_connect(display.c_str(), nullptr)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        // The replies also show that the server has taken the event mask.
        begin_ = atom("_NET_STARTUP_INFO_BEGIN");
        more_ = atom("_NET_STARTUP_INFO");
    }
    ~StartupListener() { xcb_disconnect(connection_); }

    /// The next whole message; empty when none came in time.
    std::string next(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                std::string done;
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE)
                    done = take(*reinterpret_cast<xcb_client_message_event_t*>(event));
                std::free(event);
                if (!done.empty())
                    return done;
            }
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&fd, 1, 50);
        }
        return {};
    }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    }
    std::string take(const xcb_client_message_event_t& event) {
        if (event.format != 8 || (event.type != begin_ && event.type != more_))
            return {};
        std::string& text = partial_[event.window];
        if (event.type == begin_)
            text.clear();
        const char* data = reinterpret_cast<const char*>(event.data.data8);
        const std::size_t length = strnlen(data, 20);
        text.append(data, length);
        if (length == 20)
            return {};
        std::string done = std::move(text);
        partial_.erase(event.window);
        return done;
    }

    xcb_connection_t* connection_;
    xcb_atom_t begin_ = XCB_ATOM_NONE, more_ = XCB_ATOM_NONE;
    std::map<xcb_window_t, std::string> partial_;
};

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

TEST_F(ApplicationsTest, EveryStartIsAnnouncedAndEndsWhenItsWindowIsThere) {
    // The programs' windows never saw the id: only Brisko can end the announcements.
    const std::string ids = path("ids.log");
    const auto program = [&](const std::string& name, const std::string& title) {
        return writeScript("bin/" + name, "echo \"$DESKTOP_STARTUP_ID\" >> '" + ids +
                                              "'\nexec env -u DESKTOP_STARTUP_ID '" +
                                              BRISKO_X11_TEXT_WINDOW "' --title " + title);
    };
    const std::string plain = program("my probe", "Plain");
    const std::string app = entry("org.example.Probe", "Exec=" + program("probe", "Entry") +
                                                           "\nIcon=probe-icon\n"
                                                           "StartupWMClass=x11_text_window\n");
    StartupListener desktop(session->display());
    startDriver({"F5=2", "F5.path=" + plain, "F6=2", "F6.path=" + app});

    const auto idOf = [&](std::size_t n) {
        std::vector<std::string> lines;
        X11Session::waitUntil([&] {
            lines.clear();
            std::istringstream in(X11Session::readFile(ids));
            for (std::string line; std::getline(in, line);)
                lines.push_back(line);
            return lines.size() >= n;
        });
        return lines.size() >= n ? lines[n - 1] : std::string();
    };
    press("F5");
    const std::string announced = desktop.next();
    const std::string id = idOf(1);
    EXPECT_TRUE(Has(id, "_TIME")) << id;
    EXPECT_EQ(announced, "new: ID=" + id + " NAME=\"my probe\" SCREEN=0 BIN=\"my probe\"");
    EXPECT_EQ(desktop.next(), "remove: ID=" + id);

    press("F6");
    const std::string entryAnnounced = desktop.next();
    const std::string entryId = idOf(2);
    EXPECT_EQ(entryAnnounced, "new: ID=" + entryId +
                                  " NAME=org.example.Probe SCREEN=0 BIN=probe ICON=probe-icon"
                                  " WMCLASS=x11_text_window APPLICATION_ID=" +
                                  app);
    EXPECT_EQ(desktop.next(), "remove: ID=" + entryId);
}

TEST_F(ApplicationsTest, AnApplicationStartedOverDBusGetsTheAnnouncedId) {
    // The application is a mock on the session bus that the bus starts on demand; it notes the
    // startup id of its platform data. Its Exec line must never run.
    const std::string activated = path("activated.log");
    const std::string template_ = path("activated.py");
    std::ofstream(template_)
        << "BUS_NAME = 'org.example.Activated'\nMAIN_OBJ = '/org/example/Activated'\n"
           "MAIN_IFACE = 'org.freedesktop.Application'\nSYSTEM_BUS = False\n"
           "def load(mock, parameters):\n"
           "    mock.AddMethods(MAIN_IFACE, [('Activate', 'a{sv}', '', 'open(\""
        << activated
        << "\", \"a\").write(str(args[0].get(\"desktop-startup-id\", \"none\")) + \"\\\\n\")'),\n"
           "        ('Open', 'asa{sv}', '', ''), ('ActivateAction', 'sava{sv}', '', '')])\n";
    std::filesystem::create_directories(path("data/dbus-1/services"));
    std::ofstream(path("data/dbus-1/services/org.example.Activated.service"))
        << "[D-BUS Service]\nName=org.example.Activated\nExec=/usr/bin/python3 -m dbusmock -t "
        << template_ << "\n";
    const std::string ran = path("ran.log");
    const std::string app =
        entry("org.example.Activated",
              "Exec=" + writeScript("bin/activated", "echo ran > '" + ran + "'") +
                  "\nDBusActivatable=true\nStartupNotify=true\n");
    StartupListener desktop(session->display());
    startDriver({"F7=2", "F7.path=" + app});

    press("F7");
    const std::string announced = desktop.next();
    ASSERT_TRUE(Has(announced, "new: ID=")) << announced;
    const std::string id = announced.substr(8, announced.find(' ', 8) - 8);
    ASSERT_TRUE(X11Session::waitUntil([&] { return !X11Session::readFile(activated).empty(); }));
    EXPECT_EQ(X11Session::readFile(activated), id + "\n");
    EXPECT_EQ(X11Session::readFile(ran), "");
}

}  // namespace
}  // namespace brisko::testing
