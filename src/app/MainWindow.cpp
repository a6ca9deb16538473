#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "dialogs/UserPrompts.h"
#include "storage/HotkeyDistribution.h"
#include "storage/LanguageFile.h"
#include "storage/SettingNames.h"
#include "storage/SettingsStore.h"
#include "widgets/ImageButton.h"
#include "widgets/PictureLabel.h"
#include "widgets/Pictures.h"

namespace brisko {

namespace {
constexpr int kWidth = 687;
constexpr int kHeight = 492;
constexpr int kPageTop = 66;
constexpr int kPageHeight = 425;
constexpr int kMenuBarHeight = 24;
const QColor kRed{255, 0, 0};

PictureLabel* DesignedLabel(QWidget* parent, const char* name, const QString& path,
                            QRect geometry) {
    auto* label = new PictureLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setDesignedPicture(path);
    return label;
}

QLabel* TextLabel(QWidget* parent, const QString& name, const char* text, QRect geometry,
                  bool wrap = true) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// Without a language file the confirmation shows the German file's texts for it.
QString GermanLine(int number) {
    return QString::fromStdString(LanguageTable().at(number - 1).german);
}
const QString kDistributionFilter = QString::fromUtf8("Hot Key-Verteilungen (*.hkv)");
}  // namespace

MainWindow::MainWindow(SlotModel& model, SettingsStore& store, UserPrompts& prompts,
                       const QString& dataDirectory)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint),
      slots_(model),
      store_(store),
      prompts_(prompts),
      dataDirectory_(dataDirectory),
      deleteAllTitle_(GermanLine(103)),
      deleteAllText_(GermanLine(65)) {
    setObjectName("Form1");
    setWindowTitle("Orvalde - Brisko");
    setFont(WindowFont());
    // Every control is placed in the client area's own coordinates, which count the menu bar's
    // 24 pixels from the top. The canvas therefore sits that far above its holder, which
    // QMainWindow puts below the menu bar, so nothing appears twice as low.
    auto* holder = new QWidget(this);
    holder->setObjectName("ClientHolder");
    holder->setFixedSize(kWidth, kHeight - kMenuBarHeight);
    central_ = new QWidget(holder);
    central_->setObjectName("ClientArea");
    central_->setGeometry(0, -kMenuBarHeight, kWidth, kHeight);
    // The strip above the header takes the header's colour in the designed look.
    QPalette strip = central_->palette();
    strip.setColor(QPalette::Window, QColor(24, 44, 110));
    central_->setPalette(strip);
    central_->setAutoFillBackground(true);
    setCentralWidget(holder);
    buildMenus();
    buildSlotPage();
    buildWelcomePage();
    buildHeader();
    buildNavigation();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    struct Item {
        const char* name;
        const char* caption;
        const char* picture;
        void (MainWindow::*run)();
    };
    auto add = [this](QMenu* menu, const Item& item) {
        QAction* a = menu->addAction(QIcon(picture(item.picture)), QString::fromUtf8(item.caption));
        a->setObjectName(item.name);
        connect(a, &QAction::triggered, this, item.run);
    };

    QMenu* file = menuBar()->addMenu("&Datei");
    file->setObjectName("Datei1");
    add(file, {"HotKeyVerteilungladen1", "Hot Key-Verteilung &laden ...", "menu/load.png",
               &MainWindow::loadDistribution});
    add(file, {"HotKeyVerteilungspeichern1", "Hot Key-Verteilung &speichern ...", "menu/save.png",
               &MainWindow::saveDistribution});
    file->addSeparator();
    add(file, {"Beenden1", "&Beenden", "menu/quit.png", &MainWindow::quitRequested});

    QMenu* edit = menuBar()->addMenu("&Bearbeiten");
    edit->setObjectName("Bearbeiten1");
    add(edit, {"AlleHotKeyslschen1", "Alle Hot Keys &löschen ...", "menu/delete-all.png",
               &MainWindow::deleteAll});

    QMenu* go = menuBar()->addMenu("&Wechseln zu");
    go->setObjectName("Wechselnzu1");
    add(go, {"Willkommen1", "&Willkommen", "menu/welcome.png", &MainWindow::welcomeFromMenu});
    add(go, {"HotKeysetzen1", "&Hot Key setzen", "menu/slots.png", &MainWindow::slotsFromMenu});

    QMenu* extras = menuBar()->addMenu("&Extras");
    extras->setObjectName("Extras1");
    add(extras, {"Optionen1", "&Optionen ...", "menu/options.png", &MainWindow::optionsRequested});
    add(extras, {"Briskoaktualisieren1", "Brisko &aktualisieren ...", "menu/update.png",
                 &MainWindow::updateRequested});

    QMenu* help = menuBar()->addMenu("&?");
    help->setObjectName("N1");
    add(help, {"Hilfe1", "&Hilfe", "menu/help.png", &MainWindow::helpRequested});
    add(help, {"Info1", "In&fo", "menu/info.png", &MainWindow::infoRequested});
}

QAction* MainWindow::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

void MainWindow::buildSlotPage() {
    image4_ = DesignedLabel(central_, "Image4", picturePath("slots-background.png"),
                            QRect(0, kPageTop, 689, kPageHeight));
    image4_->installEventFilter(this);
    intro_ = TextLabel(central_, "Label1",
                       "Hier ist nun der Hauptteil von Brisko: Der Teil zum Setzen Ihrer eigenen "
                       "Hot Keys. Um herauszufinden was ein Hot Key ist, oder wie man einen "
                       "solchen setzt, klicken Sie auf das entsprechende Hilfe-Thema.",
                       QRect(16, kPageTop + 6, 660, 36));  // wide enough for two lines
    SlotRow::Commands commands{
        [this](int n) { browse(n); },
        [this](int n) { editWebAddress(n); },
        [this](int n) { popupOpenMode(n); },
        [this](int n) { emit textEditorRequested(n); },
    };
    for (int n = 1; n <= kSlotCount; ++n) {
        rows_[n - 1] = std::make_unique<SlotRow>(central_, n, kPageTop + 46 + 32 * (n - 1), slots_,
                                                 commands, dataDirectory_);
        setLabelColour(rows_[n - 1]->keyLabel(), kNavy);
    }
    setLabelColour(intro_, Qt::white);
}

void MainWindow::buildWelcomePage() {
    welcomePage_ = new QWidget(central_);
    welcomePage_->setObjectName("Panel1");
    welcomePage_->setGeometry(0, kPageTop, kWidth, kPageHeight);
    welcomePage_->setAutoFillBackground(true);
    image2_ = DesignedLabel(welcomePage_, "Image2", picturePath("welcome-background.png"),
                            QRect(0, 0, 689, kPageHeight));
    image2_->installEventFilter(this);

    QLabel* heading = TextLabel(welcomePage_, "Label29", "Herzlich willkommen bei Brisko !",
                                QRect(16, 16, 600, 33), false);
    QFont big = heading->font();
    big.setPointSize(20);
    big.setBold(true);
    heading->setFont(big);
    welcomeTexts_ << heading;
    welcomeTexts_ << TextLabel(welcomePage_, "Label14",
                               "Mit diesem Program wird Ihr normaler Arbeitsalltag am Computer um "
                               "einiges erleichert, denn mit Brisko können Sie:",
                               QRect(40, 64, 460, 28));
    const char* points[4] = {
        "bequem die Tasten F1 bis F11 mit von Ihnen gewünschten Aktionen belegen",
        "die F-Tasten nicht nur mit Windows Aktionen belegen, sondern auch auf Knopfdruck Ihre "
        "Homepage oder Ihr Lieblingsprogramm starten",
        "Ihre persönliche Verteilung der Hot Keys speichern und gegebenenfalls wieder laden",
        "dadurch bei der Arbeit enorme Zeit sparen und diese schöneren Dingen widmen",
    };
    const int pointY[4] = {109, 157, 205, 245};
    for (int k = 0; k < 4; ++k) {
        bullets_[k] = DesignedLabel(welcomePage_, "", picturePath("bullet.png"),
                                    QRect(40, pointY[k] + 3, 8, 8));
        bullets_[k]->setObjectName(QString("Image%1").arg(5 + k));
        // Only the second point wraps; the others run on one line.
        points_[k] = TextLabel(
            welcomePage_, QString("Label%1").arg(15 + k), points[k],
            k == 1 ? QRect(52, pointY[k], 428, 28) : QRect(52, pointY[k], 620, 16), k == 1);
        welcomeTexts_ << points_[k];
    }
    QLabel* closing =
        TextLabel(welcomePage_, "Label19", "Viel Spaß mit Brisko wünscht Ihnen Orvalde !",
                  QRect(360, 397, 320, 16), false);
    QFont bold = closing->font();
    bold.setBold(true);
    closing->setFont(bold);
    welcomeTexts_ << closing;
    for (QLabel* text : welcomeTexts_)
        setLabelColour(text, Qt::white);
}

void MainWindow::buildHeader() {
    image10_ = DesignedLabel(central_, "Image10", picturePath("bar.png"), QRect(0, 24, kWidth, 41));
    image10_->hide();
    image1_ = DesignedLabel(central_, "Image1", picturePath("header-welcome.png"),
                            QRect(0, 24, kWidth, 43));
    image9_ = DesignedLabel(central_, "Image9", picturePath("header-slots.png"),
                            QRect(0, 24, kWidth, 43));
    image1_->hide();
    image9_->hide();
    image1_->installEventFilter(this);
    image9_->installEventFilter(this);
}

void MainWindow::buildNavigation() {
    goTo_ = TextLabel(central_, "Label26", "Gehe zu", QRect(8, 40, 60, 16), false);
    QFont bold = goTo_->font();
    bold.setBold(true);
    goTo_->setFont(bold);
    setLabelColour(goTo_, Qt::white);

    struct Nav {
        const char* text;
        const char* label;
        QPoint labelAt;
        const char* hotSpot;
        QRect hotSpotAt;
        const char* speedButton;
        int speedX;
        const char* icon;
        const char* german;
        const char* english;
        int lunaX;
        const char* lunaFile;
    };
    const Nav navs[4] = {
        {"Willkommen",
         "Label13",
         {144, 40},
         "ImageButton1",
         {128, 29, 105, 33},
         "SpeedButton4",
         112,
         "buttons/nav-welcome.png",
         "ImageButton25",
         "ImageButton42",
         62,
         "welcome"},
        {"Hot Key setzen",
         "Label20",
         {256, 40},
         "ImageButton38",
         {248, 29, 113, 33},
         "SpeedButton5",
         256,
         "buttons/nav-slots.png",
         "ImageButton39",
         "ImageButton43",
         202,
         "slots"},
        {"Verstecken",
         "Label28",
         {384, 40},
         "Imagebutton37",
         {360, 29, 105, 33},
         "SpeedButton6",
         408,
         "buttons/nav-hide.png",
         "ImageButton40",
         "ImageButton44",
         366,
         "hide"},
        {"Beenden",
         "Label24",
         {512, 40},
         "ImageButton13",
         {480, 29, 105, 33},
         "SpeedButton7",
         544,
         "buttons/nav-quit.png",
         "ImageButton41",
         "ImageButton67",
         504,
         "quit"},
    };
    auto command = [this](int k, bool designed) {
        switch (k) {
            case 0:
                showWelcomePage(designed);
                break;
            case 1:
                showSlotPage(designed);
                break;
            case 2:
                emit hideToTrayRequested();
                break;
            default:
                emit quitRequested();
                break;
        }
    };
    for (int k = 0; k < 4; ++k) {
        const Nav& nav = navs[k];
        navTexts_[k] =
            TextLabel(central_, nav.label, nav.text, QRect(nav.labelAt, QSize(100, 16)), false);
        navTexts_[k]->setFont(bold);
        setLabelColour(navTexts_[k], Qt::white);

        auto* spot = new ImageButton(central_);
        spot->setObjectName(nav.hotSpot);
        spot->setGeometry(nav.hotSpotAt);
        connect(spot, &ImageButton::clicked, this, [command, k] { command(k, true); });
        connect(spot, &ImageButton::mouseEntered, this,
                [this, k] { markNavigation(navTexts_[k]); });
        // A menu or dialog that takes the pointer away sends the leave as well.
        connect(spot, &ImageButton::mouseLeft, this, [this] { markNavigation(nullptr); });
        connect(spot, &ImageButton::mousePressed, this,
                [this, k](Qt::MouseButton) { setLabelColour(navTexts_[k], Qt::white); });
        hotSpots_[k] = spot;

        auto* speed =
            new QPushButton(QIcon(picture(nav.icon)), QString::fromUtf8(nav.text), central_);
        speed->setObjectName(nav.speedButton);
        speed->setGeometry(nav.speedX, 29, 137, 33);
        speed->setFlat(true);
        speed->hide();
        connect(speed, &QPushButton::clicked, this, [command, k] { command(k, false); });
        speedButtons_[k] = speed;

        // Their pictures are read only when "Luna" shows one of the two sets.
        for (int lang = 0; lang < 2; ++lang) {
            auto* button = new ImageButton(central_);
            button->setObjectName(lang == 0 ? nav.german : nav.english);
            button->setProperty("picture",
                                QString("luna/%1-%2-").arg(lang == 0 ? "de" : "en", nav.lunaFile));
            button->move(nav.lunaX, 544);
            connect(button, &ImageButton::clicked, this, [command, k] { command(k, false); });
            (lang == 0 ? lunaGerman_ : lunaEnglish_)[k] = button;
        }
    }
}

void MainWindow::setLabelColour(QLabel* label, const QColor& colour) {
    if (labelColour(label) == colour)
        return;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

QColor MainWindow::labelColour(QLabel* label) const {
    return label->palette().color(QPalette::WindowText);
}

void MainWindow::markNavigation(QLabel* red) {
    for (QLabel* text : navTexts_)
        setLabelColour(text, text == red ? kRed : QColor(Qt::white));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter &&
        (watched == image1_ || watched == image9_ || watched == image2_ || watched == image4_))
        markNavigation(nullptr);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
    // Disabled by a dialog or left for another window, the pointer may never send its leave.
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ActivationChange)
        markNavigation(nullptr);
    QMainWindow::changeEvent(event);
}

void MainWindow::applyInterfaceStyle() {
    InterfaceStyle style = InterfaceStyle::Blue;
    RunHandler(prompts_, [&] { style = ReadInterfaceStyle(store_); });
    if (style == InterfaceStyle::Win95)
        applyWin95();
    else if (style == InterfaceStyle::Luna)
        applyLuna();
}

void MainWindow::applyWin95() {
    style_ = InterfaceStyle::Win95;
    QPalette p = central_->palette();
    p.setColor(QPalette::Window, kPlainBackground);
    central_->setPalette(p);
    central_->setAutoFillBackground(true);
    welcomePage_->setPalette(p);
    for (QWidget* w : {static_cast<QWidget*>(image1_), static_cast<QWidget*>(image9_),
                       static_cast<QWidget*>(image2_), static_cast<QWidget*>(image4_)})
        w->hide();
    for (QLabel* b : bullets_)
        b->hide();
    for (ImageButton* spot : hotSpots_)
        spot->hide();
    for (QLabel* text : navTexts_)
        text->hide();
    image10_->show();
    for (QPushButton* b : speedButtons_)
        b->show();
    goTo_->move(14, goTo_->y());
    setLabelColour(goTo_, Qt::black);
    for (QLabel* text : welcomeTexts_)
        setLabelColour(text, Qt::black);
    setLabelColour(intro_, Qt::black);
    for (auto& row : rows_)
        setLabelColour(row->keyLabel(), Qt::black);
    for (QLabel* point : points_)
        point->move(40, point->y());
}

void MainWindow::applyLuna() {
    style_ = InterfaceStyle::Luna;
    std::string lang;
    RunHandler(prompts_, [&] { lang = OpenSettingsKey(store_).read(setting_names::kLanguage); });
    const std::array<ImageButton*, 4>* shown = lang == "German" || lang.empty() ? &lunaGerman_
                                               : lang == "English"              ? &lunaEnglish_
                                                                                : nullptr;
    for (ImageButton* b : shown ? *shown : std::array<ImageButton*, 4>{}) {
        if (!b)
            continue;
        const QString stem = b->property("picture").toString();
        b->setPictures(picture(stem + "normal.png"), picture(stem + "hover.png"),
                       picture(stem + "pressed.png"));
        b->move(b->x(), 24);
    }
    // A picture that cannot be loaded ends the style here, with the steps done so far.
    const bool loaded = RunHandler(prompts_, [&] {
        image10_->setPictureFile(
            UnderDirectory(ProgramDirectory(store_, dataDirectory_), "images/01.JPG"));
        for (PictureLabel* picture :
             {image2_, image4_, bullets_[0], bullets_[1], bullets_[2], bullets_[3]})
            picture->setPictureFile(
                UnderDirectory(ProgramDirectory(store_, dataDirectory_), "images/02.JPG"));
    });
    if (!loaded)
        return;
    image9_->hide();
    image1_->hide();
    image10_->setGeometry(0, 24, kWidth, 35);
    QPalette strip = central_->palette();
    strip.setColor(QPalette::Window, QColor(233, 239, 250));
    central_->setPalette(strip);
    image10_->show();
    welcomePage_->setGeometry(0, 59, kWidth, 430);
    image2_->setGeometry(0, 0, 689, 430);
    image4_->setGeometry(0, 59, 689, 430);
    for (ImageButton* spot : hotSpots_)
        spot->hide();
    for (QLabel* b : bullets_)
        b->hide();
    for (QLabel* text : navTexts_)
        text->hide();
    goTo_->move(8, 34);
    setLabelColour(goTo_, kNavy);
    for (QLabel* text : welcomeTexts_)
        setLabelColour(text, kNavy);
    setLabelColour(intro_, kNavy);
    for (auto& row : rows_)
        setLabelColour(row->keyLabel(), kNavy);
    for (QLabel* point : points_)
        point->move(40, point->y());
}

void MainWindow::fixUpStylePictures() {
    InterfaceStyle style = InterfaceStyle::Blue;
    RunHandler(prompts_, [&] { style = ReadInterfaceStyle(store_); });
    if (style != InterfaceStyle::Blue) {
        image9_->hide();
        image1_->hide();
        image10_->show();
    }
}

void MainWindow::showWelcomePage(bool designed) {
    welcomePage_->show();
    welcomePage_->raise();
    if (designed) {
        image9_->hide();
        image1_->show();
    }
    dirty_ = true;
}

void MainWindow::showSlotPage(bool designed) {
    welcomePage_->hide();
    if (designed) {
        image1_->hide();
        image9_->show();
    }
    dirty_ = true;
}

bool MainWindow::welcomePageShown() const {
    return !welcomePage_->isHidden();
}

void MainWindow::pageSwitchFromMenu(bool welcome) {
    const bool designed = pageSwitchStyle_ == InterfaceStyle::Blue;
    if (welcome)
        showWelcomePage(designed);
    else
        showSlotPage(designed);
}

void MainWindow::tick() {
    if (!dirty_ && slots_.revision() == seenRevision_)
        return;
    dirty_ = false;
    for (auto& row : rows_)
        row->sync();
    seenRevision_ = slots_.revision();

    const bool welcome = welcomePageShown();
    for (const char* name : {"HotKeyVerteilungspeichern1", "HotKeyVerteilungladen1",
                             "AlleHotKeyslschen1", "Willkommen1"}) {
        QAction* a = action(name);
        if (a->isEnabled() == welcome)
            a->setEnabled(!welcome);
    }
    QAction* slotsItem = action("HotKeysetzen1");
    if (slotsItem->isEnabled() != welcome)
        slotsItem->setEnabled(welcome);
}

void MainWindow::refreshAll() {
    for (auto& row : rows_)
        row->forgetHint();
    dirty_ = true;
}

void MainWindow::loadDistribution() {
    RunHandler(prompts_, [&] {
        auto file = prompts_.ChooseOpenFile(QString(), kDistributionFilter, lastOpened_, false);
        if (!file)
            return;
        lastOpened_ = *file;
        LoadHotkeyDistribution(file->toStdString(), slots_);
    });
}

void MainWindow::saveDistribution() {
    RunHandler(prompts_, [&] {
        auto file = prompts_.ChooseSaveFile(kDistributionFilter, "hkv", lastSaved_);
        if (!file)
            return;
        lastSaved_ = *file;
        SaveHotkeyDistribution(file->toStdString(), slots_);
    });
}

void MainWindow::deleteAll() {
    RunHandler(prompts_, [&] {
        if (prompts_.AskYesNo(deleteAllTitle_, deleteAllText_))
            slots_.deleteAll();
    });
}

void MainWindow::setDeleteAllTexts(const QString& title, const QString& text) {
    deleteAllTitle_ = title;
    deleteAllText_ = text;
}

void MainWindow::browse(int slot) {
    RunHandler(prompts_, [&] {
        auto file = prompts_.ChooseOpenFile(QString::fromUtf8("Öffnen"),
                                            "Alle Dateien (*.*);;Anwendungen (*.desktop)",
                                            lastBrowsed_, true, applicationFolders_);
        if (!file)
            return;
        lastBrowsed_ = *file;
        slots_.setProgramPath(slot, file->toStdString());
    });
}

void MainWindow::editWebAddress(int slot) {
    RunHandler(prompts_, [&] {
        auto address = prompts_.InputText(
            "URL der Webseite eingeben",
            QString::fromUtf8("Geben Sie hier die gewünschte Internetadresse ein:"),
            QString::fromStdString(slots_.webAddress(slot)));
        if (address)
            slots_.setWebAddress(slot, address->toStdString());
    });
}

void MainWindow::popupOpenMode(int slot) {
    row(slot).openModeMenu()->popup(cursorPos_ ? cursorPos_() : QCursor::pos());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

}  // namespace brisko
