#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "Application.h"
#include "BriskoVersion.h"
#include "InstanceLock.h"
#include "SessionSignals.h"
#include "dialogs/HttpGet.h"
#include "dialogs/Look.h"
#include "dialogs/QtUserPrompts.h"
#include "platform/SessionBackends.h"
#include "platform/linux/DataDirectory.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/LinuxSystemControl.h"
#include "widgets/BitmapStyle.h"
#include "widgets/NotifyIconHost.h"
#include "widgets/Pictures.h"

namespace {
// The maker's web site of the update check: the environment's choice over the built-in one.
QString UpdateSite() {
    const QByteArray site = qgetenv("BRISKO_UPDATE_SITE");
    return site.isEmpty() ? QStringLiteral(BRISKO_DEFAULT_UPDATE_SITE) : QString::fromUtf8(site);
}

// The update check's http module: in the program's library folder when installed, else beside
// the executable (the build tree).
QString HttpModule() {
    const QString dir = QApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/../" BRISKO_MODULE_DIR "/" + brisko::kHttpModuleFile,
                                     dir + "/" + brisko::kHttpModuleFile}) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

// --version and --help answer on the terminal without a display; 0 when the program should
// start normally.
bool AnsweredOnTerminal(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            std::printf("Brisko %s\n", BRISKO_VERSION);
            return true;
        }
        if (argument == "--help") {
            std::printf(
                "Usage: %s [-autostart] [--version] [--help]\n"
                "Binds the function keys F1 to F11 to actions.\n\n"
                "  -autostart  hide into the notification area shortly after the start\n"
                "  --version   print the version and exit\n"
                "  --help      print this help and exit\n",
                argc > 0 ? argv[0] : "BRZ");
            return true;
        }
    }
    return false;
}
}  // namespace

int main(int argc, char* argv[]) {
    if (AnsweredOnTerminal(argc, argv))
        return 0;
    // One copy per user and display, decided before anything else exists.
    brisko::InstanceLock lock;
    if (lock.acquire() == brisko::InstanceLock::Result::HeldElsewhere)
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName("Brisko");
    QApplication::setQuitOnLastWindowClosed(false);
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::German), "qtbase", "_",
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    // Worked out once here; everyone who reads data files is handed it.
    const std::string dataDirectory = brisko::desktop::DataDirectory();
    const QString dataFolder = QString::fromStdString(dataDirectory);
    QIcon icon;
    for (const char* name : {"brisko.png", "brisko-32.png", "brisko-16.png"}) {
        if (const QPixmap picture = brisko::ShippedPicture(dataFolder, name); !picture.isNull())
            icon.addPixmap(picture);
    }
    QApplication::setWindowIcon(icon);
    try {
        QApplication::setStyle(
            new brisko::BitmapStyle(brisko::BitmapStyle::Set::Luna, dataFolder + "/images"));
    } catch (const std::exception&) {
        // Without its picture strips the program keeps the desktop's own look.
    }

    brisko::IniSettingsStore store;
    const auto backend = brisko::desktop::ChooseBackend(std::getenv("BRISKO_BACKEND"),
                                                        std::getenv("WAYLAND_DISPLAY"),
                                                        std::getenv("XDG_SESSION_TYPE"));
    brisko::desktop::LinuxSystemControl system(
        brisko::platform::MakeSessionBackend(backend, &store), dataDirectory);
    brisko::QtUserPrompts prompts;
    system.setPrompts(&prompts);

    // The session end ends every process of this executable's name ("BRZ" when installed).
    const QString ownName = QFileInfo(QApplication::applicationFilePath()).fileName();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    QStringList applicationFolders;
    for (const auto& folder : brisko::desktop::ApplicationFolders())
        applicationFolders << QString::fromStdString(folder);
    brisko::Application brisko({system, store, prompts, arguments, nullptr, nullptr,
                                ownName.toStdString(), dataFolder, &system, nullptr, UpdateSite(),
                                QString(), applicationFolders, HttpModule()});
    brisko::SessionSignals sessionSignals;
    QObject::connect(&sessionSignals, &brisko::SessionSignals::sessionEnding, &brisko,
                     [&brisko] { brisko.endSession(); });
    QObject::connect(&sessionSignals, &brisko::SessionSignals::interrupted, &brisko,
                     [&brisko] { brisko.quitProgram(); });
    // Also sent at a mere checkpoint: only the slots are saved. The session's real end
    // arrives as SIGTERM or SIGHUP.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &brisko,
                     [&brisko](QSessionManager&) { brisko.commitData(); });
    system.setHotkeyHandler([&brisko](int id) { brisko.onHotkey(id); });
    brisko.start();

    const int result = QApplication::exec();
    system.releaseAllGrabs();
    return result;
}
