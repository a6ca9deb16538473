#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

#include "hotkeys/KeyBindings.h"
#include "storage/LanguageFile.h"

namespace brisko {

class ImageButton;
class SlotModel;

/// One row of the slot page: key label, action list, program path, the browse, web-address,
/// open-mode and text buttons, the hidden show-mode field and the open-mode menu. The row
/// writes the model on user edits only; sync() brings the controls in line with the model and
/// touches a control only when its value differs.
class SlotRow : public QObject {
    Q_OBJECT
public:
    /// What the row's buttons ask of the window.
    struct Commands {
        std::function<void(int slot)> browse;
        std::function<void(int slot)> webAddress;
        std::function<void(int slot)> openMode;
        std::function<void(int slot)> text;
    };

    /// The row's pictures come from the data directory's images/ folder.
    SlotRow(QWidget* page, int slot, int y, SlotModel& model, const Commands& commands,
            const QString& dataDirectory);

    /// Row layout, show-mode check marks, web-address hint and the mirrored values.
    void sync();

    /// Paints the text button's caption (it follows the language's hint for the button).
    void setTextButtonCaption(const QString& caption);

    /// The mark beside the key: held, held under another trigger, or not held, with the reason
    /// in its tooltip. Touches the controls only when the state differs from the shown one.
    void setKeyState(const KeyState& state);
    /// The texts of the mark's tooltips in the chosen language (German until set); kept by
    /// reference, they must outlive the row.
    void setKeyMarkTexts(const ExtraTexts& texts);
    QLabel* keyMark() const { return keyMark_; }

    /// Makes the next sync set the web-address hint again, whatever it holds now.
    void forgetHint() { hintShown_ = false; }

    int slot() const { return slot_; }
    QLabel* keyLabel() const { return keyLabel_; }
    QComboBox* actionList() const { return actionList_; }
    QLineEdit* pathField() const { return pathField_; }
    QLineEdit* showModeField() const { return showModeField_; }
    ImageButton* browseButton() const { return browse_; }
    ImageButton* webButton() const { return web_; }
    ImageButton* openModeButton() const { return openMode_; }
    ImageButton* textButton() const { return text_; }
    QMenu* openModeMenu() const { return menu_; }
    QAction* modeItem(int index) const { return modeItems_[index]; }

private:
    /// The user's choice in the open-mode menu: the model, then the marks and the field.
    void chooseShowMode(const char* mode);
    /// Check marks and show-mode field for a mode.
    void showShowMode(const char* mode);
    /// A path that names a desktop entry shows the application's name and icon as its hint.
    void showApplicationHint(const std::string& path);

    int slot_;
    int y_;
    SlotModel& slots_;
    QPixmap textIcon_;
    QLabel* keyLabel_;
    QLabel* keyMark_;
    KeyState shownKeyState_;
    const ExtraTexts* keyMarkTexts_;
    QComboBox* actionList_;
    QLineEdit* pathField_;
    QLineEdit* showModeField_;
    ImageButton* browse_;
    ImageButton* web_;
    ImageButton* openMode_;
    ImageButton* text_;
    QMenu* menu_;
    QAction* modeItems_[3];
    std::string shownWebAddress_;
    bool hintShown_ = false;
    std::string hintedPath_;
    QString plainPathHint_;  // the path field's own hint, while an application's shows
    QAction* applicationIcon_ = nullptr;
};

}  // namespace brisko
