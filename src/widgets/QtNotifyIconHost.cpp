#include "QtNotifyIconHost.h"

#include <QPointer>
#include <QTimer>

namespace brisko {

QtNotifyIconHost::QtNotifyIconHost(QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(this)) {
    connect(icon_, &QSystemTrayIcon::activated, this, &QtNotifyIconHost::onActivated);
}

QtNotifyIconHost::~QtNotifyIconHost() {
    icon_->hide();
}

void QtNotifyIconHost::apply(const NotifyIconData& data) {
    if (data.uFlags & NIF_ICON)
        icon_->setIcon(data.hIcon);
    const QString tip = (data.uFlags & NIF_TIP) ? data.szTip : QString();
    if (icon_->toolTip() != tip)
        icon_->setToolTip(tip);
}

bool QtNotifyIconHost::add(const NotifyIconData& data) {
    if (icon_->isVisible() && !balloonOnly_)
        return false;  // the icon exists already
    balloonOnly_ = false;
    apply(data);
    icon_->show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtNotifyIconHost::modify(const NotifyIconData& data) {
    if (!icon_->isVisible() || balloonOnly_)
        return false;
    apply(data);
    return true;
}

bool QtNotifyIconHost::remove(const NotifyIconData&) {
    if (!icon_->isVisible() || balloonOnly_)
        return false;
    icon_->hide();
    return true;
}

bool QtNotifyIconHost::showBalloon(const NotifyIconData& data, const QString& title,
                                   const QString& text, int timeoutMs) {
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages())
        return false;
    // Qt posts messages only for a visible icon.
    if (!icon_->isVisible()) {
        apply(data);
        icon_->show();
        balloonOnly_ = true;
        QTimer::singleShot(timeoutMs, this, [this] {
            if (balloonOnly_) {
                balloonOnly_ = false;
                icon_->hide();
            }
        });
    }
    icon_->showMessage(title, text, QSystemTrayIcon::Information, timeoutMs);
    return true;
}

void QtNotifyIconHost::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!callback_)
        return;
    // Copied: a handler may replace the callback or delete the icon's owner while it runs.
    const Callback callback = callback_;
    QPointer<QtNotifyIconHost> self(this);
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            callback(kTrayCallbackMessage, WM_LBUTTONUP);
            break;
        case QSystemTrayIcon::DoubleClick:
            // The first click of the pair already came as Trigger; a double click then reads
            // as button up, double click, button up.
            callback(kTrayCallbackMessage, WM_LBUTTONDBLCLK);
            if (self && callback_)
                callback_(kTrayCallbackMessage, WM_LBUTTONUP);
            break;
        case QSystemTrayIcon::Context:
            callback(kTrayCallbackMessage, WM_RBUTTONUP);
            break;
        default:
            break;
    }
}

}  // namespace brisko
