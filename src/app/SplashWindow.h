#pragma once

#include <QPixmap>
#include <QWidget>

namespace brisko {

/// The borderless, always-on-top splash picture with "Es wird geladen ..." shown while the
/// program starts. Closing it ends the program's event loop.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const QString& dataDirectory);

    /// Centres the window on the primary screen.
    void centre();
    /// Closes the window and so ends the event loop. Any other close request (a window
    /// manager's, Alt+F4) is refused: it would end the program without saving the slots.
    void finish();

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    /// A hidden splash holds neither its picture nor its window on the screen's side: it
    /// is shown once, for a few seconds, and lives on only to end the event loop.
    void hideEvent(QHideEvent* event) override;

private:
    QString picturePath_;
    QPixmap picture_;       // while shown
    bool standIn_ = false;  // the picture is missing: a plain stand-in shows
    bool finishing_ = false;
};

}  // namespace brisko
