#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "FakeSettingsStore.h"
#include "FakeUserPrompts.h"
#include "dialogs/TextEditorDialog.h"
#include "widgets/PictureLabel.h"

namespace brisko {
namespace {

using testing::FakeSettingsStore;
using testing::FakeUserPrompts;

class TextEditorTest : public ::testing::Test {
protected:
    void create() {
        editor = std::make_unique<TextEditorDialog>(model, store, prompts, BRISKO_TEST_DATA_DIR);
        editor->setMainWindow(&mainWindow);
    }
    // The slot whose buffer is on top in the text area.
    int visibleSlot() {
        QWidget* w = editor->childAt(QPoint(100, 100));
        while (w && !qobject_cast<QPlainTextEdit*>(w))
            w = w->parentWidget();
        for (int n = 1; n <= kSlotCount; ++n)
            if (w == editor->buffer(n))
                return n;
        return 0;
    }
    void type(int slot, const QString& text) {
        editor->buffer(slot)->setFocus();
        editor->buffer(slot)->insertPlainText(text);
    }

    FakeSettingsStore store;
    FakeUserPrompts prompts;
    SlotModel model;
    QWidget mainWindow;
    std::unique_ptr<TextEditorDialog> editor;
};

TEST_F(TextEditorTest, OpeningASlotShowsOnlyItsBuffer) {
    create();
    editor->openForSlot(5);
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(visibleSlot(), 5);
    EXPECT_TRUE(editor->findChild<QWidget*>("Panel4")->isVisibleTo(editor.get()));
    editor->openForSlot(1);
    EXPECT_EQ(visibleSlot(), 1);
    EXPECT_FALSE(editor->findChild<QWidget*>("Panel4")->isVisibleTo(editor.get()));
    editor->openForSlot(11);
    EXPECT_EQ(visibleSlot(), 11);
}

TEST_F(TextEditorTest, OpensCentredOnTheScreenAndStaysWhereMovedWhileOpen) {
    create();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    editor->move(0, 0);
    editor->openForSlot(2);
    EXPECT_LE((editor->geometry().center() - screen.center()).manhattanLength(), 8);
    editor->move(10, 10);
    editor->openForSlot(3);  // already open: not moved again
    EXPECT_EQ(editor->pos(), QPoint(10, 10));
    editor->save();
    editor->openForSlot(3);
    EXPECT_LE((editor->geometry().center() - screen.center()).manhattanLength(), 8);
}

TEST_F(TextEditorTest, EachSlotKeepsItsTextAndTypingReachesTheModel) {
    create();
    editor->openForSlot(3);
    type(3, "Gruß\nAnna");
    EXPECT_EQ(model.insertText(3), "Gruß\nAnna");
    editor->save();
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(editor->isVisible());

    editor->openForSlot(4);
    type(4, "other");
    editor->save();
    editor->openForSlot(3);
    EXPECT_EQ(editor->buffer(3)->toPlainText(), "Gruß\nAnna");
    EXPECT_EQ(model.insertText(4), "other");
}

TEST_F(TextEditorTest, ClosingWithTheTitleBarEnablesTheMainWindowAndLosesNothing) {
    create();
    for (int slot : {1, 6}) {
        editor->openForSlot(slot);
        type(slot, QString("text %1").arg(slot));
        EXPECT_FALSE(mainWindow.isEnabled());
        editor->close();
        EXPECT_TRUE(mainWindow.isEnabled()) << slot;
        EXPECT_FALSE(editor->isVisible());
    }
    EXPECT_EQ(model.insertText(1), "text 1");
    EXPECT_EQ(model.insertText(6), "text 6");
}

TEST_F(TextEditorTest, OnlyTheOpenBufferHoldsItsTextAndFollowsTheModel) {
    create();
    model.setInsertText(10, "erste Zeile\nzweite Zeile");
    model.setInsertText(4, "vier");
    editor->syncFromModel();
    for (int n = 1; n <= kSlotCount; ++n)
        EXPECT_TRUE(editor->buffer(n)->document()->isEmpty()) << "closed: " << n;

    editor->openForSlot(10);
    EXPECT_EQ(editor->buffer(10)->toPlainText(), "erste Zeile\nzweite Zeile");
    EXPECT_TRUE(editor->buffer(4)->document()->isEmpty());
    QTextCursor caret = editor->buffer(10)->textCursor();
    caret.setPosition(5);
    editor->buffer(10)->setTextCursor(caret);
    const auto revision = model.revision();
    editor->syncFromModel();
    EXPECT_EQ(model.revision(), revision) << "a sync never writes the model back";

    // Another slot opened: the first buffer lets go of its text, and gets it back with its
    // caret when opened again.
    editor->openForSlot(4);
    EXPECT_TRUE(editor->buffer(10)->document()->isEmpty());
    editor->openForSlot(10);
    EXPECT_EQ(editor->buffer(10)->textCursor().position(), 5);

    model.setInsertText(10, "");
    editor->syncFromModel();
    EXPECT_EQ(editor->buffer(10)->toPlainText(), "");
    editor->save();
    EXPECT_TRUE(editor->buffer(10)->document()->isEmpty());
}

TEST_F(TextEditorTest, StylesAtCreation) {
    auto textColour = [this] {
        return editor->findChild<QLabel*>("Label7")->palette().color(QPalette::WindowText);
    };
    auto picturesShown = [this] {
        int shown = 0;
        for (PictureLabel* l : editor->findChildren<PictureLabel*>())
            if (l->hasPicture() && !l->isHidden())
                ++shown;
        return shown;
    };
    for (const char* value : {"Blue", "", "Luna2", "win95"}) {
        store.set("Style", value);
        create();
        EXPECT_EQ(textColour(), QColor(Qt::white)) << value;
        EXPECT_EQ(picturesShown(), 12) << value;
    }
    store.set("Style", "Win95");
    create();
    EXPECT_EQ(textColour(), QColor(Qt::black));
    EXPECT_EQ(picturesShown(), 0);
    EXPECT_EQ(editor->palette().color(QPalette::Window), QColor(240, 239, 232));

    store.set("Style", "Luna");
    create();
    EXPECT_EQ(textColour(), QColor(0, 0, 128));
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join("\n").toStdString();
}

TEST_F(TextEditorTest, LunaWithoutItsPictureStillWorks) {
    store.set("Style", "Luna");
    store.set("Path", "/nonexistent/brisko");
    create();
    EXPECT_EQ(prompts.named("Error").size(), 1);
    editor->openForSlot(2);
    type(2, "x");
    EXPECT_EQ(model.insertText(2), "x");
}

}  // namespace
}  // namespace brisko
