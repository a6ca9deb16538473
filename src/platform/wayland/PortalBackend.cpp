#include "PortalBackend.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <cstdlib>

#include "ActivationTokens.h"
#include "PortalKeyboard.h"
#include "PortalRequest.h"
#include "platform/linux/DesktopSettings.h"
#include "platform/linux/Keysyms.h"

namespace brisko::wayland {

namespace {
constexpr const char* kService = "org.freedesktop.portal.Desktop";
constexpr const char* kPath = "/org/freedesktop/portal/desktop";
constexpr const char* kShortcuts = "org.freedesktop.portal.GlobalShortcuts";
// KWin's global shortcuts (a daemon of its own on Plasma 5, KWin itself on Plasma 6).
constexpr const char* kKWinShortcuts = "org.kde.kglobalaccel";

struct PortalShortcut {
    QString id;
    QVariantMap options;
};

QDBusArgument& operator<<(QDBusArgument& arg, const PortalShortcut& shortcut) {
    arg.beginStructure();
    arg << shortcut.id << shortcut.options;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, PortalShortcut& shortcut) {
    arg.beginStructure();
    arg >> shortcut.id >> shortcut.options;
    arg.endStructure();
    return arg;
}

QString SessionHandle(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

// The triggers the desktop reports, by shortcut id; empty for a shortcut without one.
std::map<QString, QString> Triggers(const QVariant& shortcuts) {
    std::map<QString, QString> out;
    if (shortcuts.userType() != qMetaTypeId<QDBusArgument>())
        return out;
    const auto arg = shortcuts.value<QDBusArgument>();
    QList<PortalShortcut> list;
    arg >> list;
    for (const auto& shortcut : list)
        out[shortcut.id] = shortcut.options.value("trigger_description").toString();
    return out;
}

bool MeansNoPortal(const QString& error) {
    return error == "org.freedesktop.DBus.Error.ServiceUnknown" ||
           error == "org.freedesktop.DBus.Error.UnknownInterface" ||
           error == "org.freedesktop.DBus.Error.UnknownMethod" ||
           error == "org.freedesktop.DBus.Error.UnknownObject" ||
           error == "org.freedesktop.DBus.Error.UnknownProperty" ||
           error == "org.freedesktop.DBus.Error.InvalidArgs" ||
           error == "org.freedesktop.DBus.Error.NameHasNoOwner";
}
}  // namespace
}  // namespace brisko::wayland

Q_DECLARE_METATYPE(brisko::wayland::PortalShortcut)

namespace brisko::wayland {

QString ShortcutId(int functionKey) {
    return QString("F%1").arg(functionKey);
}

int FunctionKeyOfShortcut(const QString& id) {
    bool ok = false;
    const int key = id.startsWith('F') ? id.mid(1).toInt(&ok) : 0;
    return ok && key >= 1 && key <= 11 && ShortcutId(key) == id ? key : 0;
}

bool IsBareKeyTrigger(const QString& trigger, int functionKey) {
    return trigger.trimmed().compare(ShortcutId(functionKey), Qt::CaseInsensitive) == 0;
}

PortalBackend::PortalBackend(QDBusConnection bus, SettingsStore* store)
    : PortalBackend(std::move(bus), store, Timing{}) {}

PortalBackend::PortalBackend(QDBusConnection bus, SettingsStore* store, Timing timing)
    : bus_(std::move(bus)),
      timing_(timing),
      keyboard_(std::make_unique<PortalKeyboard>(bus_, store, timing.answerMs)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    debounce_.setSingleShot(true);
    debounce_.setInterval(timing_.debounceMs);
    connect(&debounce_, &QTimer::timeout, this, [this] { bind(); });
    if (!bus_.isConnected()) {
        service_ = Service::Absent;
        return;
    }
    watcher_ =
        new QDBusServiceWatcher(kService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                if (!oldOwner.isEmpty())
                    serviceVanished();
                if (!newOwner.isEmpty())
                    serviceAppeared();
            });
    watchKWin();
    bus_.connect(kService, kPath, kShortcuts, "Activated", this, SLOT(onActivated(QDBusMessage)));
    bus_.connect(kService, kPath, kShortcuts, "ShortcutsChanged", this,
                 SLOT(onShortcutsChanged(QDBusMessage)));
    probe();
}

PortalBackend::~PortalBackend() {
    releaseAllKeys();
}

QDBusMessage PortalBackend::portalCall(const char* method) const {
    return QDBusMessage::createMethodCall(kService, kPath, kShortcuts, method);
}

void PortalBackend::watchKWin() {
    auto* watcher = new QDBusServiceWatcher(kKWinShortcuts, bus_,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                kwinShortcuts_ = !newOwner.isEmpty();
            });
    auto call = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                               "org.freedesktop.DBus", "NameHasOwner");
    call << QString(kKWinShortcuts);
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, timing_.serviceMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<bool> reply = *w;
        if (!reply.isError())
            kwinShortcuts_ = reply.value();
    });
}

void PortalBackend::probe() {
    if (service_ == Service::Probing)
        return;
    service_ = Service::Probing;
    auto call =
        QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    call << QString(kShortcuts) << QString("version");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, timing_.serviceMs), this);
    const unsigned generation = generation_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (generation != generation_)
                    return;
                if (w->isError()) {
                    service_ = Service::Absent;
                    markAll(KeyMark::NoService);
                    return;
                }
                service_ = Service::Offered;
                createSession();
            });
}

void PortalBackend::serviceAppeared() {
    probe();
}

void PortalBackend::serviceVanished() {
    // The portal's sessions end with it; whatever comes back gets everything bound anew.
    ++generation_;
    session_.clear();
    creating_ = binding_ = bindAgain_ = false;
    service_ = Service::Unknown;
    markAll(KeyMark::None);
}

void PortalBackend::createSession() {
    if (creating_ || !session_.isEmpty() || service_ != Service::Offered)
        return;
    creating_ = true;
    auto call = portalCall("CreateSession");
    call << QVariantMap{{"session_handle_token", PortalRequest::nextToken()}};
    const unsigned generation = generation_;
    PortalRequest::send(
        bus_, call, timing_.serviceMs, this,
        [this, generation](unsigned code, const QVariantMap& results, const QString& error) {
            if (generation != generation_)
                return;
            creating_ = false;
            if (code == 0)
                session_ = SessionHandle(results.value("session_handle"));
            if (session_.isEmpty()) {
                if (code == PortalRequest::kCallFailed && MeansNoPortal(error))
                    service_ = Service::Absent;
                markAll(service_ == Service::Absent ? KeyMark::NoService : KeyMark::Refused);
                return;
            }
            // A pending debounce binds the keys itself; binding now too would ask twice.
            if (!wanted_.empty() && !debounce_.isActive())
                bind();
        });
}

void PortalBackend::scheduleBind() {
    debounce_.start();
}

void PortalBackend::bind() {
    if (service_ != Service::Offered)
        return;
    if (session_.isEmpty()) {
        createSession();  // binds once the session exists
        return;
    }
    if (binding_) {
        bindAgain_ = true;
        return;
    }
    binding_ = true;
    QList<PortalShortcut> shortcuts;
    for (const auto& [key, wanted] : wanted_)
        shortcuts.append({ShortcutId(key),
                          {{"description", QString::fromStdString(wanted.description)},
                           {"preferred_trigger", ShortcutId(key)}}});
    auto call = portalCall("BindShortcuts");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{};
    const unsigned generation = generation_;
    PortalRequest::send(
        bus_, call, timing_.answerMs, this,
        [this, generation](unsigned code, const QVariantMap& results, const QString&) {
            if (generation != generation_)
                return;
            binding_ = false;
            if (code == 0)
                applyShortcuts(results.value("shortcuts"));
            else
                markAll(KeyMark::Refused);
            if (bindAgain_) {
                bindAgain_ = false;
                bind();
            }
        });
}

void PortalBackend::applyShortcuts(const QVariant& shortcuts) {
    const auto triggers = Triggers(shortcuts);
    for (const auto& [key, wanted] : wanted_) {
        const auto it = triggers.find(ShortcutId(key));
        if (it == triggers.end())
            states_[key] = {KeyMark::Refused, {}};
        else if (it->second.trimmed().isEmpty())
            states_[key] = {KeyMark::NoTrigger, {}};
        else if (IsBareKeyTrigger(it->second, key))
            states_[key] = {KeyMark::Held, {}};
        else
            states_[key] = {KeyMark::OtherTrigger, it->second.toStdString()};
    }
}

void PortalBackend::markAll(KeyMark mark) {
    for (const auto& [key, wanted] : wanted_)
        states_[key] = {mark, {}};
}

void PortalBackend::onActivated(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || session_.isEmpty() || SessionHandle(args[0]) != session_)
        return;
    const auto it = wanted_.find(FunctionKeyOfShortcut(args[1].toString()));
    if (it != wanted_.end() && onPress_)
        onPress_(it->second.id);
}

void PortalBackend::onShortcutsChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || session_.isEmpty() || SessionHandle(args[0]) != session_)
        return;
    applyShortcuts(args[1]);
}

bool PortalBackend::hotkeysAvailable() const {
    return service_ != Service::Absent;
}

bool PortalBackend::grabKey(int id, int functionKey) {
    auto it = wanted_.find(functionKey);
    if (it != wanted_.end() && it->second.id == id)
        return false;  // asked for already: the desktop's answer is the key's state
    const auto described = describe_.find(functionKey);
    wanted_[functionKey] = {id, described != describe_.end()
                                    ? described->second
                                    : "Brisko " + ShortcutId(functionKey).toStdString()};
    states_[functionKey] = {service_ == Service::Absent ? KeyMark::NoService : KeyMark::None, {}};
    if (service_ != Service::Absent)
        scheduleBind();
    return service_ != Service::Absent;
}

bool PortalBackend::ungrabKey(int id) {
    for (auto it = wanted_.begin(); it != wanted_.end(); ++it) {
        if (it->second.id != id)
            continue;
        states_.erase(it->first);
        wanted_.erase(it);
        if (service_ != Service::Absent)
            scheduleBind();
        return true;
    }
    return false;
}

void PortalBackend::releaseAllKeys() {
    wanted_.clear();
    states_.clear();
    debounce_.stop();
    if (!session_.isEmpty()) {
        bus_.asyncCall(QDBusMessage::createMethodCall(kService, session_,
                                                      "org.freedesktop.portal.Session", "Close"));
        session_.clear();
    }
}

void PortalBackend::setPressHandler(std::function<void(int id)> handler) {
    onPress_ = std::move(handler);
}

KeyState PortalBackend::keyState(int functionKey) const {
    const auto it = states_.find(functionKey);
    return it == states_.end() ? KeyState{} : it->second;
}

void PortalBackend::describeKey(int functionKey, const std::string& description) {
    describe_[functionKey] = description;
    auto it = wanted_.find(functionKey);
    if (it != wanted_.end() && it->second.description != description) {
        it->second.description = description;
        scheduleBind();
    }
}

void PortalBackend::sendKey(std::uint8_t virtualKey, bool keyUp) {
    if (const std::uint32_t keysym = desktop::VirtualKeyToKeysym(virtualKey))
        keyboard_->send(keysym, !keyUp);
}

bool PortalBackend::typeText(const std::string& text) {
    keyboard_->type(QString::fromStdString(text));
    return true;
}

desktop::StartupId PortalBackend::beginLaunch(const desktop::LaunchDescription& launch) {
    if (!activation_)
        return {};
    return {activation_->request(ApplicationIdOfEntry(launch.applicationId)), true};
}

desktop::StartupId PortalBackend::activationToken() {
    return beginLaunch({});
}

void PortalBackend::setActivationTokens(std::unique_ptr<ActivationTokens> tokens) {
    activation_ = std::move(tokens);
}

void PortalBackend::applyShowCommand(pid_t, int) {
    // A Wayland client cannot place another client's window; the program opens as it likes.
}

bool PortalBackend::toggleShowingDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    if (!kwinShortcuts_ || desktop::CurrentDesktop(value ? value : "") != desktop::Desktop::Kde)
        return false;
    // KWin's own "Show Desktop" shortcut toggles it, on Plasma 5 and 6 alike.
    auto call = QDBusMessage::createMethodCall(kKWinShortcuts, "/component/kwin",
                                               "org.kde.kglobalaccel.Component", "invokeShortcut");
    call << QString("Show Desktop");
    bus_.asyncCall(call);
    return true;
}

}  // namespace brisko::wayland
