#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include "hotkeys/BriskoError.h"
#include "widgets/Pictures.h"

namespace brisko {
namespace {

const QString kImages = QStringLiteral(BRISKO_TEST_DATA_DIR "/images");

QImage testPattern() {
    QImage image(97, 61, QImage::Format_RGB32);  // odd sizes exercise the chroma edges
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2 % 256, y * 4 % 256, (x * y) % 256));
    return image;
}

std::string errorOf(const QString& path) {
    try {
        Pictures::load(path);
    } catch (const BriskoError& e) {
        return e.what();
    }
    return {};
}

TEST(Pictures, JpegDecodeEqualsQtsDecoder) {
    if (!QImageReader::supportedImageFormats().contains("jpeg"))
        GTEST_SKIP() << "Qt has no JPEG reader here";
    QTemporaryDir dir;
    const QString made = dir.filePath("pattern.JPG");
    ASSERT_TRUE(testPattern().save(made, "JPEG", 85));
    for (const QString& path : {made, kImages + "/01.JPG", kImages + "/02.JPG"}) {
        QImage ours = Pictures::load(path);
        QImage qts(path);
        ASSERT_FALSE(qts.isNull()) << path.toStdString();
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        EXPECT_EQ(ours, qts.convertToFormat(QImage::Format_RGB32)) << path.toStdString();
    }
}

TEST(Pictures, LoadFailuresNameTheFileAndTheCause) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("images/02.JPG");
    const std::string missingError = errorOf(missing);
    EXPECT_NE(missingError.find(missing.toStdString()), std::string::npos) << missingError;
    EXPECT_NE(missingError.find("existiert nicht"), std::string::npos) << missingError;

    for (const char* name : {"broken.JPG", "broken.png"}) {
        const QString path = dir.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a picture at all");
        file.close();
        const std::string error = errorOf(path);
        EXPECT_NE(error.find(path.toStdString()), std::string::npos) << error;
    }

    // A JPEG cut off in the middle still gives the part that is there, like other viewers.
    QByteArray whole;
    QBuffer buffer(&whole);
    buffer.open(QIODevice::WriteOnly);
    testPattern().save(&buffer, "JPEG", 85);
    const QImage truncated = Pictures::decodeJpeg(whole.left(whole.size() / 2));
    EXPECT_EQ(truncated.size(), QSize(97, 61));
    EXPECT_TRUE(Pictures::decodeJpeg(QByteArray()).isNull());

    // A header that claims 60000 x 60000 pixels is refused before anything is allocated.
    QByteArray huge = whole;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GE(frame, 0);
    for (int at : {5, 7}) {  // height, then width, big-endian after marker, length, precision
        huge[frame + at] = char(0xEA);
        huge[frame + at + 1] = char(0x60);
    }
    QString error;
    EXPECT_TRUE(Pictures::decodeJpeg(huge, &error).isNull());
    EXPECT_TRUE(error.contains("60000 x 60000")) << error.toStdString();
}

TEST(Pictures, EachFileIsDecodedOnceAndShared) {
    Pictures::clear();
    const QPixmap first = Pictures::get(kImages + "/bullet.png");
    const QPixmap again = Pictures::get(kImages + "/../images/bullet.png");
    EXPECT_EQ(first.cacheKey(), again.cacheKey());
    EXPECT_EQ(Pictures::cachedCount(), 1);
    // A failed load is not remembered as a picture.
    EXPECT_THROW(Pictures::get(kImages + "/no-such.png"), BriskoError);
    EXPECT_EQ(Pictures::cachedCount(), 1);
}

TEST(Pictures, MaskedTurnsMagentaTransparent) {
    QTemporaryDir dir;
    QImage strip(4, 1, QImage::Format_RGB32);
    strip.setPixel(0, 0, qRgb(255, 0, 255));
    strip.setPixel(1, 0, qRgb(254, 0, 255));
    strip.setPixel(2, 0, qRgb(0, 0, 0));
    strip.setPixel(3, 0, qRgb(255, 0, 255));
    const QString path = dir.filePath("strip.png");
    ASSERT_TRUE(strip.save(path));
    const QImage masked = Pictures::masked(path).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(masked.pixel(1, 0), qRgb(254, 0, 255));
    EXPECT_EQ(masked.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(masked.pixel(3, 0)), 0);
}

TEST(Pictures, TheWindowsPicturesHaveTheirPlacedSizes) {
    const struct {
        const char* name;
        QSize size;
    } placed[] = {
        {"splash.png", {379, 252}},
        {"info.png", {379, 252}},
        {"header-welcome.png", {687, 43}},
        {"header-slots.png", {687, 43}},
        {"bar.png", {687, 41}},
        {"welcome-background.png", {689, 425}},
        {"slots-background.png", {689, 425}},
        {"bullet.png", {8, 8}},
        {"01.JPG", {687, 35}},
        {"02.JPG", {689, 430}},
        {"editor-background.png", {394, 361}},
        {"editor-bar.png", {394, 46}},
        {"luna/de-welcome-hover.png", {114, 35}},
        {"luna/de-slots-pressed.png", {139, 35}},
        {"luna/en-hide-normal.png", {112, 35}},
        {"luna/en-quit-normal.png", {94, 35}},
        {"actions/action-01.png", {16, 16}},
        {"actions/action-21.png", {16, 16}},
        {"theme/silver/button.png", {375, 23}},
    };
    for (const auto& p : placed)
        EXPECT_EQ(Pictures::load(kImages + "/" + p.name).size(), p.size) << p.name;
}

}  // namespace
}  // namespace brisko
