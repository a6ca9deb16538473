#include "SessionBackend.h"

#include <string_view>

namespace brisko::desktop {

BackendKind ChooseBackend(const char* forced, const char* waylandDisplay, const char* sessionType) {
    const std::string_view force = forced ? forced : "";
    if (force == "x11")
        return BackendKind::X11;
    if (force == "wayland")
        return BackendKind::Wayland;
    if ((waylandDisplay && *waylandDisplay) ||
        (sessionType && std::string_view(sessionType) == "wayland"))
        return BackendKind::Wayland;
    return BackendKind::X11;
}

}  // namespace brisko::desktop
