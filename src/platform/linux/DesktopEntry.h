#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _GDesktopAppInfo;

namespace brisko::desktop {

/// What is known of a just started application, so that its first window can be recognised:
/// by the startup id it was handed, by a window class of its own, or by its process id.
struct StartedApplication {
    pid_t pid = 0;                           // 0 when none is known (a D-Bus activation)
    std::string startupId;                   // DESKTOP_STARTUP_ID handed to it; may be empty
    std::vector<std::string> windowClasses;  // WM_CLASS names that belong to it, any case
};

/// The id a started program is handed so that the desktop can follow its start: an X11
/// startup notification id, or an XDG activation token from a Wayland compositor.
struct StartupId {
    std::string value;             // empty: none
    bool activationToken = false;  // an XDG activation token
};

/// The child's environment entries ("NAME=value") for the id: DESKTOP_STARTUP_ID, and for a
/// token also XDG_ACTIVATION_TOKEN with the same value, as desktops hand them. None without one.
std::vector<std::string> StartupEnvironment(const StartupId& id);

/// An application as the desktop's menus show it: a desktop entry (".desktop" file), read
/// and launched through GIO as freedesktop.org's desktop-entry rules describe.
class DesktopEntry {
public:
    /// Loads a path, or a bare desktop file id ("org.example.App.desktop") looked up in
    /// ApplicationFolders(). Nothing for an entry that cannot be launched: not a desktop entry,
    /// not of type Application, Hidden=true, no Exec (unless DBusActivatable), or a TryExec or
    /// Exec program that is not installed.
    static std::optional<DesktopEntry> Load(const std::string& pathOrId);

    /// The name in the user's language.
    std::string name() const;
    /// The Icon key: a theme icon name or an absolute path; empty without one.
    std::string iconName() const;
    const std::string& path() const { return path_; }
    /// The file name of the program that Exec runs; empty without one.
    std::string binary() const;
    /// StartupWMClass; empty without one.
    std::string startupWindowClass() const;
    /// StartupWMClass when the entry gives one; else its file id, Flatpak id and program name.
    std::vector<std::string> windowClasses() const;

    /// Starts the application without files: Exec with its field codes expanded (never through
    /// a shell), in a terminal for Terminal=true, in Path, or over D-Bus when DBusActivatable.
    /// The child gets the startup id's variables (StartupEnvironment), standard streams on
    /// /dev/null, a session of its own and none of Brisko's descriptors. It is NOT reaped: the
    /// caller must wait for the returned pid (see Launcher::reapWhenDone). Nothing when the
    /// launch failed.
    std::optional<StartedApplication> launch(const StartupId& startupId) const;

private:
    std::shared_ptr<_GDesktopAppInfo> info_;
    std::string path_;
};

/// Whether a program path names a desktop entry: it ends in ".desktop" (any case).
bool IsDesktopEntryName(const std::string& file);

/// The folders that hold the desktop's applications: "applications" under XDG_DATA_HOME and
/// each of XDG_DATA_DIRS, then the exported entries of Flatpak (system and user) and Snap.
/// Only folders that exist, each once.
std::vector<std::string> ApplicationFolders();

/// A startup notification id for one launch, unique on this machine.
std::string NewStartupId();

}  // namespace brisko::desktop
