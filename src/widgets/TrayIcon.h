#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

#include "ImageList.h"
#include "NotifyIconHost.h"
#include "hotkeys/SystemControl.h"

namespace brisko {

/// A shortcut: the virtual key in the low byte, plus any of scShift, scCtrl and scAlt.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// RegisterHotKey modifiers.
inline constexpr unsigned MOD_ALT = 1;
inline constexpr unsigned MOD_CONTROL = 2;
inline constexpr unsigned MOD_SHIFT = 4;

/// The icon of a system icon choice; never null.
QIcon LoadSystemIcon(TIDI_Icons icon);

/// One icon in the desktop's notification area with a tool tip, a popup menu on a right click,
/// click and double-click events, an optional global shortcut, an animation over the icons of
/// an image list and optional hiding of the application's windows on minimise.
///
/// Setting a property to the value it has does nothing. Events are raised only when assigned.
class TrayIcon : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ active WRITE setActive)
    Q_PROPERTY(bool Animate READ animate WRITE setAnimate)
    Q_PROPERTY(bool HideAppOnMinimize READ hideAppOnMinimize WRITE setHideAppOnMinimize)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(int ImageIndex READ imageIndex WRITE setImageIndex)
    Q_PROPERTY(int Interval READ interval WRITE setInterval)
    Q_PROPERTY(bool ShowAtDesignTime READ showAtDesignTime WRITE setShowAtDesignTime)
    Q_PROPERTY(bool ShowHint READ showHint WRITE setShowHint)
    Q_PROPERTY(bool ShowOnClick READ showOnClick WRITE setShowOnClick)
    Q_PROPERTY(bool UseAppIcon READ useAppIcon WRITE setUseAppIcon)

public:
    /// Uses the desktop's notification area through QSystemTrayIcon.
    explicit TrayIcon(QObject* owner = nullptr);
    /// Uses the given host (tests pass a fake). The record form is asked of it once, here.
    TrayIcon(QObject* owner, std::unique_ptr<NotifyIconHost> host);
    /// Deletes the icon if it is active.
    ~TrayIcon() override;

    bool active() const { return active_; }
    /// True adds the icon, false deletes it.
    void setActive(bool value);
    bool animate() const { return animate_; }
    /// Restarts the animation at image 0 and starts or stops the animation timer.
    void setAnimate(bool value);
    bool hideAppOnMinimize() const { return hideAppOnMinimize_; }
    /// While true, a minimised top-level window of the application is hidden from the task bar.
    void setHideAppOnMinimize(bool value);
    const QString& hint() const { return hint_; }
    void setHint(const QString& value);
    int imageIndex() const { return imageIndex_; }
    void setImageIndex(int value);
    ImageList* imageList() const { return imageList_; }
    /// The reference is cleared when the list is destroyed.
    void setImageList(ImageList* list);
    int interval() const { return interval_; }
    /// The animation period; 0 or less pauses the animation.
    void setInterval(int milliseconds);
    QMenu* popupMenu() const { return popupMenu_; }
    /// The reference is cleared when the menu is destroyed. Handed to the host too: where the
    /// desktop shows it itself, a right click opens no menu of the component's own.
    void setPopupMenu(QMenu* menu);
    TShortCut shortCut() const { return shortCut_; }
    /// Non-zero registers the global key (hotkey id 0) through the hotkey system; 0 releases it.
    void setShortCut(TShortCut value);
    bool showAtDesignTime() const { return showAtDesignTime_; }
    /// True adds the icon, false deletes it.
    void setShowAtDesignTime(bool value);
    bool showHint() const { return showHint_; }
    void setShowHint(bool value);
    bool showOnClick() const { return showOnClick_; }
    void setShowOnClick(bool value);
    bool useAppIcon() const { return useAppIcon_; }
    void setUseAppIcon(bool value);
    TIDI_Icons winIcon() const { return winIcon_; }
    void setWinIcon(TIDI_Icons value);

    /// Where the global shortcut is registered: RegisterHotKey(window, 0, ...) on the system.
    /// Without one, a non-zero ShortCut registers nothing.
    void setHotkeySystem(SystemControl* system, WindowHandle window);
    bool shortCutRegistered() const { return shortCutRegistered_; }

    /// While loading (between beginLoad and endLoad) no icon is added or modified; endLoad
    /// adds the icon if Active is true.
    void beginLoad() { loading_ = true; }
    void endLoad();

    /// The message handling of the icon's window: the icon callback (kTrayCallbackMessage with
    /// a mouse message as lParam) and WM_HOTKEY (forward the global shortcut's presses here).
    /// Returns 0.
    std::intptr_t windowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    /// Where the cursor is read for the popup menu; QCursor::pos() unless replaced.
    void setCursorSource(std::function<QPoint()> source) { cursorPos_ = std::move(source); }

    /// Shows a message beside the icon for about timeoutMs, also while the icon is not active
    /// (see NotifyIconHost). False when the desktop shows no such messages.
    bool showBalloon(const QString& title, const QString& text, int timeoutMs);

    /// Whether the desktop reports double clicks on the icon (see NotifyIconHost).
    bool hostSendsDoubleClicks() const { return host_->sendsDoubleClicks(); }

    /// The record form decided at construction.
    bool extendedShell() const { return extendedShell_; }
    /// The last record filled (for add, modify and delete).
    const NotifyIconData& record() const { return data_; }
    /// The index of the next animation frame.
    int frameIndex() const { return frameIndex_; }

signals:
    /// The left button released over the icon. A receiver may delete the icon.
    void clicked();
    /// The left button double-clicked.
    void doubleClicked();
    /// The right button released over the icon, at this screen position.
    void rightClicked(QPoint screenPos);
    /// The global shortcut was pressed.
    void shortCutPressed();

private:
    void fillRecord();
    void addIcon();
    void modifyIcon();
    void deleteIcon();
    void animationTick();
    void updateAnimationTimer();
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<NotifyIconHost> host_;
    bool extendedShell_ = false;
    NotifyIconData data_;
    QTimer animationTimer_;
    std::function<QPoint()> cursorPos_;

    bool active_ = false;
    bool animate_ = false;
    bool hideAppOnMinimize_ = false;
    QString hint_;
    int imageIndex_ = -1;
    QPointer<ImageList> imageList_;
    int interval_ = 1000;
    QPointer<QMenu> popupMenu_;
    bool hostShowsMenu_ = false;
    TShortCut shortCut_ = 0;
    bool showAtDesignTime_ = false;
    bool showHint_ = false;
    bool showOnClick_ = false;
    bool useAppIcon_ = false;
    TIDI_Icons winIcon_ = TIDI_Icons::idiWINLOGO;
    QIcon fallbackIcon_;

    int frameIndex_ = 0;
    bool loading_ = false;
    bool shortCutRegistered_ = false;
    SystemControl* hotkeySystem_ = nullptr;
    WindowHandle hotkeyWindow_ = 0;
};

}  // namespace brisko
