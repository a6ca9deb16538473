#include "ProgramDialog.h"

#include <QCloseEvent>

#include "Look.h"

namespace brisko {

ProgramDialog::ProgramDialog(const QString& objectName, const QString& caption, QSize size)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(WindowFont());
    setFixedSize(size);
}

void ProgramDialog::open() {
    if (mainWindow_)
        mainWindow_->setEnabled(false);
    show();
    raise();
    activateWindow();
}

void ProgramDialog::closeEvent(QCloseEvent* event) {
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    event->accept();
}

}  // namespace brisko
