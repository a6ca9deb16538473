// GIO first: its headers use names that Qt's keywords would replace.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "DesktopEntry.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

// A launch context that also hands GIO the startup id itself: GIO then passes it to an
// application that is activated over D-Bus, as its platform data, where no environment reaches.
struct BriskoLaunchContext {
    GAppLaunchContext parent;
    char* startupId;
};
struct BriskoLaunchContextClass {
    GAppLaunchContextClass parent;
};
G_DEFINE_TYPE(BriskoLaunchContext, brisko_launch_context, G_TYPE_APP_LAUNCH_CONTEXT)

static void brisko_launch_context_init(BriskoLaunchContext* context) {
    context->startupId = nullptr;
}

static void brisko_launch_context_finalize(GObject* object) {
    g_free(reinterpret_cast<BriskoLaunchContext*>(object)->startupId);
    G_OBJECT_CLASS(brisko_launch_context_parent_class)->finalize(object);
}

static char* brisko_launch_context_startup_id(GAppLaunchContext* context, GAppInfo*, GList*) {
    return g_strdup(reinterpret_cast<BriskoLaunchContext*>(context)->startupId);
}

static void brisko_launch_context_class_init(BriskoLaunchContextClass* type) {
    G_OBJECT_CLASS(type)->finalize = brisko_launch_context_finalize;
    G_APP_LAUNCH_CONTEXT_CLASS(type)->get_startup_notify_id = brisko_launch_context_startup_id;
}

namespace brisko::desktop {

namespace {

constexpr const char* kSuffix = ".desktop";

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TakeString(char* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
void ChildSetup(gpointer) {
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
}

void RememberPid(GDesktopAppInfo*, GPid pid, gpointer data) {
    *static_cast<pid_t*>(data) = pid;
}

}  // namespace

bool IsDesktopEntryName(const std::string& file) {
    const std::size_t length = std::char_traits<char>::length(kSuffix);
    if (file.size() <= length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = file[file.size() - length + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != kSuffix[i])
            return false;
    }
    return true;
}

std::vector<std::string> ApplicationFolders() {
    std::string dataHome = Environment("XDG_DATA_HOME");
    if (dataHome.empty())
        dataHome = Environment("HOME") + "/.local/share";
    std::string dataDirs = Environment("XDG_DATA_DIRS");
    if (dataDirs.empty())
        dataDirs = "/usr/local/share:/usr/share";

    std::vector<std::string> candidates = {dataHome + "/applications"};
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string::npos)
            end = dataDirs.size();
        if (end > start)
            candidates.push_back(dataDirs.substr(start, end - start) + "/applications");
        start = end + 1;
    }
    candidates.push_back("/var/lib/flatpak/exports/share/applications");
    candidates.push_back(dataHome + "/flatpak/exports/share/applications");
    candidates.push_back("/var/lib/snapd/desktop/applications");

    std::vector<std::string> folders;
    for (std::string folder : candidates) {
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        while (folder.find("//") != std::string::npos)
            folder.replace(folder.find("//"), 2, "/");
        if (folder.front() != '/' || !IsDirectory(folder))
            continue;
        bool known = false;
        for (const auto& f : folders)
            known = known || f == folder;
        if (!known)
            folders.push_back(folder);
    }
    return folders;
}

std::string NewStartupId() {
    static std::atomic<unsigned> counter{0};
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return "brisko-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + "-" +
           std::to_string(now.tv_sec) + std::to_string(now.tv_nsec / 1000);
}

std::vector<std::string> StartupEnvironment(const StartupId& id) {
    if (id.value.empty())
        return {};
    std::vector<std::string> entries = {"DESKTOP_STARTUP_ID=" + id.value};
    if (id.activationToken)
        entries.push_back("XDG_ACTIVATION_TOKEN=" + id.value);
    return entries;
}

std::optional<DesktopEntry> DesktopEntry::Load(const std::string& pathOrId) {
    if (!IsDesktopEntryName(pathOrId))
        return std::nullopt;
    std::string path;
    if (pathOrId.find('/') != std::string::npos) {
        path = pathOrId;
    } else {
        for (const auto& folder : ApplicationFolders()) {
            if (IsRegularFile(folder + "/" + pathOrId)) {
                path = folder + "/" + pathOrId;
                break;
            }
        }
    }
    if (!IsRegularFile(path))
        return std::nullopt;

    // GIO already refuses what is no application entry and a TryExec or Exec program that is
    // not installed.
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(path.c_str());
    if (!info)
        return std::nullopt;
    DesktopEntry entry;
    entry.info_.reset(info, g_object_unref);
    entry.path_ = path;
    if (g_desktop_app_info_get_is_hidden(info))
        return std::nullopt;
    const char* exec = g_app_info_get_commandline(G_APP_INFO(info));
    if ((!exec || !*exec) && !g_desktop_app_info_get_boolean(info, "DBusActivatable"))
        return std::nullopt;
    return entry;
}

std::string DesktopEntry::name() const {
    const char* name = g_app_info_get_name(G_APP_INFO(info_.get()));
    return name ? name : "";
}

std::string DesktopEntry::iconName() const {
    return TakeString(g_desktop_app_info_get_string(info_.get(), "Icon"));
}

std::string DesktopEntry::binary() const {
    const char* program = g_app_info_get_executable(G_APP_INFO(info_.get()));
    return program ? BaseName(program) : std::string();
}

std::string DesktopEntry::startupWindowClass() const {
    const char* wmClass = g_desktop_app_info_get_startup_wm_class(info_.get());
    return wmClass ? wmClass : "";
}

std::vector<std::string> DesktopEntry::windowClasses() const {
    if (std::string wmClass = startupWindowClass(); !wmClass.empty())
        return {wmClass};
    std::vector<std::string> classes;
    std::string id = BaseName(path_);
    id.resize(id.size() - std::char_traits<char>::length(kSuffix));
    classes.push_back(id);
    // Snap names its entries "<snap>_<app>"; the window class is the application's name.
    if (const auto cut = id.rfind('_'); cut != std::string::npos && cut + 1 < id.size())
        classes.push_back(id.substr(cut + 1));
    const std::string flatpak = TakeString(g_desktop_app_info_get_string(info_.get(), "X-Flatpak"));
    if (!flatpak.empty())
        classes.push_back(flatpak);
    if (std::string program = binary(); !program.empty())
        classes.push_back(program);
    return classes;
}

std::optional<StartedApplication> DesktopEntry::launch(const StartupId& startupId) const {
    // GIO announces every launch on the session bus; holding the connection spares opening
    // it again for each key press.
    static GDBusConnection* const sessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    (void)sessionBus;

    auto* ours =
        static_cast<BriskoLaunchContext*>(g_object_new(brisko_launch_context_get_type(), nullptr));
    if (!startupId.value.empty())
        ours->startupId = g_strdup(startupId.value.c_str());
    GAppLaunchContext* context = G_APP_LAUNCH_CONTEXT(ours);
    for (const auto& entry : StartupEnvironment(startupId)) {
        const auto equals = entry.find('=');
        g_app_launch_context_setenv(context, entry.substr(0, equals).c_str(),
                                    entry.c_str() + equals + 1);
    }
    pid_t pid = 0;
    GError* error = nullptr;
    const auto flags =
        static_cast<GSpawnFlags>(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDIN_FROM_DEV_NULL |
                                 G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
    const gboolean ok = g_desktop_app_info_launch_uris_as_manager(
        info_.get(), nullptr, context, flags, ChildSetup, nullptr, RememberPid, &pid, &error);
    g_object_unref(context);
    if (error)
        g_error_free(error);
    if (!ok)
        return std::nullopt;
    return StartedApplication{pid, startupId.value, windowClasses()};
}

}  // namespace brisko::desktop
