#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "SlotRow.h"
#include "dialogs/Look.h"
#include "hotkeys/HotkeySlot.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace brisko {

class ImageButton;
class PictureLabel;
class SettingsStore;
class UserPrompts;

/// The main window "Orvalde - Brisko": menus, the navigation of the three interface styles,
/// the welcome page and the slot page with its eleven rows. It edits the slot model; tick()
/// keeps the controls in line with the model.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// The window's pictures come from the data directory (or the "Path" setting's folder).
    MainWindow(SlotModel& model, SettingsStore& store, UserPrompts& prompts,
               const QString& dataDirectory);
    ~MainWindow() override;

    /// Reads "Style" (and for "Luna" "Lang") and applies the interface style.
    void applyInterfaceStyle();
    /// The first start-up tick: in the plain styles the header pictures give way to the bar.
    void fixUpStylePictures();
    InterfaceStyle style() const { return style_; }

    /// The page switches; designed = the variant of the designed look, which also swaps the
    /// header pictures.
    void showWelcomePage(bool designed);
    void showSlotPage(bool designed);
    bool welcomePageShown() const;

    /// One pass of the continuous rules: row layout, check marks, hints, menu enabling.
    /// Returns at once when neither the model nor the page changed since the last pass.
    void tick();
    /// Makes the next tick set every control again (after texts were replaced).
    void refreshAll();

signals:
    // What the window asks of the rest of the program.
    void hideToTrayRequested();
    void quitRequested();
    /// The window is being closed: the program's close handling runs now.
    void closing();
    void optionsRequested();
    void updateRequested();
    void infoRequested();
    void helpRequested();
    void textEditorRequested(int slot);

public slots:
    /// The style that the options dialog has chosen; the menu's page switches use the
    /// designed variant only for "Blue".
    void setPageSwitchStyle(InterfaceStyle style) { pageSwitchStyle_ = style; }
    /// Lets go of the window on the screen's side (its image included) while hidden; showing
    /// the window again creates it anew.
    void releaseNativeWindow() { destroy(); }

    // Menu commands.
    void loadDistribution();
    void saveDistribution();
    void deleteAll();
    /// Texts of the delete-all confirmation (from the language file).
    void setDeleteAllTexts(const QString& title, const QString& text);
    /// The folders of the desktop's applications, offered when browsing for a program.
    void setApplicationFolders(QStringList folders) { applicationFolders_ = std::move(folders); }

public:
    // Row commands.
    void browse(int slot);
    void editWebAddress(int slot);
    void popupOpenMode(int slot);

    SlotRow& row(int slot) { return *rows_.at(slot - 1); }
    QAction* action(const char* name) const;
    QWidget* welcomePage() const { return welcomePage_; }
    /// Where the open-mode menus pop up; the cursor position unless replaced.
    void setCursorSource(std::function<QPoint()> source) { cursorPos_ = std::move(source); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildHeader();
    void buildWelcomePage();
    void buildSlotPage();
    void buildNavigation();
    void applyWin95();
    void applyLuna();
    void pageSwitchFromMenu(bool welcome);
    void welcomeFromMenu() { pageSwitchFromMenu(true); }
    void slotsFromMenu() { pageSwitchFromMenu(false); }
    void markNavigation(QLabel* red);
    void setLabelColour(QLabel* label, const QColor& colour);
    QColor labelColour(QLabel* label) const;
    QPixmap picture(const QString& name) const { return ShippedPicture(dataDirectory_, name); }
    QString picturePath(const QString& name) const {
        return ShippedPicturePath(dataDirectory_, name);
    }

    SlotModel& slots_;
    SettingsStore& store_;
    UserPrompts& prompts_;
    const QString dataDirectory_;
    InterfaceStyle style_ = InterfaceStyle::Blue;
    InterfaceStyle pageSwitchStyle_ = InterfaceStyle::Blue;
    std::function<QPoint()> cursorPos_;

    QWidget* central_ = nullptr;
    QWidget* welcomePage_ = nullptr;
    PictureLabel* image1_ = nullptr;   // header, welcome page
    PictureLabel* image9_ = nullptr;   // header, slot page
    PictureLabel* image10_ = nullptr;  // bar of the plain styles
    PictureLabel* image2_ = nullptr;   // welcome background
    PictureLabel* image4_ = nullptr;   // slot page background
    std::array<PictureLabel*, 4> bullets_{};
    std::array<QLabel*, 4> points_{};
    QList<QLabel*> welcomeTexts_;
    QLabel* intro_ = nullptr;  // Label1
    QLabel* goTo_ = nullptr;   // Label26
    std::array<QLabel*, 4> navTexts_{};
    std::array<ImageButton*, 4> hotSpots_{};
    std::array<QPushButton*, 4> speedButtons_{};
    std::array<ImageButton*, 4> lunaGerman_{};
    std::array<ImageButton*, 4> lunaEnglish_{};
    std::array<std::unique_ptr<SlotRow>, kSlotCount> rows_{};

    QString deleteAllTitle_;
    QString deleteAllText_;
    QString lastBrowsed_;
    QStringList applicationFolders_;
    QString lastOpened_;
    QString lastSaved_;

    unsigned long long seenRevision_ = ~0ull;
    bool dirty_ = true;
    bool shownWelcome_ = true;
};

}  // namespace brisko
