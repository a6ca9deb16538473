#include "PortalKeyboard.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

#include "PortalRequest.h"
#include "storage/SettingNames.h"
#include "storage/SettingsStore.h"

namespace brisko::wayland {

namespace {
constexpr const char* kService = "org.freedesktop.portal.Desktop";
constexpr const char* kPath = "/org/freedesktop/portal/desktop";
constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
constexpr unsigned kKeyboard = 1;
constexpr unsigned kPersistUntilRevoked = 2;
constexpr std::size_t kMaxQueued = 4096;

QDBusMessage Call(const char* method) {
    return QDBusMessage::createMethodCall(kService, kPath, kRemoteDesktop, method);
}
}  // namespace

std::uint32_t KeysymOfCharacter(char32_t c) {
    if (c == '\n')
        return 0xff0d;
    if (c == '\t')
        return 0xff09;
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
        return static_cast<std::uint32_t>(c);
    return 0x01000000u | static_cast<std::uint32_t>(c);
}

PortalKeyboard::PortalKeyboard(QDBusConnection bus, SettingsStore* store, int answerMs)
    : bus_(std::move(bus)), store_(store), answerMs_(answerMs) {}

void PortalKeyboard::send(std::uint32_t keysym, bool pressed) {
    if (state_ == State::Ready) {
        notify(keysym, pressed);
        return;
    }
    if (state_ == State::Declined || queued_.size() >= kMaxQueued)
        return;
    queued_.emplace_back(keysym, pressed);
    start();
}

void PortalKeyboard::type(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        if (c == '\r')
            continue;
        send(KeysymOfCharacter(c), true);
        send(KeysymOfCharacter(c), false);
    }
}

void PortalKeyboard::notify(std::uint32_t keysym, bool pressed) {
    sending_.emplace_back(keysym, pressed);
    if (!inFlight_)
        sendNext();
}

void PortalKeyboard::sendNext() {
    // The frontend may handle calls side by side: the next key goes out only once the previous
    // one has been answered, so that no key overtakes another.
    if (sending_.empty()) {
        inFlight_ = false;
        return;
    }
    inFlight_ = true;
    const auto [keysym, pressed] = sending_.front();
    sending_.pop_front();
    auto call = Call("NotifyKeyboardKeysym");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariantMap{}
         << static_cast<int>(keysym) << static_cast<uint>(pressed ? 1 : 0);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, answerMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        sendNext();
    });
}

void PortalKeyboard::start() {
    if (state_ != State::Idle)
        return;
    state_ = State::Starting;
    auto call = Call("CreateSession");
    call << QVariantMap{{"session_handle_token", PortalRequest::nextToken()}};
    PortalRequest::send(bus_, call, answerMs_, this,
                        [this](unsigned code, const QVariantMap& results, const QString&) {
                            session_ =
                                code == 0 ? results.value("session_handle").toString() : QString();
                            if (session_.isEmpty())
                                return fail();
                            selectDevices();
                        });
}

QString PortalKeyboard::storedToken() const {
    if (!store_)
        return {};
    try {
        SettingsKey key = OpenSettingsKey(*store_);
        if (key.exists(setting_names::kPortalRestoreToken))
            return QString::fromStdString(key.read(setting_names::kPortalRestoreToken));
    } catch (const std::exception&) {
        // Without the token the desktop simply asks again.
    }
    return {};
}

void PortalKeyboard::keepToken(const QString& token) {
    if (!store_ || token.isEmpty() || token == storedToken())
        return;
    try {
        SettingsKey key = OpenSettingsKey(*store_);
        key.write(setting_names::kPortalRestoreToken, token.toStdString());
    } catch (const std::exception&) {
        // A settings file that cannot be written costs one more question next run.
    }
}

void PortalKeyboard::selectDevices(bool withToken) {
    QVariantMap options{{"types", kKeyboard}, {"persist_mode", kPersistUntilRevoked}};
    const QString token = withToken ? storedToken() : QString();
    if (!token.isEmpty())
        options.insert("restore_token", token);
    auto call = Call("SelectDevices");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << options;
    PortalRequest::send(
        bus_, call, answerMs_, this,
        [this, sentToken = !token.isEmpty()](unsigned code, const QVariantMap&, const QString&) {
            // A token the portal refuses outright (edited by hand, or from another portal)
            // must not cost the keys: ask again without it.
            if (code == PortalRequest::kCallFailed && sentToken)
                return selectDevices(false);
            if (code != 0)
                return fail();
            startSession();
        });
}

void PortalKeyboard::startSession() {
    auto call = Call("Start");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QString() << QVariantMap{};
    PortalRequest::send(bus_, call, answerMs_, this,
                        [this](unsigned code, const QVariantMap& results, const QString&) {
                            if (code != 0 || !(results.value("devices").toUInt() & kKeyboard))
                                return fail();
                            keepToken(results.value("restore_token").toString());
                            state_ = State::Ready;
                            for (const auto& [keysym, pressed] : std::exchange(queued_, {}))
                                notify(keysym, pressed);
                        });
}

void PortalKeyboard::fail() {
    // Declined once: the desktop is not asked again in this run.
    state_ = State::Declined;
    queued_.clear();
}

}  // namespace brisko::wayland
