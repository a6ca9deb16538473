#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko {

/// The number of lines a language file supplies; lines after it are not read.
inline constexpr int kLanguageLineCount = 106;

/// The texts of a language file; element k - 1 is line k. Lines missing from the file are "".
using LanguageLines = std::array<std::string, kLanguageLineCount>;

/// Reads the 106 lines from the raw bytes of a language file (Windows-1252 or UTF-8).
LanguageLines ParseLanguageFile(std::string_view fileBytes);

/// Reads a language file; nothing when it does not exist or cannot be read.
std::optional<LanguageLines> ReadLanguageFile(const std::string& path);

/// A folder and a name joined with exactly one "/" between them; with an empty name, the folder
/// with exactly one trailing "/".
std::string JoinPath(const std::string& directory, const std::string& name);

/// The language file for a "Lang" value: "German.lang" for exactly "German", "English.lang"
/// for exactly "English", "" for anything else (no file is applied then).
std::string LanguageFileName(const std::string& lang);

/// The item of the options dialog's language list for a "Lang" value: 0 German, 1 English,
/// -1 for anything else.
int LanguageListItem(const std::string& lang);

/// The "Lang" value written for a selected item of the language list; "" for no selection.
std::string LanguageValueForItem(int item);

/// The message shown when a language file is missing, e.g.
/// Fehler beim Laden der Sprachdatei "English.lang".
std::string LanguageFileErrorMessage(const std::string& fileName);

/// What a line of a language file is given to.
enum class LanguageTargetKind {
    Caption,        ///< the caption or text of `component` in `window` (labels, buttons, check
                    ///< boxes, radio buttons, tabs, menu actions, tray menu entries)
    Hint,           ///< the hint (tool tip) of `component` in `window`
    MenuTitle,      ///< top-level menu `index` (0..4, left to right) of the main window's menu bar
    ActionEntry,    ///< entry `index` (0..21) of the action list of all eleven slots
    OpenModeEntry,  ///< entry `index` (0 normal, 1 maximised, 2 minimised) of all eleven
                    ///< open-mode menus (`Normal1`, `MenuItem1`, `MenuItem4` .. `MenuItem28`;
                    ///< `Maximiert1`, `MenuItem2` ..; `Minimiert1`, `MenuItem3` ..)
    ConfirmText,    ///< the text of the delete-all confirmation
    ConfirmTitle,   ///< the title of the delete-all confirmation
    UpdateMessage,  ///< update dialog message `index`: 0 before opening the download, 1 version
                    ///< file could not be fetched, 2 the offered version is the running one
    WindowCaption,  ///< the title of `window`
};

/// One receiver of a line's text.
struct LanguageTarget {
    LanguageTargetKind kind;
    std::string window;     ///< "main", "options", "editor", "update" or "tray"
    std::string component;  ///< component name; "" for kinds that name none
    int index = 0;          ///< for MenuTitle, ActionEntry, OpenModeEntry, UpdateMessage
    std::string builtIn;    ///< the text the target has before a file is applied; "" for none
};

/// One line of a language file.
struct LanguageLine {
    int number = 0;                       ///< 1..106
    std::vector<LanguageTarget> targets;  ///< empty for the lines that are not used
    /// The German text of the line, as "German.lang" holds it: the built-in text, or for the
    /// confirmation and update texts (which have no built-in text) the program's German text.
    std::string german;
};

/// The table of all 106 lines, in order (element k - 1 is line k).
const std::vector<LanguageLine>& LanguageTable();

}  // namespace brisko
