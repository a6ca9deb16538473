#pragma once

#include <QObject>

class QSocketNotifier;

namespace brisko {

/// Turns SIGTERM, SIGHUP and SIGINT into Qt signals on the user-interface thread. The handler
/// only writes the signal's number as one byte to a socket pair, which is all that is safe
/// inside a signal handler.
class SessionSignals : public QObject {
    Q_OBJECT
public:
    explicit SessionSignals(QObject* parent = nullptr);
    ~SessionSignals() override;

signals:
    /// The desktop session (or whoever sent the signal) wants the program to end.
    void sessionEnding();
    /// Ctrl+C in the terminal that started the program: quit as through the menu.
    void interrupted();

private:
    void readSignal();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace brisko
