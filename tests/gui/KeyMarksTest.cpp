// The slot rows' key marks and the one notice when the desktop offers no global shortcuts.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "FakeNotifyIconHost.h"
#include "FakeSettingsStore.h"
#include "FakeSystemControl.h"
#include "FakeUserPrompts.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SlotRow.h"
#include "hotkeys/KeyBindings.h"

namespace brisko {
namespace {

struct FakeBindings : KeyBindings {
    KeyState keyState(int slot) const override { return states[slot - 1]; }
    void describeKey(int slot, const std::string& description) override {
        described.push_back("F" + std::to_string(slot) + "=" + description);
    }
    std::array<KeyState, kSlotCount> states{};
    std::vector<std::string> described;
};

TEST(KeyMarks, RowsShowTheDesktopsAnswerAndANoticeComesOnce) {
    testing::FakeSystemControl system;
    testing::FakeSettingsStore store;
    testing::FakeUserPrompts prompts;
    FakeBindings bindings;
    Application app({system,
                     store,
                     prompts,
                     {},
                     std::make_unique<testing::FakeNotifyIconHost>(),
                     [] { return true; },
                     "BRZ",
                     BRISKO_TEST_DATA_DIR,
                     &bindings,
                     nullptr,
                     "http://127.0.0.1:1",
                     QString()});
    app.start();
    MainWindow& main = app.mainWindow();
    app.model().setAction(5, 2);
    bindings.states[2] = {KeyMark::OtherTrigger, "Ctrl+F3"};
    bindings.states[4] = {KeyMark::Held, {}};
    QTest::qWait(100);

    SlotRow& row3 = main.row(3);
    EXPECT_TRUE(row3.keyMark()->toolTip().contains("Ctrl+F3"));
    EXPECT_FALSE(row3.keyMark()->isHidden());
    EXPECT_TRUE(main.row(1).keyMark()->isHidden()) << "nothing asked, nothing shown";
    // Each slot's action name reaches the desktop once, and again when it changes.
    const auto count = [&](const std::string& entry) {
        return std::count(bindings.described.begin(), bindings.described.end(), entry);
    };
    EXPECT_EQ(count("F5=Benutzerdefiniertes Programm"), 1);
    EXPECT_TRUE(prompts.log.isEmpty());

    bindings.states[4] = {KeyMark::NoService, {}};
    bindings.states[6] = {KeyMark::NoService, {}};
    QTest::qWait(200);
    EXPECT_TRUE(main.row(5).keyMark()->toolTip().contains("keine globalen"));
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_TRUE(prompts.log.front().contains("xdg-desktop-portal"));
}

}  // namespace
}  // namespace brisko
