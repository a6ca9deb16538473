// The portal backend against the real xdg-desktop-portal frontend and a mocked desktop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QThread>

#include "PortalDesktop.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/wayland/PortalBackend.h"
#include "storage/SettingNames.h"

namespace brisko::testing {
namespace {

using namespace std::chrono_literals;
using wayland::PortalBackend;

bool Spin(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    return X11Session::waitUntil(
        [&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return condition();
        },
        timeout);
}

class PortalBackendTest : public ::testing::Test {
protected:
    void start(bool globalShortcuts = true,
               PortalDesktop::Frontend frontend = PortalDesktop::Frontend::Installed) {
        desktop_ = std::make_unique<PortalDesktop>(globalShortcuts, frontend);
        static int counter = 0;
        const QString name = QString("portal-test-%1").arg(++counter);
        bus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QString::fromStdString(desktop_->busAddress()), name));
        ASSERT_TRUE(bus_->isConnected());
        backend_ =
            std::make_unique<PortalBackend>(*bus_, nullptr, PortalBackend::Timing{100, 5000, 5000});
        backend_->setPressHandler([this](int id) { pressed_.push_back(id); });
    }
    void TearDown() override {
        backend_.reset();
        if (bus_)
            QDBusConnection::disconnectFromBus(bus_->name());
    }
    KeyMark mark(int key) { return backend_->keyState(key).mark; }

    std::unique_ptr<PortalDesktop> desktop_;
    std::unique_ptr<QDBusConnection> bus_;
    std::unique_ptr<PortalBackend> backend_;
    std::vector<int> pressed_;
};

TEST_F(PortalBackendTest, BindsTheAssignedKeysOnceAndRebindsAnEditOnce) {
    start();
    backend_->describeKey(5, "Benutzerdefiniertes Programm");
    backend_->grabKey(259, 5);
    backend_->grabKey(261, 7);
    ASSERT_TRUE(Spin([&] { return mark(5) == KeyMark::Held && mark(7) == KeyMark::Held; }));
    EXPECT_EQ(desktop_->bindCalls(), 1u);
    EXPECT_EQ(desktop_->mock("LastBound"), "F5=Benutzerdefiniertes Programm@F5;F7=Brisko F7@F7");

    // Ticks that ask for the same keys cost the desktop nothing.
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(backend_->grabKey(259, 5));

    // An edit of several rows in a row reaches the desktop as one bind; a free key is let go.
    backend_->ungrabKey(261);
    backend_->describeKey(5, "Einfügen");
    backend_->grabKey(264, 10);
    ASSERT_TRUE(Spin([&] { return desktop_->bindCalls() == 2u && mark(10) == KeyMark::Held; }));
    EXPECT_EQ(desktop_->mock("LastBound"), "F5=Einfügen@F5;F10=Brisko F10@F10");
    EXPECT_EQ(mark(7), KeyMark::None);
    QThread::msleep(300);
    QCoreApplication::processEvents();
    EXPECT_EQ(desktop_->bindCalls(), 2u);

    // Activated reaches the engine for a bound key only.
    desktop_->mock("Activate", {"string:F10"});
    desktop_->mock("Activate", {"string:F7"});
    desktop_->mock("Activate", {"string:F5"});
    ASSERT_TRUE(Spin([&] { return pressed_.size() >= 2; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed_, (std::vector<int>{264, 259}));
}

TEST_F(PortalBackendTest, TheDesktopsOwnAnswerBecomesTheKeysState) {
    start();
    desktop_->mock("SetTrigger", {"string:F3", "string:CTRL+ALT+F3"});
    desktop_->mock("SetTrigger", {"string:F4", "string:"});
    desktop_->mock("SetTrigger", {"string:F6", "string:-"});
    for (int key : {3, 4, 5, 6})
        backend_->grabKey(254 + key, key);
    ASSERT_TRUE(Spin([&] { return mark(5) == KeyMark::Held; }));
    EXPECT_EQ(mark(3), KeyMark::OtherTrigger);
    EXPECT_EQ(backend_->keyState(3).trigger, "CTRL+ALT+F3");
    EXPECT_EQ(mark(4), KeyMark::NoTrigger);
    EXPECT_EQ(mark(6), KeyMark::Refused);

    // The user gives F3 its bare key in the desktop's settings later.
    desktop_->mock("ChangeTrigger", {"string:F3", "string:F3"});
    EXPECT_TRUE(Spin([&] { return mark(3) == KeyMark::Held; }));

    // A refused bind leaves every asked-for key not held.
    desktop_->mock("SetBindResponse", {"uint32:2"});
    backend_->grabKey(265, 11);
    EXPECT_TRUE(Spin([&] { return mark(11) == KeyMark::Refused && mark(5) == KeyMark::Refused; }));
}

TEST_F(PortalBackendTest, APortalRestartGetsEverythingBoundAgain) {
    start();
    backend_->grabKey(259, 5);
    ASSERT_TRUE(Spin([&] { return mark(5) == KeyMark::Held; }));
    desktop_->restartFrontend();
    ASSERT_TRUE(Spin([&] { return desktop_->bindCalls() == 2u && mark(5) == KeyMark::Held; }));
    EXPECT_EQ(desktop_->mock("SessionCount"), "2");
    desktop_->mock("Activate", {"string:F5"});
    EXPECT_TRUE(Spin([&] { return pressed_ == std::vector<int>{259}; }));
}

TEST_F(PortalBackendTest, SyntheticKeysAndTypedTextGoThroughTheRemoteDesktopKeyboard) {
    start();
    // Ctrl+C, as the copy action sends it: the keys wait for the session the first one starts.
    backend_->sendKey(17, false);
    backend_->sendKey('C', false);
    backend_->sendKey(17, true);
    backend_->sendKey('C', true);
    EXPECT_TRUE(backend_->typeText("a\n\xc3\xa4\xe2\x82\xac"));  // a, Return, ä, €
    const std::string expected =
        "ffe3+ 63+ ffe3- 63- 61+ 61- ff0d+ ff0d- e4+ e4- 10020ac+ 10020ac-";
    EXPECT_TRUE(Spin([&] { return desktop_->mock("Keys") == expected; })) << desktop_->mock("Keys");
}

TEST_F(PortalBackendTest, TheDesktopAsksForTheKeyboardOnceAndTheGrantOutlivesTheRun) {
    // Debian 12's frontend carries no restore tokens for RemoteDesktop: a newer one's behaviour.
    start(true, PortalDesktop::Frontend::RestoringRemoteDesktop);
    IniSettingsStore store(desktop_->session().dir() + "/config");
    auto token = [&] {
        SettingsKey key = OpenSettingsKey(store);
        return key.exists(setting_names::kPortalRestoreToken)
                   ? key.read(setting_names::kPortalRestoreToken)
                   : std::string();
    };
    // One start of the program: its own connection and backend, one key through the portal.
    auto run = [&] {
        static int counter = 0;
        const QString name = QString("portal-run-%1").arg(++counter);
        QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(desktop_->busAddress()), name);
        desktop_->mock("ClearKeys");
        {
            PortalBackend backend(bus, &store, PortalBackend::Timing{100, 5000, 5000});
            backend.sendKey('A', false);
            backend.sendKey('A', true);
            EXPECT_TRUE(Spin([&] { return desktop_->mock("Keys") == "61+ 61-"; }));
        }
        QDBusConnection::disconnectFromBus(name);
    };

    run();
    const std::string first = token();
    EXPECT_FALSE(first.empty());
    run();  // the token goes back: the desktop restores the grant without asking
    EXPECT_EQ(desktop_->mock("Restored"), "- grant1");
    EXPECT_EQ(desktop_->mock("Asked"), "1");

    // The user revoked the grant in the desktop's settings: asked again, the keys still go.
    desktop_->mock("RevokeGrants");
    run();
    EXPECT_EQ(desktop_->mock("Asked"), "2");
    EXPECT_FALSE(token().empty());

    // A token that the portal refuses outright is dropped for a fresh one.
    {
        SettingsKey key = OpenSettingsKey(store);
        key.write(setting_names::kPortalRestoreToken, "edited by hand");
    }
    run();
    EXPECT_EQ(desktop_->mock("Asked"), "3");
    const std::string fresh = token();
    EXPECT_FALSE(fresh.empty());
    EXPECT_NE(fresh, "edited by hand");
    run();
    EXPECT_EQ(desktop_->mock("Asked"), "3");
    EXPECT_EQ(token(), fresh);
}

TEST_F(PortalBackendTest, NoGlobalShortcutsMeansNoKeysAndSaysSo) {
    start(false);
    backend_->grabKey(259, 5);
    ASSERT_TRUE(Spin([&] { return !backend_->hotkeysAvailable(); }));
    EXPECT_EQ(mark(5), KeyMark::NoService);
    backend_->grabKey(260, 6);
    EXPECT_EQ(mark(6), KeyMark::NoService);
}

}  // namespace
}  // namespace brisko::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
