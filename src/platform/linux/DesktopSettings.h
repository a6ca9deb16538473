#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brisko::desktop {

/// The desktops with their own tables; any other falls back to what is installed.
enum class Desktop { Gnome, Kde, Xfce, Other };

/// The desktop named first in XDG_CURRENT_DESKTOP (a colon-separated list; Unity, Budgie and
/// Cinnamon count as GNOME).
Desktop CurrentDesktop(const std::string& xdgCurrentDesktop);

/// One row of the settings table: what opens an applet's counterpart on a desktop.
struct SettingsPanel {
    const char* applet;  // "desk.cpl" …, or "control.exe" for the whole settings program
    Desktop desktop;
    std::vector<std::string> command;
};

/// The table of settings panels per applet and desktop (documented in the README).
const std::vector<SettingsPanel>& SettingsPanels();

/// Tells whether a program is installed (found on PATH).
using IsInstalled = std::function<bool(const std::string& program)>;

/// The command that opens the applet (case-insensitive) on the desktop: the desktop's own row
/// when its program is installed, else the first installed row of any desktop; none for an
/// unknown applet or when nothing is installed.
std::optional<std::vector<std::string>> SettingsCommand(const std::string& applet, Desktop desktop,
                                                        const IsInstalled& installed);

/// The applet of a control-panel command line, "rundll32.exe shell32.dll,Control_RunDLL x.cpl"
/// (case-insensitive, the applet lower-cased); none for any other command line.
std::optional<std::string> AppletOfCommandLine(const std::string& commandLine);

/// The desktop's file search opened on a folder, or a file manager where there is none.
std::optional<std::vector<std::string>> FileSearchCommand(Desktop desktop,
                                                          const std::string& folder,
                                                          const IsInstalled& installed);

/// A program that opens the desktop's application menu (GNOME and KDE Plasma are asked over
/// D-Bus instead; see the README); none when nothing suitable is installed.
std::optional<std::vector<std::string>> ApplicationMenuCommand(Desktop desktop,
                                                               const IsInstalled& installed);

/// Splits a command line at blanks; double quotes group a part with blanks.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace brisko::desktop
