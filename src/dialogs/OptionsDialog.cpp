#include "OptionsDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "ProgramDialog.h"
#include "UserPrompts.h"
#include "storage/SettingNames.h"
#include "storage/SettingsStore.h"
#include "widgets/PictureLabel.h"

namespace brisko {

namespace {
const char* const kRestartNote =
    "Hinweis: Sie müssen Brisko neustarten, damit die Änderungen wirksam werden.";
const QColor kDesignedControlBackground{182, 182, 254};
// The tab bar in each style: text, tab, border, chosen tab.
const OptionsDialog::TabColours kDesignedTab{
    Qt::white, {40, 62, 150}, {24, 44, 110}, {92, 112, 214}};
const OptionsDialog::TabColours kPlainTab{
    Qt::black, {224, 223, 215}, {160, 160, 160}, kPlainBackground};
const OptionsDialog::TabColours kLunaTab{kNavy, {215, 221, 243}, {127, 157, 185}, {245, 247, 253}};

void SetColours(QWidget* w, const QColor& text, const QColor& background = QColor()) {
    if (background.isValid()) {
        // A check box or radio button: its own ground behind text and mark.
        w->setStyleSheet(QString("background-color: %1; color: %2;")
                             .arg(background.name(), QColor(text).name()));
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    w->setPalette(p);
}
}  // namespace

OptionsDialog::OptionsDialog(SettingsStore& store, UserPrompts& prompts, const StartPage& startPage,
                             const QString& dataDirectory)
    // A title bar without any buttons: "Speichern" is the way out.
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      store_(store),
      prompts_(prompts),
      dataDirectory_(dataDirectory) {
    setObjectName("Form3");
    setWindowTitle("Optionen");
    setFont(WindowFont());
    setFixedSize(313, 391);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("PageControl1");
    tabs->setGeometry(0, 0, 313, 345);
    QFont tabFont = tabs->font();
    tabFont.setPointSizeF(7);
    tabs->tabBar()->setFont(tabFont);
    tabBar_ = tabs->tabBar();
    styleTabBar(kDesignedTab);
    auto tab = [&](const char* name, const char* caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        auto* picture = new PictureLabel(page);
        picture->setObjectName(QString(name) + "Background");
        picture->setGeometry(0, 0, 305, 317);
        picture->setDesignedPicture(ShippedPicturePath(dataDirectory_, "options-background.png"));
        pictures_.push_back(picture);
        tabs->addTab(page, QString::fromUtf8(caption));
        return page;
    };
    auto text = [&](QWidget* page, const char* name, const char* caption, QRect at) {
        auto* label = new QLabel(QString::fromUtf8(caption), page);
        label->setObjectName(name);
        label->setGeometry(at);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        texts_.push_back(label);
        return label;
    };
    auto icon = [&](QWidget* page, const char* file) {
        auto* label = new QLabel(page);
        label->setGeometry(16, 16, 32, 32);
        label->setPixmap(DesignedPicture(dataDirectory_, file, QSize(32, 32)));
    };

    QWidget* autostartTab = tab("TabSheet1", "Autostart");
    icon(autostartTab, "icon-autostart.png");
    text(autostartTab, "Label1",
         "Wenn Sie möchten, dass Brisko immer mit Windows gestartet wird, so klicken Sie hier:",
         {60, 16, 230, 44});
    text(autostartTab, "Label5", "Brisko platziert sich dann automatisch in der Taskbar",
         {60, 64, 230, 30});
    autostart_ = new QCheckBox("Brisko immer mit Windows starten", autostartTab);
    autostart_->setObjectName("CheckBox1");
    autostart_->setGeometry(16, 110, 273, 22);
    text(autostartTab, "Label2",
         "Hinweis: Ihre gesetzten Hot Keys sind nur dann gültig, wenn auch Brisko gestartet ist.",
         {16, 250, 273, 44});

    QWidget* styleTab = tab("TabSheet3", "Oberfläche");
    icon(styleTab, "icon-style.png");
    text(styleTab, "Label3",
         "Hier haben Sie nun die Möglichkeit die Programm- Oberfläche anzupassen:",
         {60, 16, 230, 44});
    blue_ = new QRadioButton("Blue Style", styleTab);
    blue_->setObjectName("RadioButton1");
    win95_ = new QRadioButton("Windows 95 Style (Grau)", styleTab);
    win95_->setObjectName("RadioButton2");
    luna_ = new QRadioButton("Luna Style", styleTab);
    luna_->setObjectName("RadioButton3");
    int y = 80;
    for (QRadioButton* b : {blue_, win95_, luna_}) {
        b->setGeometry(16, y, 273, 22);
        y += 30;
    }
    blue_->setChecked(true);
    text(styleTab, "Label6", kRestartNote, {16, 250, 273, 44});

    QWidget* languageTab = tab("TabSheet4", "Sprache");
    text(languageTab, "Label7", "Bitte wählen Sie die gewünschte Sprache aus:", {16, 16, 273, 30});
    language_ = new QComboBox(languageTab);
    language_->setObjectName("ComboBoxEx1");
    language_->addItem(QIcon(DesignedPicture(dataDirectory_, "flag-german.png", QSize(16, 16))),
                       "German");
    language_->addItem(QIcon(DesignedPicture(dataDirectory_, "flag-english.png", QSize(16, 16))),
                       "English");
    language_->setCurrentIndex(-1);
    language_->setGeometry(16, 56, 180, 24);
    text(languageTab, "Label9", kRestartNote, {16, 250, 273, 44});

    QWidget* welcomeTab = tab("TabSheet2", "Willkommen-Bildschirm");
    icon(welcomeTab, "icon-welcome.png");
    text(welcomeTab, "Label4",
         "Wenn Sie möchten, dass bei jedem Programmstart der Willkommen-Bildschirm angezeigt "
         "wird klicken Sie hier:",
         {60, 16, 230, 58});
    welcome_ = new QCheckBox("Willkommen-Bildschirm immer beim Programmstart anzeigen", welcomeTab);
    welcome_->setObjectName("CheckBox2");
    welcome_->setGeometry(16, 90, 280, 22);

    auto* bar = new PictureLabel(this);
    bar->setObjectName("OptionsButtonBar");
    bar->setGeometry(0, 345, 313, 46);
    bar->setDesignedPicture(ShippedPicturePath(dataDirectory_, "options-bar.png"));
    pictures_.push_back(bar);

    save_ =
        new QPushButton(QIcon(DesignedPicture(dataDirectory_, "buttons/save.png", QSize(16, 16))),
                        "Speichern", this);
    save_->setObjectName("Imagebutton1");
    save_->setGeometry(216, 352, 89, 29);
    save_->setFlat(true);
    connect(save_, &QPushButton::clicked, this, &OptionsDialog::save);

    // The designed look: white texts, the choices on a light violet ground.
    for (QLabel* label : texts_)
        SetColours(label, Qt::white);
    SetColours(save_, Qt::white);
    for (QWidget* choice : choices())
        SetColours(choice, Qt::white, kDesignedControlBackground);

    RunHandler(prompts_, [&] {
        const bool welcomeOn = OpenSettingsKey(store_).read(setting_names::kWelcome) != "Nein";
        if (welcomeOn && startPage.showWelcomePage)
            startPage.showWelcomePage();
        if (!welcomeOn && startPage.showSlotPage)
            startPage.showSlotPage();
        welcome_->setChecked(welcomeOn);
    });
    RunHandler(prompts_, [&] {
        SettingsKey run(store_, SettingsRoot::LocalMachine, kRunKeyPath, false);
        autostart_->setChecked(run.exists(kRunValueName));
    });
    applyStoredStyle();
    for (QRadioButton* b : {blue_, win95_, luna_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                emit styleChoiceChanged(styleChoice());
        });
}

void OptionsDialog::styleTabBar(const TabColours& colours) {
    tabBar_->setStyleSheet(
        QString("QTabBar::tab { padding: 3px 4px; color: %1; background: %2;"
                " border: 1px solid %3; border-bottom: none; margin-right: 1px; }"
                " QTabBar::tab:selected { background: %4; }"
                " QTabBar::tab:!selected { margin-top: 2px; }")
            .arg(colours.text.name(), colours.tab.name(), colours.border.name(),
                 colours.selected.name()));
}

std::vector<QWidget*> OptionsDialog::choices() const {
    return {autostart_, welcome_, blue_, win95_, luna_};
}

void OptionsDialog::applyStoredStyle() {
    RunHandler(prompts_, [&] {
        const InterfaceStyle style = ReadInterfaceStyle(store_);
        if (style == InterfaceStyle::Blue) {
            blue_->setChecked(true);
        } else if (style == InterfaceStyle::Win95) {
            QPalette p = palette();
            p.setColor(QPalette::Window, kPlainBackground);
            setPalette(p);
            setAutoFillBackground(true);
            for (PictureLabel* picture : pictures_)
                picture->hide();
            SetColours(save_, Qt::black);
            for (QWidget* choice : choices())
                SetColours(choice, Qt::black, kPlainBackground);
            for (QLabel* label : texts_)
                SetColours(label, Qt::black);
            styleTabBar(kPlainTab);
            win95_->setChecked(true);
        } else if (style == InterfaceStyle::Luna) {
            // The pictures come first: one that fails leaves the designed look and "Blue".
            for (PictureLabel* picture : pictures_)
                picture->setPictureFile(
                    UnderDirectory(ProgramDirectory(store_, dataDirectory_), "images/02.JPG"));
            SetColours(save_, kNavy);
            SetColours(autostart_, kNavy, QColor(224, 229, 248));
            SetColours(welcome_, kNavy, QColor(217, 223, 245));
            SetColours(blue_, kNavy, QColor(215, 221, 243));
            SetColours(win95_, kNavy, QColor(220, 227, 246));
            SetColours(luna_, kNavy, QColor(225, 230, 249));
            for (QLabel* label : texts_)
                SetColours(label, kNavy);
            styleTabBar(kLunaTab);
            luna_->setChecked(true);
        }
    });
}

void OptionsDialog::open() {
    OpenOver(this, mainWindow_);
}

void OptionsDialog::save() {
    const bool saved = RunHandler(prompts_, [&] {
        if (autostart_->isChecked()) {
            SettingsKey run(store_, SettingsRoot::LocalMachine, kRunKeyPath, true);
            run.write(kRunValueName,
                      QCoreApplication::applicationFilePath().toStdString() + " -autostart");
            run.close();
        } else {
            SettingsKey run(store_, SettingsRoot::LocalMachine, kRunKeyPath, false);
            if (run.exists(kRunValueName))
                run.remove(kRunValueName);
        }
        SettingsKey key = OpenSettingsKey(store_);
        key.write(setting_names::kWelcome, welcome_->isChecked() ? "Ja" : "Nein");
        key.close();
    });
    if (!saved)
        return;
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    hide();
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    save();
}

InterfaceStyle OptionsDialog::styleChoice() const {
    if (win95_->isChecked())
        return InterfaceStyle::Win95;
    if (luna_->isChecked())
        return InterfaceStyle::Luna;
    return InterfaceStyle::Blue;
}

int OptionsDialog::languageChoice() const {
    return language_->currentIndex();
}

void OptionsDialog::selectLanguage(int item) {
    language_->setCurrentIndex(item);
}

}  // namespace brisko
