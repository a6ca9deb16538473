#include "DesktopSettings.h"

#include <algorithm>
#include <cctype>

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
    static const std::vector<SettingsPanel> table = {
        {"desk.cpl", D::Gnome, {"gnome-control-center", "display"}},
        {"desk.cpl", D::Kde, {"systemsettings", "kcm_kscreen"}},
        {"desk.cpl", D::Xfce, {"xfce4-display-settings"}},
        {"desk.cpl", D::Other, {"arandr"}},
        {"timedate.cpl", D::Gnome, {"gnome-control-center", "datetime"}},
        {"timedate.cpl", D::Kde, {"systemsettings", "kcm_clock"}},
        {"timedate.cpl", D::Xfce, {"time-admin"}},
        {"intl.cpl", D::Gnome, {"gnome-control-center", "region"}},
        {"intl.cpl", D::Kde, {"systemsettings", "kcm_regionandlang"}},
        {"intl.cpl", D::Xfce, {"xfce4-keyboard-settings"}},
        {"mmsys.cpl", D::Gnome, {"gnome-control-center", "sound"}},
        {"mmsys.cpl", D::Kde, {"systemsettings", "kcm_pulseaudio"}},
        {"mmsys.cpl", D::Xfce, {"pavucontrol"}},
        {"mmsys.cpl", D::Other, {"pavucontrol"}},
        {"appwiz.cpl", D::Gnome, {"gnome-software"}},
        {"appwiz.cpl", D::Kde, {"plasma-discover"}},
        {"appwiz.cpl", D::Xfce, {"synaptic-pkexec"}},
        {"appwiz.cpl", D::Other, {"synaptic-pkexec"}},
        {"sysdm.cpl", D::Gnome, {"gnome-control-center", "info-overview"}},
        {"sysdm.cpl", D::Kde, {"kinfocenter"}},
        {"sysdm.cpl", D::Xfce, {"xfce4-about"}},
        {"sysdm.cpl", D::Other, {"hardinfo"}},
        {"control.exe", D::Gnome, {"gnome-control-center"}},
        {"control.exe", D::Kde, {"systemsettings"}},
        {"control.exe", D::Xfce, {"xfce4-settings-manager"}},
        {"control.exe", D::Other, {"lxqt-config"}},
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
    if (parts.size() != 3)
        return std::nullopt;
    if (Lower(parts[0]) != "rundll32.exe" && Lower(parts[0]) != "rundll32")
        return std::nullopt;
    if (Lower(parts[1]) != "shell32.dll,control_rundll")
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
