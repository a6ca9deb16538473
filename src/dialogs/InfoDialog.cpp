#include "InfoDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Look.h"
#include "widgets/PictureLabel.h"

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

InfoDialog::InfoDialog(const QString& dataDirectory)
    : ProgramDialog("Form2", "Info", QSize(379, 288)) {
    auto* picture = new PictureLabel(this);
    picture->setObjectName("Image1");
    picture->setGeometry(0, 0, 379, 252);
    picture->setDesignedPicture(ShippedPicturePath(dataDirectory, "info.png"));
    auto* version = new QLabel(QString("Version %1").arg(QStringLiteral(BRISKO_VERSION)), this);
    version->setObjectName("Label1");
    version->setGeometry(312, 224, 66, 16);
    QPalette white = version->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    version->setPalette(white);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("SpeedButton1");
    ok->setGeometry(296, 256, 75, 26);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
}

UpdateDialog::UpdateDialog() : ProgramDialog("Form4", "Brisko aktalisieren", QSize(360, 220)) {
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("<b>Brisko aktualisieren</b>", this);
    heading->setObjectName("Label1");
    layout->addWidget(heading);
    auto* version =
        new QLabel(QString("Ihre Version: %1").arg(QStringLiteral(BRISKO_VERSION)), this);
    version->setObjectName("Label3");
    layout->addWidget(version);
    layout->addStretch();
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("SpeedButton3");
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace brisko
