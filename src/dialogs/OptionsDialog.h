#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "Look.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace brisko {

class PictureLabel;
class SettingsStore;
class UserPrompts;

/// The "Optionen" window: autostart, welcome page, interface style and language. Its style
/// radio buttons and language list are the run's record of the user's choice, which the main
/// window reads for its page switches and writes when it closes.
class OptionsDialog : public QWidget {
    Q_OBJECT
public:
    /// The page switches of the main window, called at creation in their designed variant.
    struct StartPage {
        std::function<void()> showWelcomePage;
        std::function<void()> showSlotPage;
    };

    /// Creates the hidden dialog: picks the main window's start page from "Willkommen", checks
    /// autostart when the autostart entry exists, and applies and checks the stored style.
    OptionsDialog(SettingsStore& store, UserPrompts& prompts, const StartPage& startPage,
                  const QString& dataDirectory);

    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    /// The colours of the tab bar in a style.
    struct TabColours {
        QColor text, tab, border, selected;
    };

public slots:
    /// Disables the main window and shows the dialog centred.
    void open();

public:
    /// "Speichern" (and every close request): writes autostart and "Willkommen", then enables
    /// the main window and hides. A failed write keeps the dialog open.
    void save();

    /// The checked style radio button.
    InterfaceStyle styleChoice() const;
    /// The selected language item: 0 German, 1 English, -1 none.
    int languageChoice() const;
    void selectLanguage(int item);

signals:
    /// Another style radio button was checked.
    void styleChoiceChanged(InterfaceStyle style);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyStoredStyle();
    void styleTabBar(const TabColours& colours);
    std::vector<QWidget*> choices() const;

    SettingsStore& store_;
    UserPrompts& prompts_;
    const QString dataDirectory_;
    QPointer<QWidget> mainWindow_;
    QCheckBox* autostart_ = nullptr;
    QCheckBox* welcome_ = nullptr;
    QRadioButton* blue_ = nullptr;
    QRadioButton* win95_ = nullptr;
    QRadioButton* luna_ = nullptr;
    QComboBox* language_ = nullptr;
    QPushButton* save_ = nullptr;
    QTabBar* tabBar_ = nullptr;
    std::vector<QLabel*> texts_;           // the eight explanatory texts
    std::vector<PictureLabel*> pictures_;  // four tab backgrounds and the button bar
};

}  // namespace brisko
