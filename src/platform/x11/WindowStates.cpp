#include "WindowStates.h"

#include "StartupNotifier.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace brisko::x11 {

namespace {
constexpr int kPollMs = 20;
// Long enough for a sandboxed application's first start.
constexpr qint64 kGiveUpMs = 10000;
constexpr qint64 kSettleMs = 300;
constexpr std::uint32_t kIconicState = 3;
constexpr std::uint32_t kStateAdd = 1;
constexpr std::uint32_t kSourceApplication = 1;
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string PropertyText(xcb_get_property_reply_t* reply) {
    if (!reply)
        return {};
    std::string text(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return text;
}
}  // namespace

int WindowMatch(const desktop::StartedApplication& started, const std::string& startupId,
                const std::string& instance, const std::string& windowClass, std::uint32_t pid) {
    if (!started.startupId.empty() && startupId == started.startupId)
        return 3;
    for (const auto& name : started.windowClasses) {
        if (!name.empty() && (SameName(name, instance) || SameName(name, windowClass)))
            return 2;
    }
    return started.pid > 0 && pid == static_cast<std::uint32_t>(started.pid) ? 1 : 0;
}

int ShowCommandEffect(int showCommand) {
    switch (showCommand) {
        case 3:
            return 1;  // maximised
        case 2:        // minimised
        case 6:        // minimise
        case 7:
            return -1;  // minimised without activation
        default:
            return 0;
    }
}

WindowStates::WindowStates(xcb_connection_t* connection, xcb_window_t root,
                           StartupNotifier* notifier)
    : connection_(connection), root_(root), notifier_(notifier) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] { poll(); });
    clock_.start();
}

xcb_atom_t WindowStates::atom(const char* name) {
    if (auto it = atoms_.find(name); it != atoms_.end())
        return it->second;
    auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t value = reply->atom;
    std::free(reply);
    atoms_.emplace(name, value);
    return value;
}

void WindowStates::applyWhenMapped(pid_t pid, int showCommand) {
    if (pid <= 0 || ShowCommandEffect(showCommand) == 0)
        return;
    // A new process has no window yet: no need to know the windows before it.
    waiting_.push_back({{pid, {}, {}}, showCommand, clock_.elapsed() + kGiveUpMs, {}});
    if (!poll_.isActive())
        poll_.start();
}

void WindowStates::applyWhenMapped(const desktop::StartedApplication& started, int showCommand) {
    const bool announced = notifier_ && !started.startupId.empty();
    if (ShowCommandEffect(showCommand) == 0 && !announced)
        return;
    std::vector<xcb_window_t> before = clientList();
    std::sort(before.begin(), before.end());
    waiting_.push_back({started, showCommand, clock_.elapsed() + kGiveUpMs, std::move(before)});
    if (!poll_.isActive())
        poll_.start();
}

std::vector<xcb_window_t> WindowStates::clientList() {
    auto cookie =
        xcb_get_property(connection_, 0, root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 4096);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    if (!reply)
        return {};
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::vector<xcb_window_t> list(windows, windows + xcb_get_property_value_length(reply) / 4);
    std::free(reply);
    return list;
}

xcb_window_t WindowStates::windowOf(const Waiting& waiting,
                                    const std::vector<xcb_window_t>& clients) {
    struct Asked {
        xcb_window_t window;
        xcb_get_property_cookie_t startupId, windowClass, pid;
    };
    const desktop::StartedApplication& started = waiting.started;
    const bool byName = !started.startupId.empty() || !started.windowClasses.empty();
    std::vector<Asked> asked;
    for (xcb_window_t window : clients) {
        if (std::binary_search(waiting.before.begin(), waiting.before.end(), window))
            continue;
        Asked a{window, {}, {}, {}};
        if (byName) {
            a.startupId = xcb_get_property(connection_, 0, window, atom("_NET_STARTUP_ID"),
                                           XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
            a.windowClass = xcb_get_property(connection_, 0, window, XCB_ATOM_WM_CLASS,
                                             XCB_ATOM_STRING, 0, 256);
        }
        a.pid =
            xcb_get_property(connection_, 0, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1);
        asked.push_back(a);
    }
    xcb_window_t found = XCB_WINDOW_NONE;
    int best = 0;
    for (const Asked& a : asked) {
        std::string startupId, instance, windowClass;
        if (byName) {
            startupId = PropertyText(xcb_get_property_reply(connection_, a.startupId, nullptr));
            const std::string names =
                PropertyText(xcb_get_property_reply(connection_, a.windowClass, nullptr));
            instance = names.substr(0, names.find('\0'));
            if (instance.size() + 1 < names.size())
                windowClass = names.substr(instance.size() + 1);
            windowClass = windowClass.substr(0, windowClass.find('\0'));
        }
        std::uint32_t pid = 0;
        const std::string pidBytes =
            PropertyText(xcb_get_property_reply(connection_, a.pid, nullptr));
        if (pidBytes.size() >= 4)
            std::memcpy(&pid, pidBytes.data(), 4);
        const int match = WindowMatch(started, startupId, instance, windowClass, pid);
        if (match > best) {
            best = match;
            found = a.window;
        }
    }
    return found;
}

void WindowStates::sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0,
                              std::uint32_t d1, std::uint32_t d2, std::uint32_t d3) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
}

void WindowStates::endAnnouncement(const Waiting& waiting) {
    if (notifier_ && !waiting.started.startupId.empty())
        notifier_->remove(waiting.started.startupId);
}

void WindowStates::apply(const Waiting& waiting) {
    if (ShowCommandEffect(waiting.showCommand) > 0) {
        sendToRoot(waiting.window, atom("_NET_WM_STATE"), kStateAdd,
                   atom("_NET_WM_STATE_MAXIMIZED_VERT"), atom("_NET_WM_STATE_MAXIMIZED_HORZ"),
                   kSourceApplication);
    } else {
        sendToRoot(waiting.window, atom("WM_CHANGE_STATE"), kIconicState);
    }
}

bool WindowStates::hasState(xcb_window_t window, int effect) {
    const xcb_atom_t wanted =
        atom(effect > 0 ? "_NET_WM_STATE_MAXIMIZED_VERT" : "_NET_WM_STATE_HIDDEN");
    auto cookie =
        xcb_get_property(connection_, 0, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    if (!reply)
        return true;  // the window is gone: nothing more to do
    const int count = xcb_get_property_value_length(reply) / 4;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const bool found = std::find(atoms, atoms + count, wanted) != atoms + count;
    std::free(reply);
    return found;
}

void WindowStates::poll() {
    const qint64 now = clock_.elapsed();
    // One look at the window list serves every start that is still waiting.
    std::vector<xcb_window_t> clients;
    if (std::any_of(waiting_.begin(), waiting_.end(),
                    [](const Waiting& w) { return w.window == XCB_WINDOW_NONE; }))
        clients = clientList();
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->window == XCB_WINDOW_NONE) {
            it->window = windowOf(*it, clients);
            if (it->window != XCB_WINDOW_NONE) {
                endAnnouncement(*it);
                if (ShowCommandEffect(it->showCommand) == 0) {
                    it = waiting_.erase(it);
                    continue;
                }
                apply(*it);
                it->checkAt = now + kSettleMs;
            } else if (now > it->deadline) {
                endAnnouncement(*it);
                it = waiting_.erase(it);
                continue;
            }
            ++it;
        } else if (now >= it->checkAt) {
            // A program that raises itself right after it appears undoes the request; it is
            // made once more after the program has settled.
            if (!hasState(it->window, ShowCommandEffect(it->showCommand)))
                apply(*it);
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    if (waiting_.empty())
        poll_.stop();
}

bool WindowStates::showingDesktop() {
    auto cookie = xcb_get_property(connection_, 0, root_, atom("_NET_SHOWING_DESKTOP"),
                                   XCB_ATOM_CARDINAL, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    bool showing = false;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        showing = *static_cast<std::uint32_t*>(xcb_get_property_value(reply)) != 0;
    std::free(reply);
    return showing;
}

void WindowStates::toggleShowingDesktop() {
    sendToRoot(root_, atom("_NET_SHOWING_DESKTOP"), showingDesktop() ? 0 : 1);
}

}  // namespace brisko::x11
