#include "InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace brisko {

QString InstanceLock::DisplayName(const QString& display) {
    // ":0", ":0.0" and "unix:0" all name the same local display; the screen number after the
    // dot picks a screen of it, not another display.
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return display;
    QString host = display.left(colon);
    QString number = display.mid(colon + 1);
    const qsizetype dot = number.indexOf('.');
    if (dot >= 0)
        number.truncate(dot);
    if (host == QLatin1String("unix"))
        host.clear();
    return host + ':' + number;
}

QString InstanceLock::LockFilePath(const QString& runtimeDir, const QString& display) {
    QString name = display.isEmpty() ? QStringLiteral("none") : DisplayName(display);
    name.replace('/', '_');
    if (!runtimeDir.isEmpty())
        return QDir(runtimeDir).filePath(QStringLiteral("brisko-%1.lock").arg(name));
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("brisko-%1-%2.lock").arg(getuid()).arg(name));
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

InstanceLock::Result InstanceLock::acquire() {
    QString display = qEnvironmentVariable("DISPLAY");
    // A Wayland session without XWayland has no X display; its socket tells it from the
    // user's other sessions, which share the runtime directory.
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    return acquire(LockFilePath(qEnvironmentVariable("XDG_RUNTIME_DIR"), display));
}

InstanceLock::Result InstanceLock::acquire(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    return Result::Acquired;
}

}  // namespace brisko
