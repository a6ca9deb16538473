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

// The program with the fake tray and the fake key bindings.
struct Program {
    explicit Program(bool tray) {
        auto host = std::make_unique<testing::FakeNotifyIconHost>();
        trayHost = host.get();
        app = std::make_unique<Application>(Application::Environment{system,
                                                                     store,
                                                                     prompts,
                                                                     {},
                                                                     std::move(host),
                                                                     [tray] { return tray; },
                                                                     "BRZ",
                                                                     BRISKO_TEST_DATA_DIR,
                                                                     &bindings,
                                                                     nullptr,
                                                                     "http://127.0.0.1:1",
                                                                     QString()});
    }
    testing::FakeSystemControl system;
    testing::FakeSettingsStore store;
    testing::FakeUserPrompts prompts;
    FakeBindings bindings;
    testing::FakeNotifyIconHost* trayHost = nullptr;
    std::unique_ptr<Application> app;
};

TEST(KeyMarks, RowsShowTheDesktopsAnswerInTheLanguageAndTheNoticeIsABalloonOnce) {
    Program p(true);
    p.store.set("Lang", "English");
    p.app->start();
    p.app->model().setAction(5, 2);
    p.bindings.states[2] = {KeyMark::OtherTrigger, "Ctrl+F3"};
    p.bindings.states[4] = {KeyMark::Held, {}};
    QTest::qWait(100);

    SlotRow& row3 = p.app->mainWindow().row(3);
    EXPECT_EQ(row3.keyMark()->toolTip(), "The desktop put this action on Ctrl+F3 instead of F3.");
    EXPECT_FALSE(row3.keyMark()->isHidden());
    EXPECT_TRUE(p.app->mainWindow().row(1).keyMark()->isHidden()) << "nothing asked, nothing shown";
    // Each slot's action name reaches the desktop once, and again when it changes.
    const auto count = [&](const std::string& entry) {
        return std::count(p.bindings.described.begin(), p.bindings.described.end(), entry);
    };
    EXPECT_EQ(count("F5=Custom program"), 1);
    EXPECT_TRUE(p.trayHost->balloons.empty());

    p.bindings.states[4] = {KeyMark::NoService, {}};
    p.bindings.states[6] = {KeyMark::NoService, {}};
    QTest::qWait(200);
    EXPECT_EQ(p.app->mainWindow().row(5).keyMark()->toolTip(),
              "This desktop offers programs no global shortcuts.");
    ASSERT_EQ(p.trayHost->balloons.size(), 1u);
    EXPECT_TRUE(p.trayHost->balloons.front().startsWith(
        "Brisko | This desktop offers programs no global shortcuts: "));
    EXPECT_TRUE(p.trayHost->balloons.front().contains("xdg-desktop-portal-kde"));
    EXPECT_TRUE(p.prompts.log.isEmpty()) << p.prompts.log.join("\n").toStdString();
}

TEST(KeyMarks, WithoutATrayTheNoticeIsABoxOnce) {
    Program p(false);
    p.app->start();
    p.bindings.states[0] = {KeyMark::NoService, {}};
    QTest::qWait(200);
    EXPECT_TRUE(p.app->mainWindow().row(1).keyMark()->toolTip().contains("keine globalen"));
    EXPECT_TRUE(p.trayHost->balloons.empty());
    ASSERT_EQ(p.prompts.log.size(), 1);
    EXPECT_TRUE(p.prompts.log.front().startsWith("Message: Dieser Desktop bietet"));
}

}  // namespace
}  // namespace brisko
