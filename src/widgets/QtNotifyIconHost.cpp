#include "QtNotifyIconHost.h"

#include <QPointer>

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
    if (icon_->isVisible())
        return false;  // the icon exists already
    apply(data);
    icon_->show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtNotifyIconHost::modify(const NotifyIconData& data) {
    if (!icon_->isVisible())
        return false;
    apply(data);
    return true;
}

bool QtNotifyIconHost::remove(const NotifyIconData&) {
    if (!icon_->isVisible())
        return false;
    icon_->hide();
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
