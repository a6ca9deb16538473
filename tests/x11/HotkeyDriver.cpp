// Runs the hotkey engine on the X11 backend, the way the program does: registration at every
// 16 ms tick and the dispatcher for every press. Slots come from the command line:
//   --log FILE          report lines: "ready", "hotkey ID", "saved", "message: TEXT"
//   --own-name NAME     the executable name that shutdown and restart terminate
//   F5=2 F5.path=P F5.show=3 F5.url=U F5.text=T
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "X11Session.h"
#include "dialogs/QtUserPrompts.h"
#include "hotkeys/BriskoError.h"
#include "hotkeys/HotkeyDispatcher.h"
#include "hotkeys/HotkeyRegistration.h"
#include "hotkeys/SystemCommands.h"
#include "platform/SessionBackends.h"
#include "platform/linux/DataDirectory.h"
#include "platform/linux/LinuxSystemControl.h"

namespace {
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string log = "/dev/null";
    std::string ownName;
    brisko::SlotModel model;
    for (int n = 1; n <= brisko::kSlotCount; ++n)
        model.setAction(n, 0);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--log" && i + 1 < argc) {
            log = argv[++i];
        } else if (arg == "--own-name" && i + 1 < argc) {
            ownName = argv[++i];
        } else if (arg.size() > 1 && arg[0] == 'F' && arg.find('=') != std::string::npos) {
            const auto eq = arg.find('=');
            const auto dot = arg.find('.');
            const std::string key = arg.substr(1, std::min(eq, dot) - 1);
            const int slot = std::stoi(key);
            const std::string value = Unescape(arg.substr(eq + 1));
            const std::string field = dot < eq ? arg.substr(dot + 1, eq - dot - 1) : "";
            if (field.empty())
                model.setAction(slot, std::stoi(value));
            if (field == "path")
                model.setProgramPath(slot, value);
            if (field == "show")
                model.setShowMode(slot, value);
            if (field == "url")
                model.setWebAddress(slot, value);
            if (field == "text")
                model.setInsertText(slot, value);
        }
    }

    // The backend is chosen as the program chooses it, so that the portal tests drive it too.
    const auto kind = brisko::desktop::ChooseBackend(std::getenv("BRISKO_BACKEND"),
                                                     std::getenv("WAYLAND_DISPLAY"),
                                                     std::getenv("XDG_SESSION_TYPE"));
    brisko::desktop::LinuxSystemControl system{brisko::platform::MakeSessionBackend(kind),
                                               brisko::desktop::DataDirectory()};
    if (!system.hotkeysAvailable()) {
        brisko::testing::AppendLine(log, "unavailable");
        return 3;
    }
    constexpr brisko::WindowHandle kMainWindow = 1;
    // Messages go to the log; the search prompt is the program's own input box.
    struct Prompts : brisko::QtUserPrompts {
        std::string log;
        void ShowMessage(const QString& text) override {
            brisko::testing::AppendLine(log, "message: " + text.toStdString());
        }
    } prompts;
    prompts.log = log;
    system.setPrompts(&prompts);
    brisko::HotkeyDispatcher dispatcher(system, model, kMainWindow,
                                        brisko::SystemVersionName(system),
                                        [&] { brisko::testing::AppendLine(log, "saved"); });
    if (!ownName.empty())
        dispatcher.setOwnExecutableName(ownName);
    system.setHotkeyHandler([&](int id) {
        brisko::testing::AppendLine(log, "hotkey " + std::to_string(id));
        try {
            dispatcher.OnHotkeyMessage(static_cast<std::uintptr_t>(id));
        } catch (const brisko::BriskoError& error) {
            system.MessageBoxA(error.what());
        }
    });

    QTimer tick;
    bool first = true;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        brisko::SyncHotkeyRegistration(system, kMainWindow, model);
        if (first)
            brisko::testing::AppendLine(log, "ready");
        first = false;
    });
    tick.start(brisko::kTickIntervalMs);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] { system.releaseAllGrabs(); });
    return app.exec();
}
