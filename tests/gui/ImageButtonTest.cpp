#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>

#include <string>
#include <vector>

#include "widgets/ImageButton.h"

namespace brisko {
namespace {

QPixmap picture(int width, int height, QColor colour) {
    QPixmap pixmap(width, height);
    pixmap.fill(colour);
    return pixmap;
}

void enter(ImageButton& button) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&button, &event);
}

void leave(ImageButton& button) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &event);
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.setPicture(ImageButton::State::Normal, picture(20, 10, Qt::red));
        button.setPicture(ImageButton::State::MouseOver, picture(30, 12, Qt::green));
        button.setPicture(ImageButton::State::Pressed, picture(28, 11, Qt::blue));
        button.setPicture(ImageButton::State::Released, picture(26, 14, Qt::yellow));
        button.setPicture(ImageButton::State::Disabled, picture(18, 9, Qt::gray));
        QObject::connect(&button, &ImageButton::clicked, [this] { events.push_back("click"); });
        QObject::connect(&button, &ImageButton::mouseEntered,
                         [this] { events.push_back("enter"); });
        QObject::connect(&button, &ImageButton::mouseLeft, [this] { events.push_back("leave"); });
        QObject::connect(&button, &ImageButton::mousePressed,
                         [this](Qt::MouseButton) { events.push_back("down"); });
        QObject::connect(&button, &ImageButton::mouseReleased,
                         [this](Qt::MouseButton) { events.push_back("up"); });
        button.show();
    }

    ImageButton button;
    std::vector<std::string> events;
};

TEST_F(ImageButtonTest, ShowsAndSizesToThePictureOfEachState) {
    EXPECT_EQ(button.state(), ImageButton::State::Normal);
    EXPECT_EQ(button.size(), QSize(20, 10));
    enter(button);
    EXPECT_EQ(button.state(), ImageButton::State::MouseOver);
    EXPECT_EQ(button.size(), QSize(30, 12));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.state(), ImageButton::State::Pressed);
    EXPECT_EQ(button.size(), QSize(28, 11));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(button.state(), ImageButton::State::Released);
    EXPECT_EQ(button.size(), QSize(26, 14));
    leave(button);
    EXPECT_EQ(button.state(), ImageButton::State::Normal);
    EXPECT_EQ(button.size(), QSize(20, 10));
    button.setEnabled(false);
    EXPECT_EQ(button.state(), ImageButton::State::Disabled);
    EXPECT_EQ(button.size(), QSize(18, 9));
    EXPECT_EQ(button.grab().toImage().pixelColor(1, 1), QColor(Qt::gray));
}

TEST_F(ImageButtonTest, ClickNeedsPressAndReleaseOverTheButton) {
    enter(button);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "down", "up", "click"}));

    events.clear();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));  // dragged off
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));

    events.clear();
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
}

TEST_F(ImageButtonTest, AHandlerMayDeleteTheButton) {
    auto* doomed = new ImageButton;
    doomed->setPicture(ImageButton::State::Normal, picture(10, 10, Qt::red));
    doomed->show();
    QObject::connect(doomed, &ImageButton::clicked, [doomed] { delete doomed; });
    QTest::mouseClick(doomed, Qt::LeftButton, {}, QPoint(2, 2));
    SUCCEED();
}

TEST(ImageButton, MissingStatePicturesBorrowAndNoPictureKeepsTheGivenSize) {
    ImageButton spot;
    spot.setGeometry(128, 29, 105, 33);
    enter(spot);
    EXPECT_EQ(spot.size(), QSize(105, 33));
    EXPECT_TRUE(spot.currentPicture().isNull());

    ImageButton nav;
    nav.setPictures(picture(114, 35, Qt::white), picture(114, 35, Qt::cyan),
                    picture(114, 35, Qt::darkBlue));
    enter(nav);
    QTest::mouseClick(&nav, Qt::LeftButton, {}, QPoint(2, 2));
    // No released picture: the mouse-over one stays while the mouse rests on it.
    EXPECT_EQ(nav.currentPicture().toImage().pixelColor(0, 0), QColor(Qt::cyan));
    nav.setEnabled(false);
    EXPECT_EQ(nav.currentPicture().toImage().pixelColor(0, 0), QColor(Qt::white));
}

}  // namespace
}  // namespace brisko
