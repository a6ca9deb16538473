#include "TrayIcon.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include "QtNotifyIconHost.h"

namespace brisko {

namespace {

QIcon drawnFallback(TIDI_Icons icon) {
    // Used only when the desktop style has no picture for the choice.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour;
    switch (icon) {
        case TIDI_Icons::idiASTERISK:
            colour = QColor(0, 90, 200);
            break;
        case TIDI_Icons::idiEXCLAMATION:
            colour = QColor(230, 180, 0);
            break;
        case TIDI_Icons::idiHAND:
            colour = QColor(200, 0, 0);
            break;
        case TIDI_Icons::idiQUESTION:
            colour = QColor(0, 140, 60);
            break;
        case TIDI_Icons::idiAPPLICATION:
        case TIDI_Icons::idiWINLOGO:
            colour = QColor(60, 60, 140);
            break;
    }
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    return QIcon(pixmap);
}

QStyle::StandardPixmap standardPixmap(TIDI_Icons icon) {
    switch (icon) {
        case TIDI_Icons::idiAPPLICATION:
            return QStyle::SP_TitleBarMenuButton;
        case TIDI_Icons::idiASTERISK:
            return QStyle::SP_MessageBoxInformation;
        case TIDI_Icons::idiEXCLAMATION:
            return QStyle::SP_MessageBoxWarning;
        case TIDI_Icons::idiHAND:
            return QStyle::SP_MessageBoxCritical;
        case TIDI_Icons::idiQUESTION:
            return QStyle::SP_MessageBoxQuestion;
        case TIDI_Icons::idiWINLOGO:
            return QStyle::SP_ComputerIcon;
    }
    return QStyle::SP_ComputerIcon;
}

unsigned hotkeyModifiers(TShortCut shortCut) {
    unsigned modifiers = 0;
    if (shortCut & scShift)
        modifiers |= MOD_SHIFT;
    if (shortCut & scAlt)
        modifiers |= MOD_ALT;
    if (shortCut & scCtrl)
        modifiers |= MOD_CONTROL;
    return modifiers;
}

}  // namespace

QIcon LoadSystemIcon(TIDI_Icons icon) {
    QIcon result;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        result = app->style()->standardIcon(standardPixmap(icon));
    if (result.isNull() || result.availableSizes().isEmpty())
        result = drawnFallback(icon);
    return result;
}

TrayIcon::TrayIcon(QObject* owner) : TrayIcon(owner, std::make_unique<QtNotifyIconHost>()) {}

TrayIcon::TrayIcon(QObject* owner, std::unique_ptr<NotifyIconHost> host)
    : QObject(owner), host_(std::move(host)) {
    extendedShell_ = host_->extendedShell();
    fallbackIcon_ = LoadSystemIcon(winIcon_);
    cursorPos_ = [] { return QCursor::pos(); };
    animationTimer_.setInterval(interval_);
    connect(&animationTimer_, &QTimer::timeout, this, &TrayIcon::animationTick);
    host_->setCallback(
        [this](unsigned message, std::intptr_t lParam) { windowProc(message, 0, lParam); });
}

TrayIcon::~TrayIcon() {
    animationTimer_.stop();
    if (active_)
        deleteIcon();
    if (shortCutRegistered_ && hotkeySystem_)
        hotkeySystem_->UnregisterHotKey(hotkeyWindow_, 0);
    if (hideAppOnMinimize_)
        qApp->removeEventFilter(this);
    host_->setCallback({});
}

void TrayIcon::setActive(bool value) {
    if (active_ == value)
        return;
    active_ = value;
    if (value)
        addIcon();
    else
        deleteIcon();
}

void TrayIcon::setAnimate(bool value) {
    if (animate_ == value)
        return;
    animate_ = value;
    frameIndex_ = 0;
    updateAnimationTimer();
}

void TrayIcon::updateAnimationTimer() {
    // A period of 0 or less stops the animation instead of ticking without pause.
    if (animate_ && interval_ > 0) {
        if (!animationTimer_.isActive())
            animationTimer_.start();
    } else {
        animationTimer_.stop();
    }
}

void TrayIcon::setHideAppOnMinimize(bool value) {
    if (hideAppOnMinimize_ == value)
        return;
    hideAppOnMinimize_ = value;
    // The filter sits in front of the application's own handling and passes every event on,
    // so whatever handled minimising before keeps running first.
    if (value)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void TrayIcon::setHint(const QString& value) {
    if (hint_ == value)
        return;
    hint_ = value;
    modifyIcon();
}

void TrayIcon::setImageIndex(int value) {
    if (imageIndex_ == value)
        return;
    imageIndex_ = value;
    modifyIcon();
}

void TrayIcon::setImageList(ImageList* list) {
    imageList_ = list;
}

void TrayIcon::setInterval(int milliseconds) {
    if (interval_ == milliseconds)
        return;
    interval_ = milliseconds;
    if (milliseconds > 0)
        animationTimer_.setInterval(milliseconds);
    updateAnimationTimer();
}

void TrayIcon::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    hostShowsMenu_ = host_->setMenu(menu);
}

void TrayIcon::setShortCut(TShortCut value) {
    if (shortCut_ == value)
        return;
    shortCut_ = value;
    if (!hotkeySystem_)
        return;
    if (value != 0) {
        // Replace an earlier registration of id 0 rather than fail against it.
        if (shortCutRegistered_)
            hotkeySystem_->UnregisterHotKey(hotkeyWindow_, 0);
        shortCutRegistered_ =
            hotkeySystem_->RegisterHotKey(hotkeyWindow_, 0, hotkeyModifiers(value), value & 0xff);
    } else {
        hotkeySystem_->UnregisterHotKey(hotkeyWindow_, 0);
        shortCutRegistered_ = false;
    }
}

void TrayIcon::setShowAtDesignTime(bool value) {
    if (showAtDesignTime_ == value)
        return;
    showAtDesignTime_ = value;
    if (value)
        addIcon();
    else
        deleteIcon();
}

void TrayIcon::setShowHint(bool value) {
    if (showHint_ == value)
        return;
    showHint_ = value;
    modifyIcon();
}

void TrayIcon::setShowOnClick(bool value) {
    showOnClick_ = value;
}

void TrayIcon::setUseAppIcon(bool value) {
    if (useAppIcon_ == value)
        return;
    useAppIcon_ = value;
    modifyIcon();
}

void TrayIcon::setWinIcon(TIDI_Icons value) {
    if (winIcon_ == value)
        return;
    winIcon_ = value;
    fallbackIcon_ = LoadSystemIcon(value);
    modifyIcon();
}

void TrayIcon::setHotkeySystem(SystemControl* system, WindowHandle window) {
    hotkeySystem_ = system;
    hotkeyWindow_ = window;
}

void TrayIcon::endLoad() {
    loading_ = false;
    if (active_)
        addIcon();
}

void TrayIcon::fillRecord() {
    data_.hIcon = QIcon();
    data_.iconSource = {};
    const int count = imageList_ ? imageList_->count() : 0;
    if (useAppIcon_) {
        // A program without an icon of its own gets the fallback below.
        data_.hIcon = QApplication::windowIcon();
        if (!data_.hIcon.isNull())
            data_.iconSource.kind = IconSource::Kind::Application;
    } else if (animate_ && count > 0) {
        // The frame index can be beyond a list that shrank since the last tick.
        if (frameIndex_ >= count)
            frameIndex_ = 0;
        data_.hIcon = imageList_->icon(frameIndex_);
        data_.iconSource = {IconSource::Kind::ImageList, frameIndex_};
        frameIndex_ = (frameIndex_ + 1) % count;
    } else if (imageList_ && imageIndex_ >= 0 && imageIndex_ < count) {
        data_.hIcon = imageList_->icon(imageIndex_);
        data_.iconSource = {IconSource::Kind::ImageList, imageIndex_};
    }
    if (data_.iconSource.kind == IconSource::Kind::None) {
        data_.hIcon = fallbackIcon_;
        data_.iconSource = {IconSource::Kind::System, -1, winIcon_};
    }

    data_.cbSize = extendedShell_ ? kExtendedRecordSize : kFirstGenerationRecordSize;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.dwState = 0;
    data_.dwStateMask = 0;
    data_.szTip.clear();
    if (showHint_) {
        data_.uFlags |= NIF_TIP;
        const int limit = (extendedShell_ ? kExtendedTipChars : kFirstGenerationTipChars) - 1;
        int length = std::min<int>(int(hint_.size()), limit);
        // Never cut a character in half.
        if (length > 0 && length < hint_.size() && hint_[length - 1].isHighSurrogate())
            --length;
        data_.szTip = hint_.left(length);
    }
}

void TrayIcon::addIcon() {
    if (loading_)
        return;
    fillRecord();
    host_->add(data_);
}

void TrayIcon::modifyIcon() {
    if (loading_)
        return;
    fillRecord();
    host_->modify(data_);
}

bool TrayIcon::showBalloon(const QString& title, const QString& text, int timeoutMs) {
    // A shown icon carries the message as it is; a hidden one is described afresh.
    if (!active_)
        fillRecord();
    return host_->showBalloon(data_, title, text, timeoutMs);
}

void TrayIcon::deleteIcon() {
    host_->remove(data_);
}

void TrayIcon::animationTick() {
    modifyIcon();
}

std::intptr_t TrayIcon::windowProc(unsigned message, std::uintptr_t, std::intptr_t lParam) {
    // A receiver may delete this component (the owner closing, say): nothing here touches it
    // after a signal.
    if (message == WM_HOTKEY) {
        emit shortCutPressed();
        return 0;
    }
    if (message != kTrayCallbackMessage)
        return 0;
    switch (static_cast<unsigned>(lParam)) {
        case WM_LBUTTONUP:
            if (showOnClick_) {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (window->property("brisko_hiddenOnMinimize").toBool() ||
                        window->isMinimized()) {
                        window->setProperty("brisko_hiddenOnMinimize", QVariant());
                        window->show();
                        window->showNormal();
                    }
                }
            }
            emit clicked();
            break;
        case WM_LBUTTONDBLCLK:
            emit doubleClicked();
            break;
        case WM_RBUTTONUP: {
            const QPoint pos = cursorPos_();
            if (popupMenu_ && !hostShowsMenu_)
                popupMenu_->popup(pos);
            emit rightClicked(pos);
            break;
        }
        default:
            break;
    }
    return 0;
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->isMinimized() && widget->isVisible()) {
            // Hidden once the minimise has been handled, so the task bar entry goes away.
            QPointer<QWidget> target(widget);
            QMetaObject::invokeMethod(
                this,
                [target] {
                    if (target && target->isMinimized()) {
                        target->setProperty("brisko_hiddenOnMinimize", true);
                        target->hide();
                    }
                },
                Qt::QueuedConnection);
        }
    }
    return false;
}

}  // namespace brisko
