#include "DesktopSettings.h"

#include <algorithm>
#include <cctype>

#include "hotkeys/ActionNames.h"

namespace brisko::desktop {

namespace {
std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::vector<std::string>> FirstInstalled(
    const std::vector<std::vector<std::string>>& candidates, const IsInstalled& installed) {
    for (const auto& command : candidates)
        if (installed(command.front()))
            return command;
    return std::nullopt;
}
}  // namespace

Desktop CurrentDesktop(const std::string& xdgCurrentDesktop) {
    std::string first = Lower(xdgCurrentDesktop.substr(0, xdgCurrentDesktop.find(':')));
    if (first == "gnome" || first == "unity" || first == "budgie" || first == "x-cinnamon" ||
        first == "cinnamon" || first == "gnome-classic" || first == "gnome-flashback")
        return Desktop::Gnome;
    if (first == "kde")
        return Desktop::Kde;
    if (first == "xfce")
        return Desktop::Xfce;
    return Desktop::Other;
}

const std::vector<SettingsPanel>& SettingsPanels() {
    using D = Desktop;
    namespace N = action_names;
    static const std::vector<SettingsPanel> table = {
        {N::kDisplayApplet, D::Gnome, {"gnome-control-center", "display"}},
        {N::kDisplayApplet, D::Kde, {"systemsettings", "kcm_kscreen"}},
        {N::kDisplayApplet, D::Xfce, {"xfce4-display-settings"}},
        {N::kDisplayApplet, D::Other, {"arandr"}},
        {N::kDateTimeApplet, D::Gnome, {"gnome-control-center", "datetime"}},
        {N::kDateTimeApplet, D::Kde, {"systemsettings", "kcm_clock"}},
        {N::kDateTimeApplet, D::Xfce, {"time-admin"}},
        {N::kRegionalApplet, D::Gnome, {"gnome-control-center", "region"}},
        {N::kRegionalApplet, D::Kde, {"systemsettings", "kcm_regionandlang"}},
        {N::kRegionalApplet, D::Xfce, {"xfce4-keyboard-settings"}},
        {N::kMultimediaApplet, D::Gnome, {"gnome-control-center", "sound"}},
        {N::kMultimediaApplet, D::Kde, {"systemsettings", "kcm_pulseaudio"}},
        {N::kMultimediaApplet, D::Xfce, {"pavucontrol"}},
        {N::kMultimediaApplet, D::Other, {"pavucontrol"}},
        {N::kSoftwareApplet, D::Gnome, {"gnome-software"}},
        {N::kSoftwareApplet, D::Kde, {"plasma-discover"}},
        {N::kSoftwareApplet, D::Xfce, {"synaptic-pkexec"}},
        {N::kSoftwareApplet, D::Other, {"synaptic-pkexec"}},
        {N::kSystemApplet, D::Gnome, {"gnome-control-center", "info-overview"}},
        {N::kSystemApplet, D::Kde, {"kinfocenter"}},
        {N::kSystemApplet, D::Xfce, {"xfce4-about"}},
        {N::kSystemApplet, D::Other, {"hardinfo"}},
        {N::kControlPanel, D::Gnome, {"gnome-control-center"}},
        {N::kControlPanel, D::Kde, {"systemsettings"}},
        {N::kControlPanel, D::Xfce, {"xfce4-settings-manager"}},
        {N::kControlPanel, D::Other, {"lxqt-config"}},
    };
    return table;
}

std::optional<std::vector<std::string>> SettingsCommand(const std::string& applet, Desktop desktop,
                                                        const IsInstalled& installed) {
    const std::string wanted = Lower(applet);
    const auto& table = SettingsPanels();
    for (const auto& row : table)
        if (wanted == row.applet && row.desktop == desktop && installed(row.command.front()))
            return row.command;
    for (const auto& row : table)
        if (wanted == row.applet && installed(row.command.front()))
            return row.command;
    return std::nullopt;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                parts.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        parts.push_back(current);
    return parts;
}

std::optional<std::string> AppletOfCommandLine(const std::string& commandLine) {
    const auto parts = SplitCommandLine(commandLine);
    static const auto expected = SplitCommandLine(action_names::kAppletCommand);  // program, entry
    if (parts.size() != 3 || expected.size() != 2)
        return std::nullopt;
    if (Lower(parts[0]) != Lower(expected[0]) && Lower(parts[0]) + ".exe" != Lower(expected[0]))
        return std::nullopt;
    if (Lower(parts[1]) != Lower(expected[1]))
        return std::nullopt;
    return Lower(parts[2]);
}

std::optional<std::vector<std::string>> FileSearchCommand(Desktop desktop,
                                                          const std::string& folder,
                                                          const IsInstalled& installed) {
    const std::vector<std::string> catfish = {"catfish", "--path=" + folder};
    const std::vector<std::string> kfind = {"kfind", folder};
    const std::vector<std::string> nautilus = {"nautilus", "--new-window", folder};
    std::vector<std::vector<std::string>> order;
    switch (desktop) {
        case Desktop::Gnome:
            order = {nautilus, catfish, kfind};
            break;
        case Desktop::Kde:
            order = {kfind, {"dolphin", "--new-window", folder}, catfish};
            break;
        case Desktop::Xfce:
            order = {catfish, {"thunar", folder}, kfind};
            break;
        case Desktop::Other:
            order = {catfish, kfind};
            break;
    }
    if (auto command = FirstInstalled(order, installed))
        return command;
    if (installed("xdg-open"))
        return std::vector<std::string>{"xdg-open", folder};
    return std::nullopt;
}

std::optional<std::vector<std::string>> ApplicationMenuCommand(Desktop desktop,
                                                               const IsInstalled& installed) {
    std::vector<std::vector<std::string>> order;
    if (desktop == Desktop::Xfce)
        order = {{"xfce4-popup-whiskermenu"}, {"xfce4-popup-applicationsmenu"}};
    else if (desktop == Desktop::Other)
        order = {
            {"lxqt-runner"}, {"lxpanelctl", "menu"}, {"jgmenu_run"}, {"rofi", "-show", "drun"}};
    return FirstInstalled(order, installed);
}

}  // namespace brisko::desktop
