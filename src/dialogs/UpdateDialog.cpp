#include "UpdateDialog.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "BriskoVersion.h"
#include "Look.h"
#include "UrlOpener.h"
#include "UserPrompts.h"
#include "VersionFetcher.h"
#include "storage/LanguageFile.h"
#include "storage/SettingsStore.h"
#include "widgets/PictureLabel.h"

namespace brisko {

bool DesktopUrlOpener::open(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

namespace {
// Without a language file the messages are the German file's texts.
QString GermanLine(int number) {
    return QString::fromStdString(LanguageTable().at(number - 1).german);
}

// Shrinks a text's font in half points until it fits its place: the windows are laid out for
// Tahoma 8 pt, and the fonts that stand in for it run wider.
void FitFont(QWidget* w, const QString& text, bool wrap, int reserved) {
    QFont font = WindowFont();
    font.setBold(w->font().bold());
    const QSize box(w->width() - reserved, w->height());
    while (font.pointSizeF() > 6) {
        const QFontMetrics metrics(font);
        const QRect need =
            wrap ? metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, text)
                 : metrics.boundingRect(text);
        if (need.width() <= box.width() && need.height() <= box.height())
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    w->setFont(font);
}

void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}
}  // namespace

QString UpdateDialog::RunningVersion() {
    return QStringLiteral("Brisko " BRISKO_VERSION);
}

UpdateDialog::UpdateDialog(SettingsStore& store, UserPrompts& prompts, UrlOpener& opener,
                           Config config)
    : ProgramDialog("Form4", "Brisko aktalisieren", QSize(425, 257), CloseButtonOnly()),
      prompts_(prompts),
      opener_(opener),
      config_(std::move(config)),
      messages_{GermanLine(104), GermanLine(105), GermanLine(106)},
      fetcher_(new VersionFetcher(config_.httpModule, this)) {
    while (config_.site.endsWith('/'))
        config_.site.chop(1);
    connect(fetcher_, &VersionFetcher::finished, this, &UpdateDialog::fetched);

    background_ = new PictureLabel(this);
    background_->setObjectName("Image1");
    background_->setGeometry(0, -1, 425, 258);
    background_->setDesignedPicture(
        ShippedPicturePath(config_.dataDirectory, "update-background.png"));

    auto label = [this](const char* name, const char* text, QRect at, bool wrap = false) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(name);
        l->setWordWrap(wrap);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (at.size().isEmpty())
            at.setSize(l->sizeHint().expandedTo(QSize(80, 16)));
        l->setGeometry(at);
        texts_ << l;
        return l;
    };
    QLabel* heading = label("Label1", "Brisko aktualisieren", {16, 8, 380, 20});
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    label("Label2",
          "Sie haben nun die Möglichkeit Ihre Version von Brisko auf den neuesten Stand zu "
          "bringen. Um nachzusehen, ob eine neue Version verfügbar ist klicken Sie \"Auf neue "
          "Version testen\". Wenn eine neue Version vorhanden ist, können Sie diese durch einen "
          "Klick auf \"Neue Version downloaden\" herunterladen.",
          {16, 40, 395, 52}, true);
    label("Label3", "Ihre Version:", {24, 104, 86, 16});
    label("Label4", "Aktuelle Version:", {24, 136, 86, 16});

    auto field = [this](const char* name, int y) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setGeometry(112, y, 289, 21);
        edit->setReadOnly(true);
        QPalette p = edit->palette();
        p.setColor(QPalette::Text, Qt::black);
        edit->setPalette(p);
        return edit;
    };
    running_ = field("Edit1", 104);
    running_->setText(RunningVersion());
    offered_ = field("Edit2", 136);

    auto button = [this](const char* name, const char* text, const char* picture, QRect at) {
        auto* b =
            new QPushButton(QIcon(DesignedPicture(config_.dataDirectory, picture, QSize(16, 16))),
                            QString::fromUtf8(text), this);
        b->setObjectName(name);
        b->setGeometry(at);
        b->setFlat(true);
        texts_ << b;
        return b;
    };
    check_ =
        button("SpeedButton1", "Auf neue Version testen", "buttons/check.png", {88, 176, 153, 29});
    download_ = button("SpeedButton2", "Neue Version herunterladen", "buttons/download.png",
                       {248, 176, 161, 29});
    cancel_ = button("SpeedButton3", "Abbrechen", "buttons/cancel.png", {320, 224, 89, 29});
    download_->setEnabled(false);
    connect(check_, &QPushButton::clicked, this, &UpdateDialog::check);
    connect(download_, &QPushButton::clicked, this, &UpdateDialog::download);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);

    for (QWidget* w : texts_)
        SetTextColour(w, Qt::white);
    applyStyle(store, prompts);
    fitTexts();
}

void UpdateDialog::fitTexts() {
    for (QWidget* w : texts_) {
        if (auto* label = qobject_cast<QLabel*>(w))
            FitFont(label, label->text(), label->wordWrap(), 0);
        else if (auto* button = qobject_cast<QPushButton*>(w))
            FitFont(button, button->text(), false, 30);  // the picture and the margins
    }
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::applyStyle(SettingsStore& store, UserPrompts& prompts) {
    RunHandler(prompts, [&] {
        const std::string style = OpenSettingsKey(store).read("Style");
        if (style == "Win95") {
            QPalette p = palette();
            p.setColor(QPalette::Window, kPlainBackground);
            setPalette(p);
            setAutoFillBackground(true);
            background_->hide();
            for (QWidget* w : texts_)
                SetTextColour(w, Qt::black);
        } else if (style == "Luna") {
            background_->setPictureFile(
                UnderDirectory(ProgramDirectory(store, config_.dataDirectory), "images/02.JPG"));
            background_->setGeometry(rect());
            for (QWidget* w : texts_)
                SetTextColour(w, kNavy);
        }
    });
}

QUrl UpdateDialog::versionFileUrl() const {
    return QUrl(config_.site + "/version.nfo");
}

QUrl UpdateDialog::archiveUrl() const {
    return QUrl(config_.site + "/BriskoUp.zip");
}

void UpdateDialog::setBusy(bool busy) {
    check_->setEnabled(!busy);
    cancel_->setEnabled(!busy);
    download_->setEnabled(!busy && downloadEnabled_);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void UpdateDialog::check() {
    if (fetcher_->busy())
        return;
    downloadEnabled_ = download_->isEnabled();
    setBusy(true);
    fetcher_->fetch(versionFileUrl(), config_.localCopy);
}

void UpdateDialog::fetched(bool ok, const QString& firstLine) {
    // A failed fetch keeps the offered field and leaves the download button as it was:
    // comparing with a version never fetched would offer a download that does not exist.
    bool same = false;
    if (ok) {
        offered_->setText(firstLine);
        same = RunningVersion() == firstLine;
        downloadEnabled_ = !same;
    }
    setBusy(false);
    if (!ok)
        prompts_.ShowMessage(messages_[1]);
    else if (same)
        prompts_.ShowMessage(messages_[2]);
    emit checkFinished();
}

void UpdateDialog::download() {
    prompts_.ShowMessage(messages_[0]);
    opener_.open(archiveUrl());  // the browser reports its own failures
}

}  // namespace brisko
