#include "OptionsDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "UserPrompts.h"
#include "storage/SettingsStore.h"

namespace brisko {

namespace {
const char* const kRestartNote =
    "Hinweis: Sie müssen Brisko neustarten, damit die Änderungen wirksam werden.";

QWidget* Tab(QTabWidget* tabs, const char* name, const char* caption) {
    auto* page = new QWidget;
    page->setObjectName(name);
    new QVBoxLayout(page);
    tabs->addTab(page, QString::fromUtf8(caption));
    return page;
}

QLabel* Text(QWidget* page, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), page);
    label->setObjectName(name);
    label->setWordWrap(true);
    page->layout()->addWidget(label);
    return label;
}
}  // namespace

OptionsDialog::OptionsDialog(SettingsStore& store, UserPrompts& prompts, const StartPage& startPage)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      store_(store),
      prompts_(prompts) {
    setObjectName("Form3");
    setWindowTitle("Optionen");
    setFont(WindowFont());
    setFixedSize(313, 391);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("PageControl1");
    tabs->setGeometry(0, 0, 313, 345);

    QWidget* autostartTab = Tab(tabs, "TabSheet1", "Autostart");
    Text(autostartTab, "Label1",
         "Wenn Sie möchten, dass Brisko immer mit Windows gestartet wird, so klicken Sie hier:");
    Text(autostartTab, "Label5", "Brisko platziert sich dann automatisch in der Taskbar");
    autostart_ = new QCheckBox("Brisko immer mit Windows starten", autostartTab);
    autostart_->setObjectName("CheckBox1");
    autostartTab->layout()->addWidget(autostart_);
    Text(autostartTab, "Label2",
         "Hinweis: Ihre gesetzten Hot Keys sind nur dann gültig, wenn auch Brisko gestartet ist.");

    QWidget* styleTab = Tab(tabs, "TabSheet3", "Oberfläche");
    Text(styleTab, "Label3",
         "Hier haben Sie nun die Möglichkeit die Programm- Oberfläche anzupassen:");
    blue_ = new QRadioButton("Blue Style", styleTab);
    blue_->setObjectName("RadioButton1");
    win95_ = new QRadioButton("Windows 95 Style (Grau)", styleTab);
    win95_->setObjectName("RadioButton2");
    luna_ = new QRadioButton("Luna Style", styleTab);
    luna_->setObjectName("RadioButton3");
    for (QRadioButton* b : {blue_, win95_, luna_})
        styleTab->layout()->addWidget(b);
    blue_->setChecked(true);
    Text(styleTab, "Label6", kRestartNote);

    QWidget* languageTab = Tab(tabs, "TabSheet4", "Sprache");
    Text(languageTab, "Label7", "Bitte wählen Sie die gewünschte Sprache aus:");
    language_ = new QComboBox(languageTab);
    language_->setObjectName("ComboBoxEx1");
    language_->addItems({"German", "English"});
    language_->setCurrentIndex(-1);
    languageTab->layout()->addWidget(language_);
    Text(languageTab, "Label9", kRestartNote);

    QWidget* welcomeTab = Tab(tabs, "TabSheet2", "Willkommen-Bildschirm");
    Text(welcomeTab, "Label4",
         "Wenn Sie möchten, dass bei jedem Programmstart der Willkommen-Bildschirm angezeigt "
         "wird klicken Sie hier:");
    welcome_ = new QCheckBox("Willkommen-Bildschirm immer beim Programmstart anzeigen", welcomeTab);
    welcome_->setObjectName("CheckBox2");
    welcomeTab->layout()->addWidget(welcome_);
    for (QWidget* tab : {autostartTab, styleTab, languageTab, welcomeTab})
        static_cast<QVBoxLayout*>(tab->layout())->addStretch();

    save_ = new QPushButton("Speichern", this);
    save_->setObjectName("Imagebutton1");
    save_->setGeometry(216, 352, 89, 29);
    connect(save_, &QPushButton::clicked, this, &OptionsDialog::save);

    RunHandler(prompts_, [&] {
        const bool welcomeOn = OpenSettingsKey(store_).read("Willkommen") != "Nein";
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
}

void OptionsDialog::applyStoredStyle() {
    RunHandler(prompts_, [&] {
        const std::string style = OpenSettingsKey(store_).read("Style");
        if (style == "Blue") {
            blue_->setChecked(true);
        } else if (style == "Win95") {
            QPalette p = palette();
            p.setColor(QPalette::Window, kPlainBackground);
            p.setColor(QPalette::WindowText, Qt::black);
            setPalette(p);
            win95_->setChecked(true);
        } else if (style == "Luna") {
            // The pictures come first: one that fails leaves the designed look and "Blue".
            LoadPicture(UnderDirectory(ProgramDirectory(store_), "images/02.JPG"));
            QPalette p = palette();
            p.setColor(QPalette::WindowText, kNavy);
            p.setColor(QPalette::ButtonText, kNavy);
            setPalette(p);
            luna_->setChecked(true);
        }
    });
}

void OptionsDialog::open() {
    if (mainWindow_)
        mainWindow_->setEnabled(false);
    show();
    raise();
    activateWindow();
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
        key.write("Willkommen", welcome_->isChecked() ? "Ja" : "Nein");
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
