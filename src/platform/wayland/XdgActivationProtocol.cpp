// The generated tables of xdg_activation_v1. They name two core interfaces that live in
// libwayland-client, which Brisko does not link; stand-ins with the same names take their place.
// No object of either is ever made through them, and libwayland compares the interfaces of the
// objects that events carry by name.
#include <wayland-util.h>

#define wl_seat_interface brisko_stand_in_wl_seat_interface
#define wl_surface_interface brisko_stand_in_wl_surface_interface

extern "C" {
// Declared first so that the tables, const in C++, keep the external linkage they have in C.
extern const struct wl_interface xdg_activation_v1_interface;
extern const struct wl_interface xdg_activation_token_v1_interface;
#include "xdg-activation-v1-protocol.c"

const struct wl_interface brisko_stand_in_wl_seat_interface = {"wl_seat", 1, 0,
                                                               nullptr,   0, nullptr};
const struct wl_interface brisko_stand_in_wl_surface_interface = {"wl_surface", 1, 0,
                                                                  nullptr,      0, nullptr};
}
