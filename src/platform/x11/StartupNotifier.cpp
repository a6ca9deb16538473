#include "StartupNotifier.h"

#include <cstdlib>
#include <cstring>

namespace brisko::x11 {

namespace {
constexpr std::size_t kChunk = 20;  // the data of one client message of format 8
constexpr const char* kBegin = "_NET_STARTUP_INFO_BEGIN";
constexpr const char* kMore = "_NET_STARTUP_INFO";

xcb_intern_atom_cookie_t Intern(xcb_connection_t* connection, const char* name) {
    return xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t AtomOf(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}
}  // namespace

std::string StartupMessage(const std::string& type,
                           const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string message = type + ":";
    for (const auto& [key, value] : fields) {
        if (value.empty())
            continue;
        message += " " + key + "=";
        if (value.find_first_of(" \"\\") == std::string::npos) {
            message += value;
            continue;
        }
        message += '"';
        for (const char c : value) {
            if (c == '"' || c == '\\')
                message += '\\';
            message += c;
        }
        message += '"';
    }
    return message;
}

std::vector<std::string> StartupMessageChunks(const std::string& message) {
    // The NUL ends the message: a value must never carry one of its own.
    std::string text = message.substr(0, message.find('\0'));
    text += '\0';
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        std::string chunk = text.substr(at, kChunk);
        chunk.resize(kChunk, '\0');
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

StartupNotifier::StartupNotifier(xcb_connection_t* connection, xcb_window_t root, int screen)
    : connection_(connection),
      root_(root),
      screen_(screen),
      window_(xcb_generate_id(connection)),
      beginCookie_(Intern(connection, kBegin)),
      moreCookie_(Intern(connection, kMore)) {
    // Receivers put a message together by the window that sent it: one of Brisko's own, never
    // mapped.
    const std::uint32_t overrideRedirect = 1;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, -100, -100, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT,
                      &overrideRedirect);
}

StartupNotifier::~StartupNotifier() {
    resolveAtoms();
    xcb_destroy_window(connection_, window_);
}

void StartupNotifier::resolveAtoms() {
    if (resolved_)
        return;
    resolved_ = true;
    begin_ = AtomOf(connection_, beginCookie_);
    more_ = AtomOf(connection_, moreCookie_);
}

void StartupNotifier::announce(const std::string& id, const desktop::LaunchDescription& launch) {
    broadcast(StartupMessage("new", {{"ID", id},
                                     {"NAME", launch.name},
                                     {"SCREEN", std::to_string(screen_)},
                                     {"BIN", launch.binary},
                                     {"ICON", launch.icon},
                                     {"WMCLASS", launch.windowClass},
                                     {"APPLICATION_ID", launch.applicationId}}));
}

void StartupNotifier::remove(const std::string& id) {
    broadcast(StartupMessage("remove", {{"ID", id}}));
}

void StartupNotifier::broadcast(const std::string& message) {
    resolveAtoms();
    if (begin_ == XCB_ATOM_NONE || more_ == XCB_ATOM_NONE)
        return;
    bool first = true;
    for (const std::string& chunk : StartupMessageChunks(message)) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window_;
        event.type = first ? begin_ : more_;
        std::memcpy(event.data.data8, chunk.data(), kChunk);
        xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
        first = false;
    }
    xcb_flush(connection_);
}

}  // namespace brisko::x11
