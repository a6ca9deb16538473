#include "QtUserPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace brisko {

namespace {
const QString kTitle = QStringLiteral("Brisko");

// A box parented to a hidden or disabled window would be hidden or refuse input with it.
QWidget* UsableParent(QWidget* w) {
    return (w && w->isVisible() && w->isEnabled()) ? w : nullptr;
}
}  // namespace

QWidget* QtUserPrompts::parent() const {
    return UsableParent(parent_.data());
}

void QtUserPrompts::ShowError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, kTitle, QString::fromStdString(text), QMessageBox::Ok,
                    parent());
    box.exec();
}

void QtUserPrompts::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent());
    box.exec();
}

bool QtUserPrompts::ShowInformation(const QString& title, const QString& text) {
    // Without a parent: the main window may be hidden into the tray while the box is open
    // (the "-autostart" step runs behind it), and the box must stay on screen then.
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

bool QtUserPrompts::AskYesNo(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    parent());
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtUserPrompts::InputText(const QString& title, const QString& prompt,
                                                const QString& preset) {
    bool ok = false;
    QString text = QInputDialog::getText(parent(), title, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtUserPrompts::ChooseOpenFile(const QString& title, const QString& filter,
                                                     const QString& start, bool mustExist,
                                                     const QStringList& places) {
    QFileDialog dialog(parent(), title, start, filter);
    QList<QUrl> sideBar = dialog.sidebarUrls();
    for (const QString& place : places)
        sideBar << QUrl::fromLocalFile(place);
    dialog.setSidebarUrls(sideBar);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!start.isEmpty())
        dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtUserPrompts::ChooseSaveFile(const QString& filter, const QString& suffix,
                                                     const QString& start) {
    QFileDialog dialog(parent(), QString(), start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (!start.isEmpty())
        dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void QtUserPrompts::Beep() {
    QApplication::beep();
}

}  // namespace brisko
