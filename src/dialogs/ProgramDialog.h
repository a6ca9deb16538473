#pragma once

#include <QPointer>
#include <QWidget>

namespace brisko {

/// A window created hidden at start that disables the main window while it is open and
/// enables it again whichever way it is closed. It opens centred on the screen.
class ProgramDialog : public QWidget {
    Q_OBJECT
public:
    ProgramDialog(const QString& objectName, const QString& caption, QSize size,
                  Qt::WindowFlags flags);
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

public slots:
    /// Disables the main window, then shows the dialog centred.
    void open();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
};

/// The flags of a fixed dialog with only the close button in its title bar.
Qt::WindowFlags CloseButtonOnly();

/// Disables the main window, then shows the dialog, centred when it was hidden.
void OpenOver(QWidget* dialog, QWidget* mainWindow);

/// Places a window in the middle of the screen it is on (the primary one before it was shown).
void CentreOnScreen(QWidget* window);

}  // namespace brisko
