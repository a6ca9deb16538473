#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/InstanceLock.h"

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

TEST(InstanceLockTest, AnUnusableDirectoryDoesNotCountAsHeld) {
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("/nonexistent/dir/brisko.lock"), InstanceLock::Result::Unavailable);
    EXPECT_TRUE(InstanceLock::LockFilePath("", ":0").contains("brisko-"));
}

}  // namespace
}  // namespace brisko
