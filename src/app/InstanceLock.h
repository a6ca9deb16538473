#pragma once

#include <QString>

namespace brisko {

/// The single-instance lock: an exclusive lock on a file under XDG_RUNTIME_DIR, one per user
/// and X display (or Wayland socket, in a Wayland session without an X display). The system
/// releases it when the process ends, however it ends.
class InstanceLock {
public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    /// The display part of a DISPLAY value, without a screen number and with "unix:" read
    /// as local: ":0.1" and "unix:0" give ":0".
    static QString DisplayName(const QString& display);
    /// The lock file for the display: <runtime dir>/brisko-<display>.lock. Falls back to the
    /// temporary directory with the user id in the name when XDG_RUNTIME_DIR is not set.
    static QString LockFilePath(const QString& runtimeDir, const QString& display);

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// Tries to take the lock for the current environment (or the given file).
    Result acquire();
    Result acquire(const QString& path);

private:
    int fd_ = -1;
};

}  // namespace brisko
