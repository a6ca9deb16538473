#include "SessionBackends.h"

#include <QDBusConnection>

#include "platform/wayland/PortalBackend.h"
#include "platform/x11/X11Backend.h"

namespace brisko::platform {

std::unique_ptr<desktop::SessionBackend> MakeSessionBackend(desktop::BackendKind kind,
                                                            SettingsStore* store) {
    if (kind == desktop::BackendKind::Wayland)
        return std::make_unique<wayland::PortalBackend>(QDBusConnection::sessionBus(), store);
    return std::make_unique<x11::X11Backend>();
}

}  // namespace brisko::platform
