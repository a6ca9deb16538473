#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace brisko {
class SettingsStore;
}

namespace brisko::wayland {

/// Synthetic keys through the RemoteDesktop portal's keyboard. The session starts at the first
/// key (the desktop may ask the user once; with the restore token kept in the settings it does
/// not ask again); keys wait for it and are dropped when the desktop declines or does not
/// answer in time.
class PortalKeyboard : public QObject {
public:
    PortalKeyboard(QDBusConnection bus, SettingsStore* store, int answerMs);

    /// One key-down or key-up of an X keysym.
    void send(std::uint32_t keysym, bool pressed);
    /// Types the text, character by character (line breaks as Return).
    void type(const QString& text);

private:
    enum class State { Idle, Starting, Ready, Declined };
    void start();
    void selectDevices(bool withToken = true);
    /// The restore token kept in the settings; empty when there is none.
    QString storedToken() const;
    void keepToken(const QString& token);
    void startSession();
    void fail();
    void notify(std::uint32_t keysym, bool pressed);
    void sendNext();

    QDBusConnection bus_;
    SettingsStore* store_;
    int answerMs_;
    State state_ = State::Idle;
    QString session_;
    std::vector<std::pair<std::uint32_t, bool>> queued_;  // waiting for the session
    std::deque<std::pair<std::uint32_t, bool>> sending_;  // waiting for the previous key
    bool inFlight_ = false;
};

/// The keysym that types a character: Latin-1 as itself, line breaks and tabs as their keys,
/// everything else as a Unicode keysym.
std::uint32_t KeysymOfCharacter(char32_t c);

}  // namespace brisko::wayland
