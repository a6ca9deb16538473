#include "SessionBackends.h"

#include <QDBusConnection>

#include <cstdlib>

#include "platform/wayland/ActivationTokens.h"
#include "platform/wayland/PortalBackend.h"
#include "platform/x11/X11Backend.h"

namespace brisko::platform {

std::unique_ptr<desktop::SessionBackend> MakeSessionBackend(desktop::BackendKind kind,
                                                            SettingsStore* store) {
    if (kind == desktop::BackendKind::Wayland) {
        auto backend =
            std::make_unique<wayland::PortalBackend>(QDBusConnection::sessionBus(), store);
        // The tokens come from the session's compositor, whether Qt draws through it or
        // through XWayland.
        const char* display = std::getenv("WAYLAND_DISPLAY");
        backend->setActivationTokens(
            std::make_unique<wayland::ActivationTokens>(display ? display : ""));
        return backend;
    }
    return std::make_unique<x11::X11Backend>();
}

}  // namespace brisko::platform
