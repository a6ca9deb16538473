#pragma once

#include <QWidget>

namespace brisko {

/// The borderless, always-on-top splash picture with "Es wird geladen ..." shown while the
/// program starts. Closing it ends the program's event loop.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();

    /// Centres the window on the primary screen.
    void centre();

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace brisko
