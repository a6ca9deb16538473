// A compositor for the tests that offers nothing but xdg_activation_v1 (headless weston 10 does
// not offer it). Every committed token request is answered with "brisko-token-N" and logged as
// "token N app_id=ID"; with --silent no request is ever answered.
//   activation_compositor SOCKET LOG [--silent]
// The socket is made in XDG_RUNTIME_DIR; "ready" is logged once it accepts clients.
#include <signal.h>
#include <wayland-server-core.h>

#include <string>

#include "X11Session.h"
#include "xdg-activation-v1-server-header.h"

namespace {

struct Compositor {
    std::string log;
    bool silent = false;
    int issued = 0;
};

struct Token {
    Compositor* compositor;
    std::string appId;
};

Token* TokenOf(wl_resource* resource) {
    return static_cast<Token*>(wl_resource_get_user_data(resource));
}

void DestroyResource(wl_client*, wl_resource* resource) {
    wl_resource_destroy(resource);
}

const struct xdg_activation_token_v1_interface kToken = {
    .set_serial = [](wl_client*, wl_resource*, std::uint32_t, wl_resource*) {},
    .set_app_id = [](wl_client*, wl_resource* resource,
                     const char* appId) { TokenOf(resource)->appId = appId; },
    .set_surface = [](wl_client*, wl_resource*, wl_resource*) {},
    .commit =
        [](wl_client*, wl_resource* resource) {
            Token* token = TokenOf(resource);
            Compositor* compositor = token->compositor;
            if (compositor->silent)
                return;
            const std::string n = std::to_string(++compositor->issued);
            xdg_activation_token_v1_send_done(resource, ("brisko-token-" + n).c_str());
            brisko::testing::AppendLine(compositor->log, "token " + n + " app_id=" + token->appId);
        },
    .destroy = DestroyResource,
};

const struct xdg_activation_v1_interface kActivation = {
    .destroy = DestroyResource,
    .get_activation_token =
        [](wl_client* client, wl_resource* resource, std::uint32_t id) {
            wl_resource* token =
                wl_resource_create(client, &xdg_activation_token_v1_interface, 1, id);
            auto* compositor = static_cast<Compositor*>(wl_resource_get_user_data(resource));
            wl_resource_set_implementation(token, &kToken, new Token{compositor, {}},
                                           [](wl_resource* r) { delete TokenOf(r); });
        },
    .activate = [](wl_client*, wl_resource*, const char*, wl_resource*) {},
};

void Bind(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &xdg_activation_v1_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &kActivation, data, nullptr);
}

int Stop(int, void* display) {
    wl_display_terminate(static_cast<wl_display*>(display));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    Compositor compositor{argv[2], argc > 3 && std::string(argv[3]) == "--silent"};
    wl_display* display = wl_display_create();
    if (!display || wl_display_add_socket(display, argv[1]) != 0)
        return 1;
    wl_global_create(display, &xdg_activation_v1_interface, 1, &compositor, Bind);
    wl_event_loop* loop = wl_display_get_event_loop(display);
    wl_event_loop_add_signal(loop, SIGTERM, Stop, display);
    wl_event_loop_add_signal(loop, SIGINT, Stop, display);
    brisko::testing::AppendLine(compositor.log, "ready");
    wl_display_run(display);
    wl_display_destroy_clients(display);
    wl_display_destroy(display);
    return 0;
}
