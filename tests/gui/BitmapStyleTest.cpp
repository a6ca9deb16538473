#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "hotkeys/BriskoError.h"
#include "widgets/BitmapStyle.h"

namespace brisko {
namespace {

const QString kImages = QStringLiteral(BRISKO_TEST_DATA_DIR "/images");

template <typename Widget>
QImage render(BitmapStyle& style, Widget& widget, QSize size) {
    widget.setStyle(&style);
    widget.resize(size);
    return widget.grab().toImage();
}

TEST(BitmapStyle, PaintsPushButtonsFromTheStrip) {
    for (auto set : {BitmapStyle::Set::Luna, BitmapStyle::Set::Silver}) {
        BitmapStyle style(set, kImages);
        QPushButton button("Speichern");
        const QImage image = render(style, button, QSize(89, 29));
        const QImage strip(kImages + "/theme/" + BitmapStyle::setFolder(set) + "/button.png");
        // The top edge's middle comes from the strip's normal frame; the corner is transparent.
        EXPECT_EQ(image.pixelColor(44, 0), strip.pixelColor(37, 0));
        EXPECT_NE(image.pixelColor(0, 0), QColor(255, 0, 255));
    }
}

TEST(BitmapStyle, CheckedAndUncheckedIndicatorsDiffer) {
    BitmapStyle style(BitmapStyle::Set::Luna, kImages);
    QCheckBox box("Brisko immer mit Windows starten");
    const QImage off = render(style, box, QSize(220, 20));
    box.setChecked(true);
    const QImage on = render(style, box, QSize(220, 20));
    EXPECT_NE(off, on);
    QRadioButton radio("Luna Style");
    const QImage radioOff = render(style, radio, QSize(120, 20));
    radio.setChecked(true);
    EXPECT_NE(radioOff, render(style, radio, QSize(120, 20)));
}

TEST(BitmapStyle, MissingStripIsAnError) {
    QTemporaryDir dir;
    try {
        BitmapStyle style(BitmapStyle::Set::Silver, dir.path());
        FAIL() << "no error";
    } catch (const BriskoError& e) {
        EXPECT_NE(std::string(e.what()).find("silver/button.png"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace brisko
