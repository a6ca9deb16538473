#pragma once

#include <QIcon>
#include <QString>

#include <cstdint>
#include <functional>

class QMenu;

namespace brisko {

// Notification-area messages and flags, with their system values.
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
/// The callback message through which the icon reports mouse activity to its window.
inline constexpr unsigned kTrayCallbackMessage = 0x0809;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;

/// Record sizes and tip buffer lengths (characters, terminating zero included).
inline constexpr std::uint32_t kFirstGenerationRecordSize = 88;
inline constexpr std::uint32_t kExtendedRecordSize = 488;
inline constexpr int kFirstGenerationTipChars = 64;
inline constexpr int kExtendedTipChars = 128;

/// The fallback system icons of the tray icon component.
enum class TIDI_Icons {
    idiAPPLICATION,
    idiASTERISK,
    idiEXCLAMATION,
    idiHAND,
    idiQUESTION,
    idiWINLOGO
};

/// Where the icon of a record came from; lets callers and tests tell icons apart.
struct IconSource {
    enum class Kind { None, Application, ImageList, System };
    Kind kind = Kind::None;
    int imageIndex = -1;                         // for ImageList
    TIDI_Icons system = TIDI_Icons::idiWINLOGO;  // for System
    bool operator==(const IconSource&) const = default;
};

/// The notification record: the first-generation form (size 88, tip of at most 63
/// characters) or the extended form (size 488, tip of at most 127, state and state mask).
struct NotifyIconData {
    std::uint32_t cbSize = kFirstGenerationRecordSize;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    IconSource iconSource;
    QString szTip;
    std::uint32_t dwState = 0;      // extended form only
    std::uint32_t dwStateMask = 0;  // extended form only
    bool extended() const { return cbSize == kExtendedRecordSize; }
};

/// The desktop's notification area, as the tray icon component drives it.
class NotifyIconHost {
public:
    /// Receives the icon's mouse notifications: the callback message and the mouse message
    /// (WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP or another).
    using Callback = std::function<void(unsigned message, std::intptr_t lParam)>;

    virtual ~NotifyIconHost() = default;
    /// True when the host takes the extended record; asked once, at the component's construction.
    virtual bool extendedShell() const = 0;
    /// Shows the icon described by the record. Returns what the desktop answers.
    virtual bool add(const NotifyIconData& data) = 0;
    /// Updates the shown icon; refused (false, no effect) while no icon is shown.
    virtual bool modify(const NotifyIconData& data) = 0;
    /// Removes the icon.
    virtual bool remove(const NotifyIconData& data) = 0;
    /// Shows a message beside the icon for about timeoutMs (a desktop notification where the
    /// tray is a StatusNotifierItem host). While no icon is shown, the icon of the record is
    /// shown for that time to carry it. False when the desktop shows no such messages.
    virtual bool showBalloon(const NotifyIconData& data, const QString& title, const QString& text,
                             int timeoutMs) = 0;
    /// Offers the host the icon's popup menu. True when the desktop shows it on a right click
    /// itself (a StatusNotifierItem host draws it from dbusmenu beside its icon: on Wayland a
    /// program does not know where the cursor is); the component then opens none.
    virtual bool setMenu(QMenu* menu) {
        (void)menu;
        return false;
    }
    /// Sets where the icon's mouse notifications go.
    virtual void setCallback(Callback callback) = 0;
    /// False for hosts that report every activation as a single click and never send a double
    /// click (the StatusNotifierItem ones).
    virtual bool sendsDoubleClicks() const { return true; }
};

}  // namespace brisko
