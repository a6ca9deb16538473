#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "FakeSettingsStore.h"
#include "FakeUserPrompts.h"
#include "dialogs/OptionsDialog.h"

namespace brisko {
namespace {

using testing::FakeSettingsStore;
using testing::FakeUserPrompts;

class OptionsDialogTest : public ::testing::Test {
protected:
    void create() {
        page = "none";
        dialog = std::make_unique<OptionsDialog>(
            store, prompts,
            OptionsDialog::StartPage{[this] { page = "welcome"; }, [this] { page = "slots"; }},
            BRISKO_TEST_DATA_DIR);
        dialog->setMainWindow(&mainWindow);
    }
    QCheckBox* box(const char* name) { return dialog->findChild<QCheckBox*>(name); }
    QRadioButton* radio(const char* name) { return dialog->findChild<QRadioButton*>(name); }
    std::string run() {
        SettingsKey key(store, SettingsRoot::LocalMachine, kRunKeyPath, false);
        return key.exists(kRunValueName) ? key.read(kRunValueName) : "<missing>";
    }

    FakeSettingsStore store;
    FakeUserPrompts prompts;
    QWidget mainWindow;
    std::string page;
    std::unique_ptr<OptionsDialog> dialog;
};

TEST_F(OptionsDialogTest, OnlyTheExactNeinHidesTheWelcomePage) {
    for (const char* value : {"", "nein", "NEIN", "Ja"}) {
        store.set("Willkommen", value);
        create();
        EXPECT_EQ(page, "welcome") << value;
        EXPECT_TRUE(box("CheckBox2")->isChecked()) << value;
    }
    store.set("Willkommen", "Nein");
    create();
    EXPECT_EQ(page, "slots");
    EXPECT_FALSE(box("CheckBox2")->isChecked());
}

TEST_F(OptionsDialogTest, StoredStyleIsChecked) {
    store.set("Style", "Luna");
    create();
    EXPECT_TRUE(radio("RadioButton3")->isChecked());
    EXPECT_FALSE(radio("RadioButton1")->isChecked());
    EXPECT_EQ(dialog->styleChoice(), InterfaceStyle::Luna);

    QTemporaryDir empty;  // Luna without its picture keeps the designed look and "Blue"
    store.set("Path", empty.path().toStdString());
    create();
    EXPECT_EQ(dialog->styleChoice(), InterfaceStyle::Blue);
    EXPECT_EQ(prompts.named("Error").size(), 1);
}

TEST_F(OptionsDialogTest, SaveWritesAutostartAndWelcomeAndEnablesTheMainWindow) {
    create();
    dialog->open();
    EXPECT_FALSE(mainWindow.isEnabled());
    box("CheckBox1")->setChecked(true);
    box("CheckBox2")->setChecked(false);
    dialog->save();
    dialog->save();  // twice: the same text again
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(QString::fromStdString(run()).endsWith(" -autostart"));
    EXPECT_EQ(store.get("Willkommen"), "Nein");

    box("CheckBox1")->setChecked(false);
    dialog->close();  // a close request saves too
    EXPECT_EQ(run(), "<missing>");
    dialog->save();  // nothing to delete: no error
    EXPECT_TRUE(prompts.log.isEmpty()) << prompts.log.join("\n").toStdString();
    EXPECT_EQ(dialog->languageChoice(), -1);
}

TEST_F(OptionsDialogTest, ChoosingEnglishAndSavingWritesOnlyAutostartAndWelcome) {
    create();
    EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                          Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    dialog->open();
    store.log.clear();
    dialog->findChild<QComboBox*>("ComboBoxEx1")->setCurrentIndex(1);
    dialog->findChild<QPushButton*>("Imagebutton1")->click();
    QStringList writes;
    for (const std::string& entry : store.log)
        if (entry.rfind("Write", 0) == 0 || entry.rfind("Delete", 0) == 0)
            writes << QString::fromStdString(entry);
    EXPECT_EQ(writes, QStringList{"Write(Willkommen, \"Ja\")"});
    EXPECT_FALSE(store.has("Lang")) << "the language is stored when the program ends";
    EXPECT_EQ(dialog->languageChoice(), 1);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(OptionsDialogTest, AFailedWriteKeepsTheDialogOpen) {
    create();
    dialog->open();
    store.writable = false;
    box("CheckBox1")->setChecked(true);
    dialog->save();
    EXPECT_EQ(prompts.named("Error").size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(mainWindow.isEnabled());
}

}  // namespace
}  // namespace brisko
