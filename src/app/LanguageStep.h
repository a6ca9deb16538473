#pragma once

#include <QString>
#include <array>

#include "hotkeys/HotkeySlot.h"
#include "storage/LanguageFile.h"

class QMenu;
class QWidget;

namespace brisko {

class MainWindow;

/// The windows whose texts a language file replaces, by the names the language table uses.
struct LanguageWindows {
    MainWindow* main = nullptr;
    QWidget* options = nullptr;
    QWidget* editor = nullptr;
    QWidget* update = nullptr;
    QMenu* tray = nullptr;
};

/// Gives every line's text to the line's targets (captions, hints, menu titles, the entries
/// of the action lists and open-mode menus, window captions, the delete-all confirmation).
/// Returns the three update-dialog messages (lines 104 to 106).
std::array<QString, 3> ApplyLanguageLines(const LanguageLines& lines,
                                          const LanguageWindows& windows);

/// The actions' names as the language's action lists show them.
std::array<QString, kActionCount> ActionNames(const LanguageLines& lines);

}  // namespace brisko
