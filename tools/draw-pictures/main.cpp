// Draws every picture of the program into a folder (normally data/images).
// Usage: draw-pictures <output folder>

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

#include "Icons.h"
#include "Painting.h"
#include "Scenes.h"

namespace {

struct Navigation {
    const char* name;
    int width;
    const char* german;
    const char* english;
    const char* icon;
};

constexpr Navigation kNavigation[] = {
    {"welcome", 114, "Willkommen", "Welcome", "welcome"},
    {"slots", 139, "Hot Key setzen", "Set Hot Key", "slots"},
    {"hide", 112, "Verstecken", "Hide", "hide"},
    {"quit", 94, "Beenden", "Exit", "quit"},
};

void drawAll(const QString& out) {
    QDir root(out);
    for (const char* sub : {"actions", "menu", "buttons", "luna", "theme/luna", "theme/silver"})
        root.mkpath(sub);
    auto path = [&](const QString& name) { return root.filePath(name); };
    using namespace draw;

    savePng(splash(true), path("splash.png"));
    savePng(splash(false), path("info.png"));
    savePng(programIcon(64), path("brisko.png"));
    savePng(programIcon(32), path("brisko-32.png"));
    savePng(programIcon(16), path("brisko-16.png"));

    savePng(header(122, 118), path("header-welcome.png"));
    savePng(header(244, 122), path("header-slots.png"));
    savePng(win95Bar(), path("bar.png"));
    savePng(welcomeBackground(), path("welcome-background.png"));
    savePng(slotsBackground(), path("slots-background.png"));
    savePng(bullet(), path("bullet.png"));

    for (int action = 1; action <= 21; ++action)
        savePng(actionIcon(action),
                path(QStringLiteral("actions/action-%1.png").arg(action, 2, 10, QLatin1Char('0'))));
    for (const char* name : {"load", "save", "quit", "delete-all", "welcome", "slots", "options",
                             "update", "help", "info", "tray-show"})
        savePng(namedIcon(name), path(QStringLiteral("menu/%1.png").arg(name)));
    savePng(namedIcon("quit"), path("menu/tray-quit.png"));
    for (const char* name :
         {"browse", "web", "openmode", "text", "save", "check", "download", "cancel"})
        savePng(namedIcon(name), path(QStringLiteral("buttons/%1.png").arg(name)));
    for (const auto& nav : kNavigation)
        savePng(namedIcon(nav.icon), path(QStringLiteral("buttons/nav-%1.png").arg(nav.name)));

    const struct {
        NavState state;
        const char* suffix;
    } states[] = {
        {NavState::Normal, "normal"}, {NavState::Hover, "hover"}, {NavState::Pressed, "pressed"}};
    for (const auto& nav : kNavigation) {
        for (const auto& s : states) {
            savePng(lunaNavigation(nav.width, QString::fromUtf8(nav.german), nav.icon, s.state),
                    path(QStringLiteral("luna/de-%1-%2.png").arg(nav.name, s.suffix)));
            savePng(lunaNavigation(nav.width, QString::fromUtf8(nav.english), nav.icon, s.state),
                    path(QStringLiteral("luna/en-%1-%2.png").arg(nav.name, s.suffix)));
        }
    }
    saveJpeg(lunaBar(), path("01.JPG"));
    saveJpeg(lunaBackground(), path("02.JPG"));

    savePng(blueBackground(394, 361), path("editor-background.png"));
    savePng(blueBar(394, 46), path("editor-bar.png"));
    savePng(blueBackground(305, 317), path("options-background.png"));
    savePng(blueBar(313, 46), path("options-bar.png"));
    savePng(namedIcon("autostart", 32), path("icon-autostart.png"));
    savePng(namedIcon("welcome", 32), path("icon-welcome.png"));
    savePng(namedIcon("style", 32), path("icon-style.png"));
    savePng(flag(true), path("flag-german.png"));
    savePng(flag(false), path("flag-english.png"));
    savePng(updateBackground(), path("update-background.png"));

    for (bool luna : {true, false}) {
        const QString set = luna ? "theme/luna/" : "theme/silver/";
        savePng(buttonStrip(luna), path(set + "button.png"));
        savePng(checkStrip(luna, false), path(set + "checkbox.png"));
        savePng(checkStrip(luna, true), path(set + "radio.png"));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-pictures <output folder>\n");
        return 2;
    }
    try {
        drawAll(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "draw-pictures: %s\n", e.what());
        return 1;
    }
    return 0;
}
