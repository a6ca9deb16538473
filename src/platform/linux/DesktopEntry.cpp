#include "GioLibrary.h"

#include "DesktopEntry.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace brisko::desktop {

namespace {

constexpr const char* kSuffix = ".desktop";

// A launch context that also hands GIO the startup id itself: GIO then passes it to an
// application that is activated over D-Bus, as its platform data, where no environment reaches.
struct LaunchContext {
    GAppLaunchContext parent;
    char* startupId;
};
struct LaunchContextClass {
    GAppLaunchContextClass parent;
};
GObjectClass* launchContextParentClass = nullptr;

void LaunchContextInit(GTypeInstance* instance, gpointer) {
    reinterpret_cast<LaunchContext*>(instance)->startupId = nullptr;
}

void LaunchContextFinalize(GObject* object) {
    GioLibrary::Get()->free(reinterpret_cast<LaunchContext*>(object)->startupId);
    launchContextParentClass->finalize(object);
}

char* LaunchContextStartupId(GAppLaunchContext* context, GAppInfo*, GList*) {
    return GioLibrary::Get()->dup(reinterpret_cast<LaunchContext*>(context)->startupId);
}

void LaunchContextClassInit(gpointer type, gpointer) {
    launchContextParentClass =
        static_cast<GObjectClass*>(GioLibrary::Get()->typeClassPeekParent(type));
    static_cast<GObjectClass*>(type)->finalize = LaunchContextFinalize;
    static_cast<GAppLaunchContextClass*>(type)->get_startup_notify_id = LaunchContextStartupId;
}

GType LaunchContextType(const GioLibrary& gio) {
    static const GType type = gio.typeRegisterStaticSimple(
        gio.appLaunchContextGetType(), "BriskoLaunchContext", sizeof(LaunchContextClass),
        LaunchContextClassInit, sizeof(LaunchContext), LaunchContextInit, GTypeFlags{});
    return type;
}

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

GAppInfo* AsAppInfo(GDesktopAppInfo* info) {
    return reinterpret_cast<GAppInfo*>(info);
}

std::string TakeString(char* text) {
    std::string result = text ? text : "";
    GioLibrary::Get()->free(text);
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

    const GioLibrary* gio = GioLibrary::Get();
    if (!gio)
        return std::nullopt;
    // GIO already refuses what is no application entry and a TryExec or Exec program that is
    // not installed.
    GDesktopAppInfo* info = gio->desktopAppInfoNewFromFilename(path.c_str());
    if (!info)
        return std::nullopt;
    DesktopEntry entry;
    entry.info_.reset(info, gio->objectUnref);
    entry.path_ = path;
    if (gio->desktopAppInfoGetIsHidden(info))
        return std::nullopt;
    const char* exec = gio->appInfoGetCommandline(AsAppInfo(info));
    if ((!exec || !*exec) && !gio->desktopAppInfoGetBoolean(info, "DBusActivatable"))
        return std::nullopt;
    return entry;
}

// An entry exists only once GIO is loaded: the functions below may take it for granted.

std::string DesktopEntry::name() const {
    const char* name = GioLibrary::Get()->appInfoGetName(AsAppInfo(info_.get()));
    return name ? name : "";
}

std::string DesktopEntry::iconName() const {
    return TakeString(GioLibrary::Get()->desktopAppInfoGetString(info_.get(), "Icon"));
}

std::string DesktopEntry::binary() const {
    const char* program = GioLibrary::Get()->appInfoGetExecutable(AsAppInfo(info_.get()));
    return program ? BaseName(program) : std::string();
}

std::string DesktopEntry::startupWindowClass() const {
    const char* wmClass = GioLibrary::Get()->desktopAppInfoGetStartupWmClass(info_.get());
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
    const std::string flatpak =
        TakeString(GioLibrary::Get()->desktopAppInfoGetString(info_.get(), "X-Flatpak"));
    if (!flatpak.empty())
        classes.push_back(flatpak);
    if (std::string program = binary(); !program.empty())
        classes.push_back(program);
    return classes;
}

std::optional<StartedApplication> DesktopEntry::launch(const StartupId& startupId) const {
    const GioLibrary& gio = *GioLibrary::Get();
    // GIO announces every launch on the session bus; holding the connection spares opening
    // it again for each key press.
    static GDBusConnection* const sessionBus = gio.busGetSync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    (void)sessionBus;

    auto* ours = static_cast<LaunchContext*>(gio.objectNew(LaunchContextType(gio), nullptr));
    if (!startupId.value.empty())
        ours->startupId = gio.dup(startupId.value.c_str());
    GAppLaunchContext* context = &ours->parent;
    for (const auto& entry : StartupEnvironment(startupId)) {
        const auto equals = entry.find('=');
        gio.appLaunchContextSetenv(context, entry.substr(0, equals).c_str(),
                                   entry.c_str() + equals + 1);
    }
    pid_t pid = 0;
    GError* error = nullptr;
    const auto flags =
        static_cast<GSpawnFlags>(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDIN_FROM_DEV_NULL |
                                 G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
    const gboolean ok = gio.desktopAppInfoLaunchUrisAsManager(
        info_.get(), nullptr, context, flags, ChildSetup, nullptr, RememberPid, &pid, &error);
    gio.objectUnref(context);
    if (error)
        gio.errorFree(error);
    if (!ok)
        return std::nullopt;
    return StartedApplication{pid, startupId.value, windowClasses()};
}

}  // namespace brisko::desktop
