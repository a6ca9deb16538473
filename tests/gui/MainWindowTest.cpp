#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "FakeSettingsStore.h"
#include "FakeUserPrompts.h"
#include "app/MainWindow.h"
#include "widgets/BitmapStyle.h"
#include "widgets/ImageButton.h"

namespace brisko {
namespace {

using testing::FakeSettingsStore;
using testing::FakeUserPrompts;

class MainWindowTest : public ::testing::Test {
protected:
    void create(InterfaceStyle choice = InterfaceStyle::Blue) {
        window = std::make_unique<MainWindow>(model, store, prompts, BRISKO_TEST_DATA_DIR);
        window->setPageSwitchStyle(choice);
        QObject::connect(window.get(), &MainWindow::textEditorRequested,
                         [this](int n) { openedEditor = n; });
        window->applyInterfaceStyle();
    }
    template <typename T = QWidget>
    T* child(const QString& name) {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QLabel* label(const QString& name) { return child<QLabel>(name); }
    QColor colour(const QString& name) {
        return label(name)->palette().color(QPalette::WindowText);
    }

    FakeSettingsStore store;
    FakeUserPrompts prompts;
    SlotModel model;
    std::unique_ptr<MainWindow> window;
    int openedEditor = 0;
};

TEST_F(MainWindowTest, RowLayoutFollowsTheActionWithinOneTick) {
    create();
    SlotRow& row = window->row(4);
    model.setProgramPath(4, "/usr/bin/xterm");

    model.setAction(4, 2);
    window->tick();
    EXPECT_TRUE(row.pathField()->isEnabled());
    EXPECT_FALSE(row.browseButton()->isHidden());
    EXPECT_EQ(row.browseButton()->x(), 560);
    EXPECT_EQ(row.browseButton()->width(), 59);
    EXPECT_FALSE(row.openModeButton()->isHidden());
    EXPECT_EQ(row.openModeButton()->x(), 620);
    EXPECT_EQ(row.openModeButton()->width(), 59);
    EXPECT_TRUE(row.webButton()->isHidden());
    EXPECT_TRUE(row.textButton()->isHidden());
    EXPECT_EQ(row.actionList()->currentIndex(), 2);

    model.setAction(4, 18);
    window->tick();
    EXPECT_FALSE(row.pathField()->isEnabled());
    EXPECT_EQ(row.pathField()->text(), "/usr/bin/xterm") << "a disabled path keeps its text";
    EXPECT_FALSE(row.webButton()->isHidden());
    EXPECT_EQ(row.webButton()->x(), 560);
    EXPECT_FALSE(row.openModeButton()->isHidden());
    EXPECT_TRUE(row.browseButton()->isHidden());

    model.setAction(4, 17);
    window->tick();
    EXPECT_FALSE(row.textButton()->isHidden());
    EXPECT_EQ(row.textButton()->x(), 560);
    EXPECT_EQ(row.textButton()->width(), 119);
    EXPECT_TRUE(row.openModeButton()->isHidden());
    EXPECT_TRUE(row.webButton()->isHidden());

    for (int other : {0, 6, 21, kNoAction}) {
        model.setAction(4, other);
        window->tick();
        EXPECT_FALSE(row.pathField()->isEnabled()) << other;
        EXPECT_TRUE(row.browseButton()->isHidden() && row.webButton()->isHidden() &&
                    row.openModeButton()->isHidden() && row.textButton()->isHidden())
            << other;
        EXPECT_EQ(row.actionList()->currentIndex(), other);
    }
}

TEST_F(MainWindowTest, RowsFollowTheDesign) {
    create();
    for (int n : {1, 11}) {
        SlotRow& row = window->row(n);
        const int y = 112 + 32 * (n - 1);
        EXPECT_EQ(row.keyLabel()->x(), 8);
        EXPECT_EQ(row.keyLabel()->text(), QString("F%1").arg(n));
        EXPECT_EQ(row.keyLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        EXPECT_EQ(row.actionList()->geometry(), QRect(32, y, 241, 22));
        EXPECT_EQ(row.actionList()->maxVisibleItems(), 8);
        EXPECT_EQ(row.actionList()->count(), 22);
        EXPECT_EQ(row.pathField()->geometry().topLeft(), QPoint(280, y));
        EXPECT_EQ(row.pathField()->width(), 273);
        EXPECT_FALSE(row.pathField()->focusPolicy() & Qt::TabFocus) << "Tab skips the path";
        EXPECT_EQ(row.pathField()->toolTip(),
                  QString::fromUtf8("Geben Sie hier den Pfad zum gewünschten Programm ein oder "
                                    "klicken Sie auf \"Durchsuchen\""));
        EXPECT_EQ(row.showModeField()->text(), "1");
        EXPECT_TRUE(row.showModeField()->isHidden());
    }
}

TEST_F(MainWindowTest, AnOpenActionListShowsEightEntries) {
    // The program's style opens the list below its field, eight entries high.
    QApplication::setStyle(
        new BitmapStyle(BitmapStyle::Set::Luna, QStringLiteral(BRISKO_TEST_DATA_DIR "/images")));
    create();
    window->show();
    QComboBox* list = window->row(6).actionList();
    list->showPopup();
    QAbstractItemView* view = list->view();
    int rows = 0;
    for (int i = 0; i < list->count(); ++i)
        if (view->viewport()->rect().contains(view->visualRect(view->model()->index(i, 0))))
            ++rows;
    EXPECT_EQ(rows, 8);
    if (const char* dir = std::getenv("BRISKO_GRAB_DIR"))
        view->window()->grab().save(QString::fromLocal8Bit(dir) + "/action-list.png");
    list->hidePopup();
}

TEST_F(MainWindowTest, UserEditsReachTheModel) {
    create();
    SlotRow& row = window->row(3);
    row.actionList()->setCurrentIndex(2);
    emit row.actionList()->activated(2);
    EXPECT_EQ(model.action(3), 2);
    window->tick();
    row.pathField()->setText("/bin/true");
    emit row.pathField()->textEdited("/bin/true");
    EXPECT_EQ(model.programPath(3), "/bin/true");
    row.modeItem(2)->trigger();
    EXPECT_EQ(model.showMode(3), "2");
    EXPECT_EQ(row.showModeField()->text(), "2");
}

TEST_F(MainWindowTest, WebButtonHintShowsTheAddress) {
    create();
    SlotRow& row = window->row(2);
    window->tick();
    EXPECT_EQ(row.webButton()->hint(), QString::fromUtf8("Webseite auswählen"));
    prompts.inputs = {QString("x")};
    window->editWebAddress(2);
    EXPECT_EQ(model.webAddress(2), "x");
    window->tick();
    EXPECT_EQ(row.webButton()->hint(),
              QString::fromUtf8("Webseite auswählen (Aktuelle Webseite: x)"));

    prompts.inputs = {std::nullopt};  // Cancel keeps the address
    window->editWebAddress(2);
    EXPECT_EQ(model.webAddress(2), "x");
    EXPECT_TRUE(prompts.log.last().endsWith("| x")) << "the current address is the preset";

    prompts.inputs = {QString()};
    window->editWebAddress(2);
    window->tick();
    EXPECT_EQ(model.webAddress(2), "");
    EXPECT_EQ(row.webButton()->hint(), QString::fromUtf8("Webseite auswählen"));
}

TEST_F(MainWindowTest, CheckMarksFollowARestoredShowMode) {
    create();
    SlotRow& row = window->row(5);
    EXPECT_TRUE(row.modeItem(0)->isChecked());
    model.setShowMode(5, "3");
    window->tick();
    EXPECT_TRUE(row.modeItem(1)->isChecked());
    EXPECT_FALSE(row.modeItem(0)->isChecked());
    EXPECT_EQ(row.modeItem(1)->objectName(), "MenuItem11");
    EXPECT_EQ(row.showModeField()->text(), "3");

    model.setShowMode(5, "7");  // unknown: field and marks stay
    window->tick();
    EXPECT_TRUE(row.modeItem(1)->isChecked());
    EXPECT_EQ(model.showMode(5), "7");
}

TEST_F(MainWindowTest, MenuCommandsAreEnabledByPage) {
    create();
    const char* slotCommands[] = {"HotKeyVerteilungspeichern1", "HotKeyVerteilungladen1",
                                  "AlleHotKeyslschen1", "Willkommen1"};
    window->showWelcomePage(true);
    window->tick();
    for (const char* name : slotCommands)
        EXPECT_FALSE(window->action(name)->isEnabled()) << name;
    EXPECT_TRUE(window->action("HotKeysetzen1")->isEnabled());

    window->showSlotPage(true);
    window->tick();
    for (const char* name : slotCommands)
        EXPECT_TRUE(window->action(name)->isEnabled()) << name;
    EXPECT_FALSE(window->action("HotKeysetzen1")->isEnabled());
}

TEST_F(MainWindowTest, PageSwitchVariantsDependOnTheCaller) {
    create(InterfaceStyle::Blue);
    window->showSlotPage(true);
    EXPECT_TRUE(label("Image1")->isHidden());
    EXPECT_FALSE(label("Image9")->isHidden());
    window->action("Willkommen1")->trigger();  // designed look chosen: designed variant
    EXPECT_FALSE(window->welcomePage()->isHidden());
    EXPECT_FALSE(label("Image1")->isHidden());
    EXPECT_TRUE(label("Image9")->isHidden());

    create(InterfaceStyle::Win95);
    window->showWelcomePage(true);
    window->action("HotKeysetzen1")->trigger();  // plain variant: pictures untouched
    EXPECT_TRUE(window->welcomePage()->isHidden());
    EXPECT_FALSE(label("Image1")->isHidden());
    EXPECT_TRUE(label("Image9")->isHidden());

    child<QPushButton>("SpeedButton4")->click();  // plain navigation
    EXPECT_FALSE(window->welcomePage()->isHidden());
    emit child<ImageButton>("ImageButton38")->clicked();  // designed hot spot
    EXPECT_TRUE(window->welcomePage()->isHidden());
    EXPECT_FALSE(label("Image9")->isHidden());
}

TEST_F(MainWindowTest, Win95StyleIsPlain) {
    store.set("Style", "Win95");
    create();
    window->fixUpStylePictures();
    EXPECT_FALSE(label("Image10")->isHidden());
    for (const char* hidden : {"Image1", "Image9", "Image2", "Image4", "Image5", "Label13"})
        EXPECT_TRUE(label(hidden)->isHidden()) << hidden;
    EXPECT_TRUE(child("ImageButton1")->isHidden());
    EXPECT_FALSE(child("SpeedButton7")->isHidden());
    EXPECT_EQ(label("Label26")->x(), 14);
    EXPECT_EQ(colour("Label26"), QColor(Qt::black));
    EXPECT_EQ(colour("Label2"), QColor(Qt::black)) << "key label F1";
    EXPECT_EQ(label("Label15")->x(), 40);
    EXPECT_EQ(window->style(), InterfaceStyle::Win95);
}

TEST_F(MainWindowTest, UnknownStyleKeepsTheDesignedLook) {
    for (const char* value : {"Blue", "", "win95", "Luna "}) {
        store.set("Style", value);
        create();
        EXPECT_EQ(window->style(), InterfaceStyle::Blue) << value;
        EXPECT_TRUE(label("Image10")->isHidden()) << value;
        EXPECT_EQ(colour("Label26"), QColor(Qt::white)) << value;
        EXPECT_FALSE(child("ImageButton1")->isHidden()) << value;
    }
}

TEST_F(MainWindowTest, LunaNavigationFollowsTheLanguage) {
    store.set("Style", "Luna");
    struct Case {
        const char* lang;
        int germanY;
        int englishY;
    };
    for (Case c : {Case{nullptr, 24, 544}, Case{"English", 544, 24}, Case{"German", 24, 544},
                   Case{"Deutsch", 544, 544}}) {
        if (c.lang)
            store.set("Lang", c.lang);
        create();
        const char* lang = c.lang ? c.lang : "(missing)";
        EXPECT_EQ(child("ImageButton25")->y(), c.germanY) << lang;
        EXPECT_EQ(child("ImageButton41")->y(), c.germanY) << lang;
        EXPECT_EQ(child("ImageButton42")->y(), c.englishY) << lang;
        EXPECT_EQ(child("ImageButton67")->y(), c.englishY) << lang;
    }
    EXPECT_TRUE(prompts.named("Error").isEmpty()) << prompts.log.join("\n").toStdString();
    EXPECT_EQ(window->welcomePage()->geometry(), QRect(0, 59, 687, 430));
    EXPECT_EQ(label("Image10")->geometry(), QRect(0, 24, 687, 35));
    EXPECT_EQ(colour("Label1"), QColor(0, 0, 128));
    EXPECT_TRUE(label("Image1")->isHidden());
}

TEST_F(MainWindowTest, LunaWithAMissingPictureShowsTheErrorAndStops) {
    QTemporaryDir empty;
    store.set("Style", "Luna");
    store.set("Path", empty.path().toStdString());
    create();
    ASSERT_EQ(prompts.named("Error").size(), 1) << prompts.log.join("\n").toStdString();
    EXPECT_TRUE(prompts.log.first().contains("01.JPG"));
    // The steps before the pictures are done, those after are not.
    EXPECT_EQ(child("ImageButton25")->y(), 24);
    EXPECT_EQ(colour("Label26"), QColor(Qt::white));
    EXPECT_NE(window->welcomePage()->y(), 59);
}

TEST_F(MainWindowTest, LunaFindsPicturesWithOrWithoutATrailingSeparator) {
    store.set("Style", "Luna");
    for (QString path :
         {QStringLiteral(BRISKO_TEST_DATA_DIR), QStringLiteral(BRISKO_TEST_DATA_DIR) + "/"}) {
        store.set("Path", path.toStdString());
        create();
        EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join("\n").toStdString();
    }
}

TEST_F(MainWindowTest, DeleteAllAskedNoChangesNothingYesClearsAll) {
    create();
    for (int n = 1; n <= kSlotCount; ++n) {
        model.setAction(n, n % 2 ? 2 : 18);
        model.setProgramPath(n, "/p");
        model.setWebAddress(n, "w");
        model.setShowMode(n, n % 3 == 0 ? "3" : "2");
    }
    model.setAction(4, 17);
    model.setInsertText(4, "text");

    prompts.yes = false;
    window->deleteAll();
    ASSERT_EQ(prompts.named("YesNo").size(), 1);
    EXPECT_EQ(prompts.log.first(),
              QString::fromUtf8("YesNo: Alle Hot Keys löschen | Wollen Sie wirklich alle Hot Keys "
                                "löschen?"))
        << "the German texts when no file set them";
    EXPECT_EQ(model.action(1), 2);
    EXPECT_EQ(model.insertText(4), "text");

    prompts.yes = true;
    window->deleteAll();
    EmptyUnusedInsertTexts(model);  // the program's next tick
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(model.action(n), 0);
        EXPECT_EQ(model.programPath(n), "");
        EXPECT_EQ(model.webAddress(n), "");
        EXPECT_EQ(model.showMode(n), n % 3 == 0 ? "3" : "2");
        EXPECT_EQ(model.insertText(n), "");
    }
}

TEST_F(MainWindowTest, BrowseRemembersTheLastFileAndCancelChangesNothing) {
    create();
    window->setApplicationFolders({"/usr/share/applications"});
    prompts.files = {QString("/usr/bin/xterm")};
    window->browse(1);
    EXPECT_EQ(model.programPath(1), "/usr/bin/xterm");
    prompts.files = {std::nullopt};
    window->browse(2);
    EXPECT_EQ(model.programPath(2), "");
    EXPECT_EQ(prompts.log.last(),
              QString::fromUtf8("Open: Öffnen | Alle Dateien (*.*);;Anwendungen (*.desktop) | "
                                "/usr/bin/xterm | must exist | places /usr/share/applications"));
}

TEST_F(MainWindowTest, DesktopEntryPathShowsTheApplicationsNameAndIcon) {
    create();
    QTemporaryDir dir;
    const QString entry = dir.filePath("probe.desktop");
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[Desktop Entry]\nType=Application\nName=Probe & Co\nExec=sh\nIcon=" +
                QFileInfo(BRISKO_TEST_DATA_DIR "/images/brisko.png").absoluteFilePath() + "\n")
                   .toUtf8());
    file.close();
    QLineEdit* field = window->row(1).pathField();
    const QString plainHint = field->toolTip();
    model.setAction(1, 2);
    model.setProgramPath(1, entry.toStdString());
    window->tick();
    EXPECT_TRUE(field->toolTip().contains("<b>Probe &amp; Co</b>"))
        << field->toolTip().toStdString();
    EXPECT_TRUE(field->toolTip().contains("<img src=\"data:image/png"));
    ASSERT_EQ(field->actions().size(), 1);
    EXPECT_FALSE(field->actions().first()->icon().isNull());

    model.setProgramPath(1, "/usr/bin/xterm");
    window->tick();
    EXPECT_EQ(field->toolTip(), plainHint);
    EXPECT_TRUE(field->actions().isEmpty());
}

TEST_F(MainWindowTest, DistributionSaveAndLoadRoundTrip) {
    create();
    QTemporaryDir dir;
    model.setAction(1, 2);
    model.setProgramPath(1, "/usr/bin/xterm");
    model.setAction(2, 18);
    model.setWebAddress(2, "https://example.org");
    for (int n = 3; n <= kSlotCount; ++n)
        model.setAction(n, 0);
    const QString file = dir.filePath("mine.hkv");
    prompts.files = {file};
    window->saveDistribution();
    EXPECT_TRUE(prompts.log.last().startsWith("Save: Hot Key-Verteilungen (*.hkv) | hkv"));

    SlotModel before = model;
    model.deleteAll();
    prompts.files = {file};
    window->loadDistribution();
    EXPECT_EQ(model.programPath(1), before.programPath(1));
    EXPECT_EQ(model.webAddress(2), before.webAddress(2));
    EXPECT_EQ(model.action(2), 18);

    prompts.files = {dir.filePath("missing.hkv")};
    window->loadDistribution();
    EXPECT_EQ(prompts.named("Error"), QStringList{"Error: Datei nicht gefunden"});
    EXPECT_EQ(model.action(2), 18) << "a failed load changes nothing";
    EXPECT_FALSE(prompts.log.filter("Open:").last().endsWith("must exist"));
}

TEST_F(MainWindowTest, HoverMarksOfTheDesignedNavigation) {
    create();
    auto enter = [](QWidget* w) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &event);
    };
    auto* hide = child<ImageButton>("Imagebutton37");
    enter(hide);
    EXPECT_EQ(colour("Label28"), QColor(255, 0, 0));
    for (const char* other : {"Label13", "Label20", "Label24"})
        EXPECT_EQ(colour(other), QColor(Qt::white)) << other;
    QTest::mousePress(hide, Qt::LeftButton);
    EXPECT_EQ(colour("Label28"), QColor(Qt::white));
    enter(child<ImageButton>("ImageButton13"));
    QEvent plain(QEvent::Enter);
    QCoreApplication::sendEvent(label("Image4"), &plain);
    EXPECT_EQ(colour("Label24"), QColor(Qt::white));

    // The mark goes out when the pointer leaves, and when a dialog disables the window.
    enter(hide);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(hide, &leave);
    EXPECT_EQ(colour("Label28"), QColor(Qt::white));
    enter(hide);
    window->setEnabled(false);
    EXPECT_EQ(colour("Label28"), QColor(Qt::white));
}

TEST_F(MainWindowTest, RowButtonsOpenTheirTools) {
    create();
    model.setAction(9, 17);
    window->tick();
    emit window->row(9).textButton()->clicked();
    EXPECT_EQ(openedEditor, 9);
    EXPECT_EQ(window->row(9).textButton()->objectName(), "ImageButton53");
    EXPECT_EQ(window->row(11).openModeMenu()->objectName(), "PopupMenu13");
    EXPECT_EQ(window->row(11).modeItem(2)->objectName(), "MenuItem30");
    EXPECT_EQ(window->row(1).modeItem(0)->objectName(), "Normal1");
}

}  // namespace
}  // namespace brisko
