// Writes pictures of the program's windows for the README: the splash, both pages of the main
// window, the options, the text editor and the update window in each interface style, and the
// information window. Runs on the offscreen platform.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "FakeNotifyIconHost.h"
#include "FakeSettingsStore.h"
#include "FakeSystemControl.h"
#include "FakeUserPrompts.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/Look.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/TextEditorDialog.h"
#include "dialogs/UpdateDialog.h"
#include "widgets/BitmapStyle.h"
#include "widgets/Pictures.h"

namespace {

void Save(QWidget& window, const QString& file) {
    window.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

void Shoot(const QString& directory, const char* style) {
    brisko::testing::FakeSystemControl system;
    brisko::testing::FakeSettingsStore store;
    brisko::testing::FakeUserPrompts prompts;
    store.set("Style", style);
    store.set("FirstStart", "Yes");
    store.set("F1", "2");
    store.set("F1a", "/usr/bin/firefox");
    store.set("F1aa", "3");
    store.set("F2", "18");
    store.set("F2a", "https://www.example.org");
    store.set("F2aa", "1");
    store.set("F3", "17");
    store.set("F3c", "Mit freundlichen Grüßen\r\nAnna Beispiel");
    store.set("F4", "8");
    store.set("F5", "6");
    store.set("F6", "1");
    store.set("F10", "11");
    brisko::Application app({system,
                             store,
                             prompts,
                             {},
                             std::make_unique<brisko::testing::FakeNotifyIconHost>(),
                             [] { return true; },
                             "BRZ",
                             BRISKO_TEST_DATA_DIR,
                             nullptr,
                             nullptr,
                             "http://127.0.0.1:1",
                             QString()});
    app.start();
    QApplication::processEvents();
    const QString name = QString(style).toLower();
    if (QString(style) == "Blue")
        Save(app.splash(), directory + "/splash.png");
    QTimer::singleShot(50, [] {});
    QApplication::processEvents();
    brisko::MainWindow& w = app.mainWindow();
    w.show();
    w.tick();
    QApplication::processEvents();
    w.showWelcomePage(app.options().styleChoice() == brisko::InterfaceStyle::Blue ||
                      QString(style) == "Blue");
    w.fixUpStylePictures();
    Save(w, directory + "/main-welcome-" + name + ".png");
    w.showSlotPage(QString(style) == "Blue");
    // The first tick's restore of the insert texts, then the row layout.
    brisko::ApplyStoredInsertTexts(app.stored(), app.model());
    w.tick();
    app.editor().syncFromModel();
    QApplication::processEvents();
    Save(w, directory + "/main-slots-" + name + ".png");
    if (QString(style) == "Blue") {
        QComboBox* list = w.row(6).actionList();
        list->showPopup();
        QApplication::processEvents();
        Save(*list->view()->window(), directory + "/action-list.png");
        list->hidePopup();
    }
    app.options().show();
    QApplication::processEvents();
    Save(app.options(), directory + "/options-" + name + ".png");
    app.options().hide();
    app.editor().openForSlot(3);
    QApplication::processEvents();
    Save(app.editor(), directory + "/editor-" + name + ".png");
    app.editor().hide();
    // The update window after a check that found another version.
    app.update().offeredVersion()->setText("Brisko 3.7");
    app.update().downloadButton()->setEnabled(true);
    app.update().show();
    QApplication::processEvents();
    Save(app.update(), directory + "/update-" + name + ".png");
    app.update().hide();
    if (QString(style) == "Blue") {
        app.info().show();
        QApplication::processEvents();
        Save(app.info(), directory + "/info.png");
        app.info().hide();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString directory = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("screenshots");
    QDir().mkpath(directory);
    QApplication::setStyle(
        new brisko::BitmapStyle(brisko::BitmapStyle::Set::Luna, BRISKO_TEST_DATA_DIR "/images"));
    for (const char* style : {"Blue", "Win95", "Luna"})
        Shoot(directory, style);
    return 0;
}
