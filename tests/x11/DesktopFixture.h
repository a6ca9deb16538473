#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "X11Session.h"

namespace brisko::testing {

/// A test on its own private desktop, with helpers to run the hotkey driver and the text
/// window and to press keys.
class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { session.reset(); }
    virtual X11Session::Options options() const { return {}; }

    std::string path(const std::string& name) const { return session->dir() + "/" + name; }
    /// Starts the driver with slot arguments ("F5=2", "F5.path=…") and waits until its keys are
    /// registered. logName is the report file under the session directory.
    pid_t startDriver(const std::vector<std::string>& slots,
                      const std::string& logName = "driver.log",
                      const std::map<std::string, std::string>& overrides = {},
                      const std::string& program = "");
    /// The report lines of a driver.
    std::vector<std::string> reports(const std::string& logName = "driver.log") const;
    bool waitForReport(const std::string& line, const std::string& logName = "driver.log",
                       std::size_t count = 1);
    /// Starts a text window and waits until it has the focus; returns its X window id.
    std::string startTextWindow(const std::string& title, const std::string& out,
                                const std::vector<std::string>& extra = {});
    /// The X window id of the window with exactly this title; empty when there is none.
    std::string findWindow(const std::string& title);
    void focus(const std::string& window);
    void press(const std::string& keys) { session->xdotool({"key", keys}); }
    /// Writes an executable shell script.
    std::string writeScript(const std::string& relativePath, const std::string& body);

    std::unique_ptr<X11Session> session;
};

}  // namespace brisko::testing
