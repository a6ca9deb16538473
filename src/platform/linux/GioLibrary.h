#pragma once

// GIO first: its headers use names that Qt's keywords would replace.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace brisko::desktop {

/// The few GIO functions that desktop entries need. Brisko does not link GIO: it is loaded at
/// the first desktop entry read or started, so that a Brisko that never uses one maps neither
/// GIO nor the libraries only GIO needs (GObject, libmount, libselinux ...).
struct GioLibrary {
    decltype(&::g_free) free;
    char* (*dup)(const char*);  // g_strdup
    decltype(&::g_error_free) errorFree;
    decltype(&::g_object_new) objectNew;
    decltype(&::g_object_unref) objectUnref;
    decltype(&::g_type_register_static_simple) typeRegisterStaticSimple;
    decltype(&::g_type_class_peek_parent) typeClassPeekParent;
    decltype(&::g_bus_get_sync) busGetSync;
    decltype(&::g_app_info_get_commandline) appInfoGetCommandline;
    decltype(&::g_app_info_get_name) appInfoGetName;
    decltype(&::g_app_info_get_executable) appInfoGetExecutable;
    decltype(&::g_app_launch_context_get_type) appLaunchContextGetType;
    decltype(&::g_app_launch_context_setenv) appLaunchContextSetenv;
    decltype(&::g_desktop_app_info_new_from_filename) desktopAppInfoNewFromFilename;
    decltype(&::g_desktop_app_info_get_is_hidden) desktopAppInfoGetIsHidden;
    decltype(&::g_desktop_app_info_get_boolean) desktopAppInfoGetBoolean;
    decltype(&::g_desktop_app_info_get_string) desktopAppInfoGetString;
    decltype(&::g_desktop_app_info_get_startup_wm_class) desktopAppInfoGetStartupWmClass;
    decltype(&::g_desktop_app_info_launch_uris_as_manager) desktopAppInfoLaunchUrisAsManager;

    /// The library, loaded once and safe to call from any thread; nullptr when libgio or one of
    /// these functions is missing.
    static const GioLibrary* Get();
};

}  // namespace brisko::desktop
