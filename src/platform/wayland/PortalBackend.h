#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <map>
#include <memory>
#include <string>

#include "platform/linux/SessionBackend.h"

class QDBusServiceWatcher;

namespace brisko {
class SettingsStore;
}

namespace brisko::wayland {

class ActivationTokens;
class PortalKeyboard;

/// The session backend of a Wayland desktop, through the freedesktop portals.
///
/// Keys: one GlobalShortcuts session; every key the engine asks for is one shortcut with the
/// id "F1".."F11", the action's name as description and the bare key as preferred trigger. The
/// set is bound again, debounced, whenever it or a description changes, and again whenever the
/// portal service (re)appears on the bus. What the desktop answers, and every later
/// ShortcutsChanged, becomes the keys' states. Only Activated signals of this session for a key
/// that is asked for and bound reach the press handler. Nothing here blocks: every call is
/// asynchronous and bounded in time.
class PortalBackend : public QObject, public desktop::SessionBackend {
    Q_OBJECT
public:
    struct Timing {
        int debounceMs = 200;   // from a change of the key set to the bind
        int answerMs = 120000;  // the desktop may ask the user before it answers
        int serviceMs = 10000;  // a probe or a call that needs no answer from the user
    };

    /// The store keeps the RemoteDesktop portal's restore token; null keeps it for the run.
    explicit PortalBackend(QDBusConnection bus, SettingsStore* store = nullptr);
    PortalBackend(QDBusConnection bus, SettingsStore* store, Timing timing);
    ~PortalBackend() override;

    /// True until the portal turned out to offer no global shortcuts.
    bool hotkeysAvailable() const override;
    bool grabKey(int id, int functionKey) override;
    bool ungrabKey(int id) override;
    void releaseAllKeys() override;
    void setPressHandler(std::function<void(int id)> handler) override;
    KeyState keyState(int functionKey) const override;
    void describeKey(int functionKey, const std::string& description) override;
    /// Through the RemoteDesktop portal's keyboard; see PortalKeyboard.
    void sendKey(std::uint8_t virtualKey, bool keyUp) override;
    /// A program without focus cannot hand the focused one its clipboard on Wayland: the text is
    /// typed through the portal's keyboard instead.
    bool typeText(const std::string& text) override;
    /// Where tokens are given, the compositor's XDG activation token, for the entry's
    /// application id; else no id at all.
    desktop::StartupId beginLaunch(const desktop::LaunchDescription& launch) override;
    desktop::StartupId activationToken() override;
    /// Where started programs get their activation tokens from; none without.
    void setActivationTokens(std::unique_ptr<ActivationTokens> tokens);
    void applyShowCommand(pid_t pid, int showCommand) override;
    /// KWin's "Show Desktop" shortcut, on Plasma while KWin's shortcuts service is on the bus;
    /// false on any other desktop.
    bool toggleShowingDesktop() override;
    void flush() override {}

private slots:
    void onActivated(const QDBusMessage& message);
    void onShortcutsChanged(const QDBusMessage& message);

private:
    struct Wanted {
        int id = 0;
        std::string description;
    };
    enum class Service { Unknown, Probing, Offered, Absent };

    void watchKWin();
    void probe();
    void serviceAppeared();
    void serviceVanished();
    void createSession();
    void scheduleBind();
    void bind();
    void applyShortcuts(const QVariant& shortcuts);
    void markAll(KeyMark mark);
    QDBusMessage portalCall(const char* method) const;

    QDBusConnection bus_;
    Timing timing_;
    QDBusServiceWatcher* watcher_ = nullptr;
    QTimer debounce_;
    Service service_ = Service::Unknown;
    QString session_;  // the session handle, once created
    bool creating_ = false;
    bool binding_ = false;
    bool bindAgain_ = false;        // the set changed while a bind was on its way
    unsigned generation_ = 0;       // bumped when the service goes away: late answers are dropped
    std::map<int, Wanted> wanted_;  // by function key
    std::map<int, std::string> describe_;  // by function key, also for keys not asked for yet
    std::map<int, KeyState> states_;       // by function key
    std::function<void(int)> onPress_;
    std::unique_ptr<PortalKeyboard> keyboard_;
    bool kwinShortcuts_ = false;  // org.kde.kglobalaccel is on the bus
    std::unique_ptr<ActivationTokens> activation_;
};

/// The shortcut id of a function key: "F1".."F11"; 0 for an id that is none of them.
QString ShortcutId(int functionKey);
int FunctionKeyOfShortcut(const QString& id);

/// Whether the desktop's description of a trigger is the bare key itself.
bool IsBareKeyTrigger(const QString& trigger, int functionKey);

}  // namespace brisko::wayland
