#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <string>
#include <vector>

#include "FakeNotifyIconHost.h"
#include "FakeSystemControl.h"
#include "widgets/QtNotifyIconHost.h"
#include "widgets/TrayIcon.h"

namespace brisko {
namespace {

using testing::FakeNotifyIconHost;
using Op = FakeNotifyIconHost::Op;

QIcon colourIcon(QColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

struct Tray {
    explicit Tray(bool extended = true) {
        auto owned = std::make_unique<FakeNotifyIconHost>(extended);
        host = owned.get();
        icon = std::make_unique<TrayIcon>(nullptr, std::move(owned));
    }
    FakeNotifyIconHost* host;
    std::unique_ptr<TrayIcon> icon;
};

ImageList* threeImages(QObject* parent) {
    auto* list = new ImageList(parent);
    list->add(colourIcon(Qt::red));
    list->add(colourIcon(Qt::green));
    list->add(colourIcon(Qt::blue));
    return list;
}

TEST(TrayIcon, DefaultsAreThePublishedOnes) {
    Tray t;
    EXPECT_FALSE(t.icon->active());
    EXPECT_FALSE(t.icon->animate());
    EXPECT_FALSE(t.icon->hideAppOnMinimize());
    EXPECT_TRUE(t.icon->hint().isEmpty());
    EXPECT_EQ(t.icon->imageIndex(), -1);
    EXPECT_EQ(t.icon->imageList(), nullptr);
    EXPECT_EQ(t.icon->interval(), 1000);
    EXPECT_EQ(t.icon->popupMenu(), nullptr);
    EXPECT_EQ(t.icon->shortCut(), 0);
    EXPECT_FALSE(t.icon->showAtDesignTime());
    EXPECT_FALSE(t.icon->showHint());
    EXPECT_FALSE(t.icon->showOnClick());
    EXPECT_FALSE(t.icon->useAppIcon());
    EXPECT_EQ(t.icon->winIcon(), TIDI_Icons::idiWINLOGO);
    EXPECT_TRUE(t.host->calls.empty());
}

TEST(TrayIcon, RecordFormsCutTheTipToTheirBuffers) {
    const QString hint = QString(200, QLatin1Char('x'));
    for (bool extended : {true, false}) {
        Tray t(extended);
        t.icon->setHint(hint);
        t.icon->setShowHint(true);
        t.icon->setActive(true);
        const NotifyIconData& r = t.host->last();
        EXPECT_EQ(r.cbSize, extended ? 488u : 88u);
        EXPECT_EQ(r.uFlags, 7u);
        EXPECT_EQ(r.uCallbackMessage, 0x0809u);
        EXPECT_EQ(r.uID, 0u);
        EXPECT_EQ(r.szTip.size(), extended ? 127 : 63);
        EXPECT_EQ(r.dwState, 0u);
        EXPECT_EQ(r.dwStateMask, 0u);
    }
}

TEST(TrayIcon, TipIsWholeUpToTheLimitAndLeftOutWithoutShowHint) {
    Tray t(false);
    t.icon->setHint(QString(63, QLatin1Char('a')));
    t.icon->setActive(true);
    EXPECT_EQ(t.host->last().uFlags, 3u);  // NIF_MESSAGE | NIF_ICON
    EXPECT_TRUE(t.host->last().szTip.isEmpty());
    t.icon->setShowHint(true);
    EXPECT_EQ(t.host->last().szTip, QString(63, QLatin1Char('a')));
}

TEST(TrayIcon, TipNeverEndsInHalfACharacter) {
    Tray t(false);
    // 62 letters and then a character outside the basic plane (two UTF-16 units).
    t.icon->setHint(QString(62, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x94\x91") + "b");
    t.icon->setShowHint(true);
    t.icon->setActive(true);
    const QString tip = t.host->last().szTip;
    EXPECT_EQ(tip, QString(62, QLatin1Char('a')));
}

TEST(TrayIcon, IconChoiceOrder) {
    Tray t;
    QObject owner;
    ImageList* list = threeImages(&owner);
    t.icon->setActive(true);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);
    EXPECT_EQ(t.host->last().iconSource.system, TIDI_Icons::idiWINLOGO);
    EXPECT_FALSE(t.host->last().hIcon.isNull());

    t.icon->setImageList(list);
    t.icon->setImageIndex(2);
    EXPECT_EQ(t.host->last().iconSource, (IconSource{IconSource::Kind::ImageList, 2}));

    // Out of range either way: the fallback icon.
    t.icon->setImageIndex(3);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);
    t.icon->setImageIndex(-1);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);

    t.icon->setWinIcon(TIDI_Icons::idiHAND);
    EXPECT_EQ(t.host->last().iconSource.system, TIDI_Icons::idiHAND);

    // The application's icon goes before everything.
    t.icon->setImageIndex(0);
    const QIcon appIcon = colourIcon(Qt::yellow);
    QApplication::setWindowIcon(appIcon);
    t.icon->setUseAppIcon(true);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::Application);
    EXPECT_EQ(t.host->last().hIcon.cacheKey(), QApplication::windowIcon().cacheKey());
    QApplication::setWindowIcon(QIcon());
}

TEST(TrayIcon, AppIconMissingFallsBackToTheSystemIcon) {
    QApplication::setWindowIcon(QIcon());
    Tray t;
    t.icon->setUseAppIcon(true);
    t.icon->setActive(true);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);
    EXPECT_FALSE(t.host->last().hIcon.isNull());
}

TEST(TrayIcon, ClearsReferencesToDestroyedListAndMenu) {
    Tray t;
    auto* list = threeImages(nullptr);
    auto* menu = new QMenu;
    t.icon->setImageList(list);
    t.icon->setPopupMenu(menu);
    delete list;
    delete menu;
    EXPECT_EQ(t.icon->imageList(), nullptr);
    EXPECT_EQ(t.icon->popupMenu(), nullptr);
    t.icon->setImageIndex(1);  // must not touch the deleted list
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);
}

TEST(TrayIcon, ActiveAddsOnceAndDeletes) {
    Tray t;
    t.icon->setActive(true);
    t.icon->setActive(true);
    EXPECT_EQ(t.host->count(Op::Add), 1);
    t.icon->setActive(false);
    t.icon->setActive(false);
    EXPECT_EQ(t.host->count(Op::Remove), 1);
    EXPECT_FALSE(t.host->shown);
    t.icon->setActive(true);
    EXPECT_EQ(t.host->count(Op::Add), 2);
    EXPECT_TRUE(t.host->shown);
}

TEST(TrayIcon, DestructionDeletesAnActiveIcon) {
    struct ObservedHost : FakeNotifyIconHost {
        int* removes = nullptr;
        bool* shownAtEnd = nullptr;
        ~ObservedHost() override {
            *removes = count(Op::Remove);
            *shownAtEnd = shown;
        }
    };
    for (bool active : {true, false}) {
        int removes = -1;
        bool shownAtEnd = true;
        auto host = std::make_unique<ObservedHost>();
        host->removes = &removes;
        host->shownAtEnd = &shownAtEnd;
        auto icon = std::make_unique<TrayIcon>(nullptr, std::move(host));
        icon->setActive(active);
        icon.reset();
        EXPECT_EQ(removes, active ? 1 : 0);
        EXPECT_FALSE(shownAtEnd);
    }
}

TEST(TrayIcon, UnchangedValuesDoNothingAndChangesModify) {
    Tray t;
    t.icon->setActive(true);
    const size_t before = t.host->calls.size();
    t.icon->setHint(QString());
    t.icon->setShowHint(false);
    t.icon->setImageIndex(-1);
    t.icon->setUseAppIcon(false);
    t.icon->setWinIcon(TIDI_Icons::idiWINLOGO);
    EXPECT_EQ(t.host->calls.size(), before);
    t.icon->setHint("Brisko");
    t.icon->setShowHint(true);
    EXPECT_EQ(t.host->count(Op::Modify), 2);
    EXPECT_EQ(t.host->last().szTip, "Brisko");
}

TEST(TrayIcon, ModifyIsIssuedEvenWithoutIconAndRefused) {
    Tray t;
    t.icon->setHint("Brisko");
    ASSERT_EQ(t.host->calls.size(), 1u);
    EXPECT_EQ(t.host->calls[0].op, Op::Modify);
    EXPECT_FALSE(t.host->calls[0].accepted);
}

TEST(TrayIcon, NothingIsAddedOrModifiedWhileLoading) {
    Tray t;
    t.icon->beginLoad();
    t.icon->setActive(true);
    t.icon->setHint("Brisko");
    EXPECT_TRUE(t.host->calls.empty());
    t.icon->endLoad();
    EXPECT_EQ(t.host->count(Op::Add), 1);
}

TEST(TrayIcon, ShowAtDesignTimeAddsAndDeletes) {
    Tray t;
    t.icon->setShowAtDesignTime(true);
    EXPECT_EQ(t.host->count(Op::Add), 1);
    t.icon->setShowAtDesignTime(false);
    EXPECT_EQ(t.host->count(Op::Remove), 1);
}

std::vector<int> framesShown(const FakeNotifyIconHost& host) {
    std::vector<int> frames;
    for (const auto& call : host.calls)
        if (call.op == Op::Modify)
            frames.push_back(call.data.iconSource.imageIndex);
    return frames;
}

TEST(TrayIcon, AnimationCyclesAndRestartsAtTheFirstImage) {
    Tray t;
    QObject owner;
    t.icon->setImageList(threeImages(&owner));
    t.icon->setInterval(5);
    t.icon->setActive(true);
    t.icon->setAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(framesShown(*t.host).size() >= 4, 5000);
    t.icon->setAnimate(false);
    std::vector<int> frames = framesShown(*t.host);
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 4), (std::vector<int>{0, 1, 2, 0}));

    // Stopped: no more ticks.
    const size_t stopped = t.host->calls.size();
    QTest::qWait(30);
    EXPECT_EQ(t.host->calls.size(), stopped);

    t.host->calls.clear();
    t.icon->setAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(framesShown(*t.host).size() >= 2, 5000);
    t.icon->setAnimate(false);
    frames = framesShown(*t.host);
    EXPECT_EQ(frames[0], 0);
    EXPECT_EQ(frames[1], 1);
}

TEST(TrayIcon, AnimationWithoutImagesShowsTheFallback) {
    Tray t;
    t.icon->setInterval(5);
    t.icon->setAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(t.host->count(Op::Modify) >= 1, 5000);
    t.icon->setAnimate(false);
    EXPECT_EQ(t.host->last().iconSource.kind, IconSource::Kind::System);
}

TEST(TrayIcon, ZeroIntervalPausesTheAnimation) {
    Tray t;
    t.icon->setInterval(0);
    t.icon->setAnimate(true);
    QTest::qWait(30);
    EXPECT_EQ(t.host->count(Op::Modify), 0);
    t.icon->setInterval(5);
    QTRY_VERIFY_WITH_TIMEOUT(t.host->count(Op::Modify) >= 1, 5000);
}

TEST(TrayIcon, ClicksReachTheirEventsInOrder) {
    Tray t;
    std::vector<std::string> events;
    QObject::connect(t.icon.get(), &TrayIcon::clicked, [&] { events.push_back("click"); });
    QObject::connect(t.icon.get(), &TrayIcon::doubleClicked, [&] { events.push_back("dblclick"); });
    t.host->send(WM_LBUTTONUP);
    t.host->send(WM_LBUTTONDBLCLK);
    t.host->send(WM_LBUTTONUP);
    t.host->send(0x0200);  // mouse move: nothing
    EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick", "click"}));
}

TEST(TrayIcon, RightClickWithNothingAssignedDoesNothing) {
    Tray t;
    QSignalSpy spy(t.icon.get(), &TrayIcon::rightClicked);
    t.host->send(WM_RBUTTONUP);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(TrayIcon, RightClickOpensThePopupMenuAtTheCursor) {
    Tray t;
    QMenu menu;
    menu.addAction("Brisko &starten");
    t.icon->setPopupMenu(&menu);
    t.icon->setCursorSource([] { return QPoint(120, 80); });
    QSignalSpy spy(t.icon.get(), &TrayIcon::rightClicked);
    t.host->send(WM_RBUTTONUP);
    EXPECT_TRUE(menu.isVisible());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toPoint(), QPoint(120, 80));
    menu.hide();
}

TEST(TrayIcon, ShortCutRegistersThroughTheHotkeySystem) {
    Tray t;
    testing::FakeSystemControl system;
    t.icon->setHotkeySystem(&system, 42);
    t.icon->setShortCut(scCtrl | scAlt | 'K');
    EXPECT_TRUE(t.icon->shortCutRegistered());
    EXPECT_EQ(system.registered(), std::set<int>{0});
    ASSERT_EQ(system.callsNamed("RegisterHotKey").size(), 1u);
    EXPECT_NE(system.callsNamed("RegisterHotKey")[0].find("42, 0, 3, 75"), std::string::npos)
        << system.callsNamed("RegisterHotKey")[0];

    // Another key replaces the first rather than failing against it.
    t.icon->setShortCut(scShift | 'L');
    EXPECT_TRUE(t.icon->shortCutRegistered());
    EXPECT_NE(system.callsNamed("RegisterHotKey").back().find("42, 0, 4, 76"), std::string::npos);

    int presses = 0;
    QObject::connect(t.icon.get(), &TrayIcon::shortCutPressed, [&] { ++presses; });
    t.icon->windowProc(WM_HOTKEY, 0, 0);
    EXPECT_EQ(presses, 1);

    t.icon->setShortCut(0);
    EXPECT_FALSE(t.icon->shortCutRegistered());
    EXPECT_TRUE(system.registered().empty());
}

TEST(TrayIcon, ShortCutTakenElsewhereLeavesTheFlagClear) {
    Tray t;
    testing::FakeSystemControl system;
    system.registerResult = [](int) { return false; };
    t.icon->setHotkeySystem(&system, 1);
    t.icon->setShortCut(scCtrl | 'K');
    EXPECT_FALSE(t.icon->shortCutRegistered());
}

TEST(TrayIcon, HideAppOnMinimizeHidesAMinimisedWindowAndShowOnClickBringsItBack) {
    Tray t;
    QWidget window;
    window.show();
    t.icon->setHideAppOnMinimize(true);
    t.icon->setShowOnClick(true);
    window.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 2000);
    t.host->send(WM_LBUTTONUP);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());

    // Switched off: minimising leaves the window alone.
    t.icon->setHideAppOnMinimize(false);
    window.setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible());
}

TEST(QtNotifyIconHost, MapsTrayActivationsToMouseMessages) {
    QtNotifyIconHost host;
    std::vector<std::intptr_t> messages;
    host.setCallback([&](unsigned message, std::intptr_t lParam) {
        EXPECT_EQ(message, kTrayCallbackMessage);
        messages.push_back(lParam);
    });
    QSystemTrayIcon* icon = host.systemTrayIcon();
    emit icon->activated(QSystemTrayIcon::Trigger);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    emit icon->activated(QSystemTrayIcon::Context);
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(messages, (std::vector<std::intptr_t>{WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP,
                                                    WM_RBUTTONUP}));
}

TEST(QtNotifyIconHost, AppliesTheRecordAndRefusesModifyWithoutIcon) {
    QtNotifyIconHost host;
    NotifyIconData data;
    data.cbSize = kExtendedRecordSize;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = colourIcon(Qt::red);
    data.szTip = "Brisko";
    EXPECT_FALSE(host.modify(data));
    EXPECT_TRUE(host.systemTrayIcon()->toolTip().isEmpty());
    host.add(data);
    EXPECT_TRUE(host.systemTrayIcon()->isVisible());
    EXPECT_EQ(host.systemTrayIcon()->toolTip(), "Brisko");
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    EXPECT_TRUE(host.modify(data));
    EXPECT_TRUE(host.systemTrayIcon()->toolTip().isEmpty());
    EXPECT_TRUE(host.remove(data));
    EXPECT_FALSE(host.systemTrayIcon()->isVisible());
}

}  // namespace
}  // namespace brisko
