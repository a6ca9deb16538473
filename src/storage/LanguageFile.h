#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko {

/// The number of lines a language file supplies; lines after it are not read.
inline constexpr int kLanguageLineCount = 106;

/// Texts the program gained after the fixed lines were laid down. A language file may carry
/// them after its line 106 as lines "Name=text", in any order; one that is missing, empty or
/// misspelt there keeps its German text, so files without them work as before. In the texts,
/// "%1" stands for the key ("F5") and "%2" for the trigger the desktop chose instead.
enum class ExtraText {
    KeyHeld,            ///< key mark: bound as asked
    KeyOtherTrigger,    ///< key mark: bound to another trigger (%2)
    KeyTakenElsewhere,  ///< key mark: another program holds the key (X11)
    KeyNoTrigger,       ///< key mark: the desktop gave the action no trigger
    KeyRefused,         ///< key mark: the desktop or the user declined the key
    KeyNoService,       ///< key mark: the desktop offers no global shortcuts
    NoShortcutsNotice,  ///< the notice that the desktop offers no global shortcuts...
    NoShortcutsRemedy,  ///< ...and its second paragraph: what to install or use instead
};
inline constexpr int kExtraTextCount = 8;

/// The name of an extra text in a language file, e.g. "KeyHeld".
const char* ExtraTextName(ExtraText text);
/// The German text of an extra text (the program's own).
const char* GermanExtraText(ExtraText text);

/// The extra texts of one language; German until a file supplies others.
class ExtraTexts {
public:
    ExtraTexts();
    const std::string& operator[](ExtraText text) const {
        return texts_[static_cast<std::size_t>(text)];
    }
    std::string& operator[](ExtraText text) { return texts_[static_cast<std::size_t>(text)]; }

private:
    std::array<std::string, kExtraTextCount> texts_;
};

/// The texts of a language file; element k - 1 is line k. Lines missing from the file are "".
struct LanguageLines : std::array<std::string, kLanguageLineCount> {
    ExtraTexts extras;
};

/// Reads the 106 lines and the extra texts after them from the raw bytes of a language file
/// (Windows-1252 or UTF-8).
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
