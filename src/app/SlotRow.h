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

namespace brisko {

class ImageButton;
class SlotModel;

/// One row of the slot page: key label, action list, program path, the browse, web-address,
/// open-mode and text buttons, the hidden show-mode field and the open-mode menu. The row
/// writes the model on user edits; sync() brings the controls in line with the model and
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
    void chooseShowMode(const char* mode);

    int slot_;
    int y_;
    SlotModel& slots_;
    QPixmap textIcon_;
    QLabel* keyLabel_;
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
};

}  // namespace brisko
