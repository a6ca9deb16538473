#include "ActivationTokens.h"

#include <dlfcn.h>
#include <poll.h>
#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <string_view>

#include "xdg-activation-v1-client-header.h"

namespace brisko::wayland {

namespace {

// The part of libwayland-client that a token needs, looked up once the library is opened.
struct Library {
    decltype(&::wl_display_connect) connect = nullptr;
    decltype(&::wl_display_disconnect) disconnect = nullptr;
    decltype(&::wl_display_get_fd) fd = nullptr;
    decltype(&::wl_display_flush) flush = nullptr;
    decltype(&::wl_display_prepare_read) prepareRead = nullptr;
    decltype(&::wl_display_read_events) readEvents = nullptr;
    decltype(&::wl_display_cancel_read) cancelRead = nullptr;
    decltype(&::wl_display_dispatch_pending) dispatchPending = nullptr;
    decltype(&::wl_proxy_marshal_flags) marshal = nullptr;
    decltype(&::wl_proxy_add_listener) addListener = nullptr;
    decltype(&::wl_proxy_destroy) destroy = nullptr;
    decltype(&::wl_proxy_get_version) version = nullptr;
    const wl_interface* registryInterface = nullptr;
    const wl_interface* callbackInterface = nullptr;
};

template <typename T>
bool Find(void* handle, const char* name, T& slot) {
    slot = reinterpret_cast<T>(::dlsym(handle, name));
    return slot != nullptr;
}

// Opened once, and only in a session that asks for a token; Qt's Wayland platform has usually
// loaded it already.
const Library* OpenLibrary() {
    static const Library* const library = []() -> const Library* {
        void* handle = ::dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        static Library l;
        const bool complete = Find(handle, "wl_display_connect", l.connect) &&
                              Find(handle, "wl_display_disconnect", l.disconnect) &&
                              Find(handle, "wl_display_get_fd", l.fd) &&
                              Find(handle, "wl_display_flush", l.flush) &&
                              Find(handle, "wl_display_prepare_read", l.prepareRead) &&
                              Find(handle, "wl_display_read_events", l.readEvents) &&
                              Find(handle, "wl_display_cancel_read", l.cancelRead) &&
                              Find(handle, "wl_display_dispatch_pending", l.dispatchPending) &&
                              Find(handle, "wl_proxy_marshal_flags", l.marshal) &&
                              Find(handle, "wl_proxy_add_listener", l.addListener) &&
                              Find(handle, "wl_proxy_destroy", l.destroy) &&
                              Find(handle, "wl_proxy_get_version", l.version) &&
                              Find(handle, "wl_registry_interface", l.registryInterface) &&
                              Find(handle, "wl_callback_interface", l.callbackInterface);
        return complete ? &l : nullptr;
    }();
    return library;
}

// libwayland takes a listener as an array of functions that it only reads.
template <typename Listener>
void (**Implementation(const Listener& listener))(void) {
    return reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&listener));
}

wl_proxy* AsProxy(void* object) {
    return static_cast<wl_proxy*>(object);
}

struct Answer {
    bool done = false;
    std::string token;
};

}  // namespace

struct ActivationTokens::Connection {
    const Library* wl = nullptr;
    wl_display* display = nullptr;
    wl_proxy* registry = nullptr;
    wl_proxy* globalsDone = nullptr;  // the sync callback that follows the registry's globals
    wl_proxy* activation = nullptr;
    std::uint32_t activationName = 0;
    bool globalsKnown = false;
    bool broken = false;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Connection() {
        notifier.reset();
        if (!display)
            return;
        if (activation)
            wl->marshal(activation, XDG_ACTIVATION_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
        if (globalsDone)
            wl->destroy(globalsDone);
        if (registry)
            wl->destroy(registry);
        wl->flush(display);
        wl->disconnect(display);
    }

    void fail() {
        broken = true;
        if (notifier)
            notifier->setEnabled(false);
    }

    // Reads and handles what the compositor sent, waiting at most timeoutMs for something.
    void dispatch(int timeoutMs) {
        if (broken)
            return;
        while (wl->prepareRead(display) != 0) {
            if (wl->dispatchPending(display) < 0)
                return fail();
        }
        if (wl->flush(display) < 0 && errno != EAGAIN) {
            wl->cancelRead(display);
            return fail();
        }
        pollfd ready{wl->fd(display), POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) > 0) {
            if (wl->readEvents(display) < 0)
                return fail();
        } else {
            wl->cancelRead(display);
        }
        if (wl->dispatchPending(display) < 0)
            fail();
    }

    static void Global(void* data, wl_registry*, std::uint32_t name, const char* interface,
                       std::uint32_t) {
        auto* self = static_cast<Connection*>(data);
        if (self->activation || std::string_view(interface) != xdg_activation_v1_interface.name)
            return;
        self->activation =
            self->wl->marshal(self->registry, WL_REGISTRY_BIND, &xdg_activation_v1_interface, 1, 0,
                              name, xdg_activation_v1_interface.name, 1u, nullptr);
        self->activationName = name;
    }
    static void GlobalRemove(void* data, wl_registry*, std::uint32_t name) {
        auto* self = static_cast<Connection*>(data);
        if (self->activation && name == self->activationName) {
            self->wl->marshal(self->activation, XDG_ACTIVATION_V1_DESTROY, nullptr, 1,
                              WL_MARSHAL_FLAG_DESTROY);
            self->activation = nullptr;
        }
    }
    static void GlobalsDone(void* data, wl_callback*, std::uint32_t) {
        auto* self = static_cast<Connection*>(data);
        self->globalsKnown = true;
        self->wl->destroy(self->globalsDone);
        self->globalsDone = nullptr;
    }
    static void TokenDone(void* data, xdg_activation_token_v1*, const char* token) {
        auto* answer = static_cast<Answer*>(data);
        answer->done = true;
        answer->token = token ? token : "";
    }

    static constexpr wl_registry_listener kRegistry = {Global, GlobalRemove};
    static constexpr wl_callback_listener kGlobalsDone = {GlobalsDone};
    static constexpr xdg_activation_token_v1_listener kToken = {TokenDone};
};

std::string ApplicationIdOfEntry(const std::string& path) {
    constexpr std::string_view kSuffix = ".desktop";
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.size() <= kSuffix.size() ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
        return {};
    return name.substr(0, name.size() - kSuffix.size());
}

ActivationTokens::ActivationTokens(const std::string& displayName, int waitMs) : waitMs_(waitMs) {
    if (displayName.empty())
        return;
    const Library* wl = OpenLibrary();
    wl_display* display = wl ? wl->connect(displayName.c_str()) : nullptr;
    if (!display)
        return;
    connection_ = std::make_unique<Connection>();
    Connection& c = *connection_;
    c.wl = wl;
    c.display = display;
    wl_proxy* displayProxy = AsProxy(display);
    c.registry = wl->marshal(displayProxy, WL_DISPLAY_GET_REGISTRY, wl->registryInterface,
                             wl->version(displayProxy), 0, nullptr);
    c.globalsDone = wl->marshal(displayProxy, WL_DISPLAY_SYNC, wl->callbackInterface,
                                wl->version(displayProxy), 0, nullptr);
    if (!c.registry || !c.globalsDone) {
        connection_.reset();
        return;
    }
    wl->addListener(c.registry, Implementation(Connection::kRegistry), &c);
    wl->addListener(c.globalsDone, Implementation(Connection::kGlobalsDone), &c);
    wl->flush(display);
    // The answers, and anything the compositor sends later, are read as they come.
    c.notifier = std::make_unique<QSocketNotifier>(wl->fd(display), QSocketNotifier::Read);
    QObject::connect(c.notifier.get(), &QSocketNotifier::activated, c.notifier.get(),
                     [&c] { c.dispatch(0); });
}

ActivationTokens::~ActivationTokens() = default;

std::string ActivationTokens::request(const std::string& appId) {
    if (!connection_ || connection_->broken)
        return {};
    Connection& c = *connection_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs_);
    const auto remaining = [&deadline] {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
    };
    while (!c.globalsKnown && !c.broken && remaining() > 0)
        c.dispatch(remaining());
    if (!c.activation || c.broken)
        return {};

    const Library* wl = c.wl;
    wl_proxy* token = wl->marshal(c.activation, XDG_ACTIVATION_V1_GET_ACTIVATION_TOKEN,
                                  &xdg_activation_token_v1_interface, 1, 0, nullptr);
    if (!token)
        return {};
    Answer answer;
    wl->addListener(token, Implementation(Connection::kToken), &answer);
    if (!appId.empty())
        wl->marshal(token, XDG_ACTIVATION_TOKEN_V1_SET_APP_ID, nullptr, 1, 0, appId.c_str());
    wl->marshal(token, XDG_ACTIVATION_TOKEN_V1_COMMIT, nullptr, 1, 0);
    do {
        c.dispatch(remaining());
    } while (!answer.done && !c.broken && remaining() > 0);
    // A late answer goes to the destroyed token, which libwayland drops.
    wl->marshal(token, XDG_ACTIVATION_TOKEN_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl->flush(c.display);
    return answer.token;
}

}  // namespace brisko::wayland
