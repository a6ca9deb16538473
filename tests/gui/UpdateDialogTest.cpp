#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "BriskoVersion.h"
#include "FakeSettingsStore.h"
#include "FakeUrlOpener.h"
#include "FakeUserPrompts.h"
#include "LocalHttpServer.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/Look.h"
#include "dialogs/UpdateDialog.h"
#include "dialogs/VersionFetcher.h"
#include "storage/TextFile.h"

namespace brisko {
namespace {

using testing::FakeSettingsStore;
using testing::FakeUrlOpener;
using testing::FakeUserPrompts;
using testing::LocalHttpServer;

// Polled rather than QSignalSpy::wait: once an earlier test of this binary has quit the
// application, a nested event loop returns at once.
bool Arrived(QSignalSpy& spy, int ms) {
    QDeadlineTimer deadline(ms);
    while (spy.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !spy.isEmpty();
}

class UpdateDialogTest : public ::testing::Test {
protected:
    void SetUp() override { create(server.site()); }
    void create(const QString& site) {
        dialog = std::make_unique<UpdateDialog>(
            store, prompts, opener,
            UpdateDialog::Config{site, copy(), BRISKO_TEST_DATA_DIR, BRISKO_HTTP_MODULE});
        dialog->setMainWindow(&mainWindow);
        dialog->setMessages({"notice", "failed", "same"});
    }
    QString copy() const { return cache.path() + "/brisko/version.nfo"; }
    // One check against the server's version file; the messages it showed.
    QStringList check(const QByteArray& body) {
        server.answer("/version.nfo", body);
        return checkAsIs();
    }
    QStringList checkAsIs() {
        prompts.log.clear();
        QSignalSpy finished(dialog.get(), &UpdateDialog::checkFinished);
        dialog->checkButton()->click();
        EXPECT_TRUE(Arrived(finished, 15000));
        return prompts.log;
    }
    bool offered() const { return dialog->downloadButton()->isEnabled(); }

    LocalHttpServer server;
    QTemporaryDir cache;
    FakeSettingsStore store;
    FakeUserPrompts prompts;
    FakeUrlOpener opener;
    QWidget mainWindow;
    std::unique_ptr<UpdateDialog> dialog;
};

TEST_F(UpdateDialogTest, TheWindowAsDesigned) {
    EXPECT_EQ(dialog->size(), QSize(425, 257));
    EXPECT_EQ(dialog->windowTitle(), "Brisko aktalisieren");
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Edit1")->text(), "Brisko " BRISKO_VERSION);
    EXPECT_EQ(dialog->offeredVersion()->text(), "");
    EXPECT_FALSE(offered());
    EXPECT_FALSE(dialog->checkButton()->icon().isNull());
    EXPECT_EQ(dialog->findChild<QPushButton*>("SpeedButton3")->geometry(), QRect(320, 224, 89, 29));
    EXPECT_FALSE(dialog->fetcher().networkLoaded()) << "no network before the first check";

    dialog->open();
    EXPECT_FALSE(mainWindow.isEnabled());
    dialog->findChild<QPushButton*>("SpeedButton3")->click();
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(UpdateDialogTest, OnlyTheExactRunningVersionCountsAsTheSame) {
    EXPECT_EQ(check("Brisko " BRISKO_VERSION), QStringList{"Message: same"});
    EXPECT_FALSE(offered());
    EXPECT_EQ(QString::fromStdString(ReadFileBytes(copy().toStdString())),
              "Brisko " BRISKO_VERSION);
    EXPECT_EQ(check("Brisko " BRISKO_VERSION "\r\nBrisko 9.9\r\n"), QStringList{"Message: same"});

    for (const char* body : {"Brisko 3.5", "brisko " BRISKO_VERSION, "Brisko " BRISKO_VERSION " ",
                             "Brisko 4.0\nBrisko 3.6\n", ""}) {
        SCOPED_TRACE(body);
        EXPECT_TRUE(check(body).isEmpty());
        EXPECT_TRUE(offered());
        EXPECT_EQ(dialog->offeredVersion()->text(), QString::fromUtf8(body).section('\n', 0, 0));
        EXPECT_EQ(QString::fromStdString(ReadFileBytes(copy().toStdString())),
                  QString::fromUtf8(body))
            << "each check overwrites the copy";
    }
    // A different version, then the same one: the button ends disabled.
    check("Brisko 3.7");
    EXPECT_TRUE(offered());
    check("Brisko " BRISKO_VERSION);
    EXPECT_FALSE(offered());
}

TEST_F(UpdateDialogTest, AFailedFetchKeepsTheFieldAndTheButton) {
    check("Brisko 3.7");
    ASSERT_TRUE(offered());
    dialog->fetcher().setTimeout(500);

    server.answer("/version.nfo", LocalHttpServer::Answer(404, "gone"));
    EXPECT_EQ(checkAsIs(), QStringList{"Message: failed"}) << "HTTP error";
    server.answer("/version.nfo", LocalHttpServer::Answer(200, {}, true));
    EXPECT_EQ(checkAsIs(), QStringList{"Message: failed"}) << "no answer in time";
    EXPECT_EQ(check(QByteArray(VersionFetcher::kMaxBytes + 1, 'x')), QStringList{"Message: failed"})
        << "too large";
    server.redirect("/version.nfo", server.site() + "/loop");
    server.redirect("/loop", server.site() + "/version.nfo");
    EXPECT_EQ(checkAsIs(), QStringList{"Message: failed"}) << "redirect loop";
    EXPECT_LE(dialog->fetcher().redirects(), VersionFetcher::kMaxRedirects + 1);
    EXPECT_EQ(dialog->offeredVersion()->text(), "Brisko 3.7");
    EXPECT_TRUE(offered());

    // A redirect within bounds is followed.
    server.redirect("/version.nfo", server.site() + "/moved.nfo");
    server.answer("/moved.nfo", "Brisko " BRISKO_VERSION);
    EXPECT_EQ(checkAsIs(), QStringList{"Message: same"});
    EXPECT_FALSE(offered());
    // The button stays disabled, too.
    server.answer("/version.nfo", LocalHttpServer::Answer(500, "down"));
    EXPECT_EQ(checkAsIs(), QStringList{"Message: failed"});
    EXPECT_FALSE(offered());
}

TEST_F(UpdateDialogTest, NoServerAndNoWritableCopyAreFailures) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString refused = QString("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    create(refused);
    EXPECT_EQ(check("Brisko 3.7"), QStringList{"Message: failed"}) << "connection refused";
    EXPECT_FALSE(offered()) << "a failure is no offer";

    create(server.site());
    QFile blocker(cache.path() + "/brisko");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    EXPECT_EQ(check("Brisko 3.7"), QStringList{"Message: failed"}) << "copy not writable";
    EXPECT_EQ(dialog->offeredVersion()->text(), "");
}

TEST_F(UpdateDialogTest, TheWindowKeepsWorkingWhileItFetches) {
    server.answer("/version.nfo", LocalHttpServer::Answer(200, {}, true));
    dialog->fetcher().setTimeout(800);
    dialog->open();
    QSignalSpy finished(dialog.get(), &UpdateDialog::checkFinished);
    dialog->checkButton()->click();
    EXPECT_TRUE(finished.isEmpty()) << "the fetch runs in the background";
    EXPECT_FALSE(dialog->checkButton()->isEnabled());
    EXPECT_FALSE(dialog->findChild<QPushButton*>("SpeedButton3")->isEnabled());
    EXPECT_EQ(dialog->cursor().shape(), Qt::BusyCursor);
    QTest::qWait(100);  // the event loop runs meanwhile
    ASSERT_TRUE(Arrived(finished, 5000));
    EXPECT_TRUE(dialog->checkButton()->isEnabled());
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(UpdateDialogTest, DownloadShowsTheNoticeThenOpensTheArchive) {
    check("Brisko 3.7");
    opener.result = false;  // a failure of the browser is not reported
    dialog->open();
    prompts.log.clear();
    dialog->downloadButton()->click();
    EXPECT_EQ(prompts.log, QStringList{"Message: notice"});
    EXPECT_EQ(opener.opened, QStringList{server.site() + "/BriskoUp.zip"});
    EXPECT_TRUE(dialog->isVisible());
}

TEST(UpdateDialogLook, MessagesWithoutLanguageFileAndTheStyles) {
    FakeSettingsStore store;
    FakeUserPrompts prompts;
    FakeUrlOpener opener;
    UpdateDialog plain(store, prompts, opener,
                       {"http://127.0.0.1:1", "/nonexistent/x", BRISKO_TEST_DATA_DIR});
    QSignalSpy finished(&plain, &UpdateDialog::checkFinished);
    plain.check();
    ASSERT_TRUE(Arrived(finished, 5000));
    ASSERT_EQ(prompts.log.size(), 1);
    EXPECT_NE(prompts.log[0], "Message: ") << "a built-in text, not an empty box";

    auto colour = [](QWidget& dialog, const char* name) {
        return dialog.findChild<QWidget*>(name)->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colour(plain, "Label2"), QColor(Qt::white));
    store.set("Style", "Win95");
    UpdateDialog win95(store, prompts, opener, {"", "", BRISKO_TEST_DATA_DIR});
    EXPECT_EQ(colour(win95, "Label2"), QColor(Qt::black));
    EXPECT_EQ(win95.palette().color(QPalette::Window), kPlainBackground);
    EXPECT_TRUE(win95.findChild<QLabel*>("Image1")->isHidden());
    store.set("Style", "Luna");
    UpdateDialog luna(store, prompts, opener, {"", "", BRISKO_TEST_DATA_DIR});
    EXPECT_EQ(colour(luna, "SpeedButton1"), kNavy);
    EXPECT_EQ(luna.findChild<QLabel*>("Image1")->geometry(), luna.rect());
}

TEST(InfoDialogTest, APictureWithTheVersionThatAClickCloses) {
    QWidget mainWindow;
    InfoDialog info(BRISKO_TEST_DATA_DIR);
    info.setMainWindow(&mainWindow);
    EXPECT_EQ(info.size(), QSize(379, 252));
    EXPECT_TRUE(info.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(info.versionText()->text(), "Version " BRISKO_VERSION);
    EXPECT_EQ(info.versionText()->pos(), QPoint(312, 224));

    info.open();
    EXPECT_FALSE(mainWindow.isEnabled());
    QTest::mouseClick(info.versionText(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(info.isVisible()) << "the version text takes no part";
    QTest::mouseClick(&info, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(info.isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());

    info.open();
    QTest::keyClick(&info, Qt::Key_Escape);
    EXPECT_FALSE(info.isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());
}

}  // namespace
}  // namespace brisko
