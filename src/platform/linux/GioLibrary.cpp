#include "GioLibrary.h"

#include <dlfcn.h>

namespace brisko::desktop {

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

const GioLibrary* Load() {
    // Never closed: GIO registers types and threads that must outlive any unload.
    void* library = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static GioLibrary gio{};
    const bool complete =
        Resolve(library, "g_free", gio.free) && Resolve(library, "g_strdup", gio.dup) &&
        Resolve(library, "g_error_free", gio.errorFree) &&
        Resolve(library, "g_object_new", gio.objectNew) &&
        Resolve(library, "g_object_unref", gio.objectUnref) &&
        Resolve(library, "g_type_register_static_simple", gio.typeRegisterStaticSimple) &&
        Resolve(library, "g_type_class_peek_parent", gio.typeClassPeekParent) &&
        Resolve(library, "g_bus_get_sync", gio.busGetSync) &&
        Resolve(library, "g_app_info_get_commandline", gio.appInfoGetCommandline) &&
        Resolve(library, "g_app_info_get_name", gio.appInfoGetName) &&
        Resolve(library, "g_app_info_get_executable", gio.appInfoGetExecutable) &&
        Resolve(library, "g_app_launch_context_get_type", gio.appLaunchContextGetType) &&
        Resolve(library, "g_app_launch_context_setenv", gio.appLaunchContextSetenv) &&
        Resolve(library, "g_desktop_app_info_new_from_filename",
                gio.desktopAppInfoNewFromFilename) &&
        Resolve(library, "g_desktop_app_info_get_is_hidden", gio.desktopAppInfoGetIsHidden) &&
        Resolve(library, "g_desktop_app_info_get_boolean", gio.desktopAppInfoGetBoolean) &&
        Resolve(library, "g_desktop_app_info_get_string", gio.desktopAppInfoGetString) &&
        Resolve(library, "g_desktop_app_info_get_startup_wm_class",
                gio.desktopAppInfoGetStartupWmClass) &&
        Resolve(library, "g_desktop_app_info_launch_uris_as_manager",
                gio.desktopAppInfoLaunchUrisAsManager);
    return complete ? &gio : nullptr;
}

}  // namespace

const GioLibrary* GioLibrary::Get() {
    static const GioLibrary* const gio = Load();
    return gio;
}

}  // namespace brisko::desktop
