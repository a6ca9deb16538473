#include "ProgramDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "Look.h"

namespace brisko {

Qt::WindowFlags CloseButtonOnly() {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
           Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

ProgramDialog::ProgramDialog(const QString& objectName, const QString& caption, QSize size,
                             Qt::WindowFlags flags)
    : QWidget(nullptr, flags) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(WindowFont());
    setFixedSize(size);
}

void OpenOver(QWidget* dialog, QWidget* mainWindow) {
    if (mainWindow)
        mainWindow->setEnabled(false);
    if (!dialog->isVisible())
        CentreOnScreen(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void ProgramDialog::open() {
    OpenOver(this, mainWindow_);
}

void ProgramDialog::closeEvent(QCloseEvent* event) {
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    event->accept();
}

}  // namespace brisko
