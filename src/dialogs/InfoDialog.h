#pragma once

#include <QPointer>
#include <QWidget>

namespace brisko {

/// A window created hidden at start that disables the main window while it is open and
/// enables it again whichever way it is closed.
class ProgramDialog : public QWidget {
    Q_OBJECT
public:
    ProgramDialog(const QString& objectName, const QString& caption, QSize size);
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    void open();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
};

/// The "Info" window.
class InfoDialog : public ProgramDialog {
    Q_OBJECT
public:
    explicit InfoDialog(const QString& dataDirectory);
};

/// The update window, "Brisko aktalisieren".
class UpdateDialog : public ProgramDialog {
    Q_OBJECT
public:
    UpdateDialog();
};

}  // namespace brisko
