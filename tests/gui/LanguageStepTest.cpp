#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "FakeSettingsStore.h"
#include "FakeUserPrompts.h"
#include "app/LanguageStep.h"
#include "app/MainWindow.h"
#include "dialogs/Look.h"
#include "dialogs/TextEditorDialog.h"
#include "widgets/ImageButton.h"

namespace brisko {
namespace {

using testing::FakeSettingsStore;
using testing::FakeUserPrompts;

class LanguageTextsTest : public ::testing::Test {
protected:
    LanguageTextsTest()
        : window(model, store, prompts, BRISKO_TEST_DATA_DIR),
          editor(model, store, prompts, BRISKO_TEST_DATA_DIR),
          tray("TrayMenu") {
        tray.addAction("Brisko &starten")->setObjectName("Briskostarten1");
        tray.addSeparator();
        tray.addAction("Brisko &beenden")->setObjectName("Briskobeenden1");
        model.setAction(4, 0);
        model.setAction(9, 17);
        window.tick();
    }
    void apply(const LanguageLines& lines) {
        updateMessages = ApplyLanguageLines(lines, {&window, nullptr, &editor, nullptr, &tray});
        window.refreshAll();
        window.tick();
    }
    LanguageLines english() {
        auto lines = ReadLanguageFile(std::string(BRISKO_TEST_DATA_DIR) + "/English.lang");
        EXPECT_TRUE(lines.has_value());
        return lines.value_or(LanguageLines{});
    }
    QString hint(const QString& name) { return window.findChild<ImageButton*>(name)->hint(); }
    QString editorText(const QString& name) {
        if (auto* label = editor.findChild<QLabel*>(name))
            return label->text();
        return editor.findChild<QPushButton*>(name)->text();
    }
    QString confirmation() {
        prompts.yes = false;
        window.deleteAll();
        return prompts.named("YesNo").last();
    }

    FakeSettingsStore store;
    FakeUserPrompts prompts;
    SlotModel model;
    MainWindow window;
    TextEditorDialog editor;
    QMenu tray;
    std::array<QString, 3> updateMessages;
};

TEST_F(LanguageTextsTest, EveryTargetOfTheMainWindowEditorAndTrayGetsItsLine) {
    LanguageLines lines = english();
    lines[35] = "Nothing at all";
    apply(lines);

    EXPECT_EQ(window.menuBar()->actions()[4]->text(), QString::fromStdString(lines[12]));
    EXPECT_EQ(window.action("AlleHotKeyslschen1")->text(), QString::fromStdString(lines[5]));
    EXPECT_EQ(window.findChild<QLabel*>("Label26")->text(), QString::fromStdString(lines[17]));
    EXPECT_EQ(window.findChild<QPushButton*>("SpeedButton7")->text(),
              QString::fromStdString(lines[21]));
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(), QString::fromStdString(lines[34]));
    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(window.row(n).actionList()->itemText(0), "Nothing at all") << n;
        EXPECT_EQ(window.row(n).actionList()->itemText(21), QString::fromStdString(lines[56]));
        EXPECT_EQ(window.row(n).modeItem(0)->text(), QString::fromStdString(lines[59])) << n;
        EXPECT_EQ(window.row(n).modeItem(2)->text(), QString::fromStdString(lines[61])) << n;
    }
    EXPECT_EQ(window.row(4).actionList()->currentText(), "Nothing at all");
    EXPECT_EQ(window.row(9).actionList()->currentIndex(), 17) << "selections stay";
    EXPECT_EQ(hint("ImageButton24"), QString::fromStdString(lines[57]));
    EXPECT_EQ(hint("ImageButton66"), QString::fromStdString(lines[58]));
    EXPECT_EQ(hint("ImageButton55"), QString::fromStdString(lines[62]));
    // The periodic refresh puts the German web-address hint back.
    EXPECT_EQ(hint("ImageButton36"), QString::fromUtf8("Webseite auswählen"));

    EXPECT_EQ(editorText("Label1"), QString::fromStdString(lines[89]));
    EXPECT_EQ(editorText("Label22"), QString::fromStdString(lines[90]));
    EXPECT_EQ(editorText("SpeedButton1"), QString::fromStdString(lines[91]));
    EXPECT_EQ(editor.windowTitle(), "Editor");
    EXPECT_EQ(tray.actions().first()->text(), QString::fromStdString(lines[99]));
    EXPECT_EQ(tray.actions().last()->text(), QString::fromStdString(lines[100]));
    EXPECT_EQ(confirmation(), "YesNo: " + QString::fromStdString(lines[102]) + " | " +
                                  QString::fromStdString(lines[64]));
    EXPECT_EQ(updateMessages[2], QString::fromStdString(lines[105]));
}

TEST_F(LanguageTextsTest, TheTextButtonFaceFollowsItsHint) {
    const QImage german = window.row(9).textButton()->currentPicture().toImage();
    apply(english());
    const QImage english = window.row(9).textButton()->currentPicture().toImage();
    EXPECT_EQ(english.size(), german.size());
    EXPECT_NE(english, german) << "the face still shows the German words";
}

TEST_F(LanguageTextsTest, AShortFileEmptiesEveryTargetAfterItsEnd) {
    LanguageLines lines = english();
    for (std::size_t k = 57; k < lines.size(); ++k)
        lines[k].clear();
    apply(lines);
    EXPECT_EQ(window.row(11).actionList()->itemText(21), QString::fromStdString(lines[56]));
    EXPECT_EQ(hint("ImageButton14"), "");
    EXPECT_EQ(hint("ImageButton56"), "");
    EXPECT_EQ(window.findChild<QAction*>("MenuItem28")->text(), "");
    EXPECT_EQ(window.findChild<QAction*>("Minimiert1")->text(), "");
    EXPECT_EQ(editorText("Label21"), "");
    EXPECT_EQ(editorText("SpeedButton1"), "");
    EXPECT_EQ(tray.actions().first()->text(), "");
    EXPECT_EQ(confirmation(), "YesNo:  | ");
}

}  // namespace
}  // namespace brisko
