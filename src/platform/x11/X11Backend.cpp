#include "X11Backend.h"

#include <QGuiApplication>

#include "KeyGrabber.h"
#include "Keymap.h"
#include "StartupNotifier.h"
#include "SyntheticKeys.h"
#include "WindowStates.h"

namespace brisko::x11 {

namespace {
constexpr xcb_keysym_t kKeysymF1 = 0xffbe;
}

X11Backend::X11Backend() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            connection_ = x11->connection();
    }
    if (!connection_)
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    keymap_ = std::make_unique<Keymap>(connection_);
    grabber_ = std::make_unique<KeyGrabber>(connection_, root_, *keymap_);
    grabber_->setPressHandler([this](int id) {
        if (onPress_)
            onPress_(id);
    });
    keys_ = std::make_unique<SyntheticKeys>(connection_, *keymap_);
    notifier_ = std::make_unique<StartupNotifier>(connection_, root_, 0);
    windows_ = std::make_unique<WindowStates>(connection_, root_, notifier_.get());
}

X11Backend::~X11Backend() {
    releaseAllKeys();
}

bool X11Backend::hotkeysAvailable() const {
    return grabber_ != nullptr;
}

bool X11Backend::grabKey(int id, int functionKey) {
    idOfKey_[functionKey] = id;
    return grabber_ && grabber_->grab(id, kKeysymF1 + static_cast<xcb_keysym_t>(functionKey - 1));
}

bool X11Backend::ungrabKey(int id) {
    std::erase_if(idOfKey_, [id](const auto& entry) { return entry.second == id; });
    return grabber_ && grabber_->ungrab(id);
}

void X11Backend::releaseAllKeys() {
    idOfKey_.clear();
    if (grabber_)
        grabber_->releaseAll();
}

void X11Backend::setPressHandler(std::function<void(int id)> handler) {
    onPress_ = std::move(handler);
}

KeyState X11Backend::keyState(int functionKey) const {
    const auto it = idOfKey_.find(functionKey);
    if (!grabber_ || it == idOfKey_.end())
        return {};
    if (grabber_->blocked(it->second))
        return {KeyMark::TakenElsewhere, {}};
    return {grabber_->holds(it->second) ? KeyMark::Held : KeyMark::None, {}};
}

void X11Backend::sendKey(std::uint8_t virtualKey, bool keyUp) {
    if (keys_)
        keys_->send(virtualKey, keyUp);
}

desktop::StartupId X11Backend::beginLaunch(const desktop::LaunchDescription& launch) {
    std::string id = desktop::NewStartupId();
    if (!notifier_)
        return {id};
    // Window managers read the time of the user's action from the id's "_TIME" suffix.
    if (const xcb_timestamp_t time = grabber_->lastPressTime())
        id += "_TIME" + std::to_string(time);
    notifier_->announce(id, launch);
    return {id};
}

void X11Backend::cancelLaunch(const desktop::StartupId& id) {
    if (notifier_ && !id.value.empty())
        notifier_->remove(id.value);
}

void X11Backend::applyShowCommand(pid_t pid, int showCommand) {
    if (windows_)
        windows_->applyWhenMapped(pid, showCommand);
}

void X11Backend::applyShowCommandToApplication(const desktop::StartedApplication& started,
                                               int showCommand) {
    if (windows_)
        windows_->applyWhenMapped(started, showCommand);
}

bool X11Backend::toggleShowingDesktop() {
    if (!windows_)
        return false;
    windows_->toggleShowingDesktop();
    return true;
}

void X11Backend::flush() {
    if (connection_)
        xcb_flush(connection_);
}

}  // namespace brisko::x11
