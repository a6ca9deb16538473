// Without an X display the backend must say so and keep working for everything else.
#include <gtest/gtest.h>

#include <QApplication>

#include "hotkeys/SystemCommands.h"
#include "platform/linux/LinuxSystemControl.h"
#include "platform/x11/X11Backend.h"

namespace {

TEST(Offscreen, HotkeysUnavailableButTheRestAnswers) {
    brisko::desktop::LinuxSystemControl system{std::make_unique<brisko::x11::X11Backend>(),
                                               "/opt/brisko-data"};
    EXPECT_FALSE(system.hotkeysAvailable());
    EXPECT_FALSE(system.RegisterHotKey(1, 259, 0, 116));
    EXPECT_FALSE(system.UnregisterHotKey(1, 259));
    system.keybd_event(brisko::VK_CONTROL, 0, 0, 0);  // nothing to send to; no crash
    system.releaseAllGrabs();

    // No Windows version: the engine names it "Unknown" and powers off on shutdown.
    EXPECT_EQ(brisko::SystemVersionName(system), "Unknown");
    const std::string dir = brisko::WindowsDirectory(system);
    EXPECT_EQ(dir, "/opt/brisko-data");
    char tiny[2] = {'x', 'y'};
    EXPECT_EQ(system.GetWindowsDirectoryA(tiny, sizeof tiny), dir.size() + 1);

    std::string shown;
    system.setMessageBoxHandler([&](const std::string& text) { shown = text; });
    system.MessageBoxA("Hallo");
    EXPECT_EQ(shown, "Hallo");
}

TEST(Offscreen, OnlyTheBareFunctionKeysCouldEverBeTaken) {
    brisko::desktop::LinuxSystemControl system{std::make_unique<brisko::x11::X11Backend>(), ""};
    EXPECT_FALSE(system.RegisterHotKey(1, 266, 0, 123));  // F12
    EXPECT_FALSE(system.RegisterHotKey(1, 255, 4, 112));  // Shift+F1
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
