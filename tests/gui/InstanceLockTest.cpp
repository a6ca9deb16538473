#include <gtest/gtest.h>

#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/InstanceLock.h"
#include "app/SessionSignals.h"

namespace brisko {
namespace {

TEST(InstanceLockTest, OneHolderPerFileReleasedWithTheHolder) {
    QTemporaryDir dir;
    const QString path = InstanceLock::LockFilePath(dir.path(), ":1");
    EXPECT_EQ(path, dir.filePath("brisko-:1.lock"));
    {
        InstanceLock first;
        ASSERT_EQ(first.acquire(path), InstanceLock::Result::Acquired);
        InstanceLock second;
        EXPECT_EQ(second.acquire(path), InstanceLock::Result::HeldElsewhere);
        InstanceLock otherDisplay;
        EXPECT_EQ(otherDisplay.acquire(InstanceLock::LockFilePath(dir.path(), ":2")),
                  InstanceLock::Result::Acquired);
    }
    InstanceLock again;
    EXPECT_EQ(again.acquire(path), InstanceLock::Result::Acquired);
}

TEST(InstanceLockTest, EverySpellingOfOneDisplaySharesTheLock) {
    QTemporaryDir dir;
    const QString path = InstanceLock::LockFilePath(dir.path(), ":0");
    for (const char* same : {":0.0", ":0.1", "unix:0", "unix:0.0"})
        EXPECT_EQ(InstanceLock::LockFilePath(dir.path(), same), path) << same;
    for (const char* other : {":1", ":10", "remote:0", "localhost:10.0"})
        EXPECT_NE(InstanceLock::LockFilePath(dir.path(), other), path) << other;
    EXPECT_EQ(InstanceLock::DisplayName("localhost:10.0"), "localhost:10");

    InstanceLock first;
    ASSERT_EQ(first.acquire(path), InstanceLock::Result::Acquired);
    InstanceLock sameScreenOtherSpelling;
    EXPECT_EQ(sameScreenOtherSpelling.acquire(InstanceLock::LockFilePath(dir.path(), ":0.0")),
              InstanceLock::Result::HeldElsewhere);
}

TEST(InstanceLockTest, AnUnusableDirectoryDoesNotCountAsHeld) {
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("/nonexistent/dir/brisko.lock"), InstanceLock::Result::Unavailable);
    EXPECT_TRUE(InstanceLock::LockFilePath("", ":0").contains("brisko-"));
}

TEST(SessionSignalsTest, TermAndHangUpArriveAsOneSignalEachOnTheEventLoop) {
    SessionSignals watcher;
    QSignalSpy ending(&watcher, &SessionSignals::sessionEnding);
    // Polled rather than QSignalSpy::wait: once an earlier test of this binary has quit the
    // application, a nested event loop returns at once.
    auto waitFor = [&ending](qsizetype count) {
        QDeadlineTimer deadline(2000);
        while (ending.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return ending.size() == count;
    };
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_EQ(ending.size(), 0) << "nothing happens inside the signal handler";
    EXPECT_TRUE(waitFor(1));
    ASSERT_EQ(::raise(SIGHUP), 0);
    EXPECT_TRUE(waitFor(2));

    // Ctrl+C asks for an ordinary quit instead.
    QSignalSpy interrupted(&watcher, &SessionSignals::interrupted);
    ASSERT_EQ(::raise(SIGINT), 0);
    QDeadlineTimer deadline(2000);
    while (interrupted.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(interrupted.size(), 1);
    EXPECT_EQ(ending.size(), 2);
}

}  // namespace
}  // namespace brisko
