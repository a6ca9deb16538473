#pragma once

#include <QObject>

class QSocketNotifier;

namespace brisko {

/// Turns SIGTERM and SIGHUP into a Qt signal on the user-interface thread. The handler only
/// writes one byte to a socket pair, which is all that is safe inside a signal handler.
class SessionSignals : public QObject {
    Q_OBJECT
public:
    explicit SessionSignals(QObject* parent = nullptr);
    ~SessionSignals() override;

signals:
    /// The desktop session (or whoever sent the signal) wants the program to end.
    void sessionEnding();

private:
    void readSignal();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace brisko
