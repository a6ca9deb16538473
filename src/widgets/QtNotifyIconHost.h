#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include "NotifyIconHost.h"

namespace brisko {

/// The notification area through QSystemTrayIcon (XEmbed or StatusNotifierItem). Always
/// takes the extended record. A click is reported as WM_LBUTTONUP, a double click as
/// WM_LBUTTONDBLCLK followed by WM_LBUTTONUP, a context request as WM_RBUTTONUP. Hosts that
/// send no double click (StatusNotifierItem activation) report only the click.
class QtNotifyIconHost : public QObject, public NotifyIconHost {
    Q_OBJECT
public:
    explicit QtNotifyIconHost(QObject* parent = nullptr);
    ~QtNotifyIconHost() override;

    bool extendedShell() const override { return true; }
    bool add(const NotifyIconData& data) override;
    bool modify(const NotifyIconData& data) override;
    bool remove(const NotifyIconData& data) override;
    bool showBalloon(const NotifyIconData& data, const QString& title, const QString& text,
                     int timeoutMs) override;
    /// Qt shows the menu itself for every kind of tray: at the click for XEmbed, through the
    /// desktop for StatusNotifierItem hosts.
    bool setMenu(QMenu* menu) override {
        icon_->setContextMenu(menu);
        return true;
    }
    void setCallback(Callback callback) override { callback_ = std::move(callback); }
    /// An icon embedded into an XEmbed tray has a place on the screen and gets real double
    /// clicks; a StatusNotifierItem has none and sends only activations.
    bool sendsDoubleClicks() const override { return !icon_->geometry().isEmpty(); }

    /// The underlying icon (for its geometry or availability checks).
    QSystemTrayIcon* systemTrayIcon() const { return icon_; }

private:
    void apply(const NotifyIconData& data);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon_ = nullptr;
    Callback callback_;
    bool balloonOnly_ = false;  // shown only to carry a message: not added as far as asked
};

}  // namespace brisko
