// Prints the cost of the program's pictures: JPEG decoding through libjpeg-turbo against Qt's
// reader, a cache hit, and the memory that the decoded pictures of the windows take.
// Usage: bench_pictures [images folder]

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "widgets/Pictures.h"

namespace {

template <typename F>
double medianMicroseconds(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        times.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString images =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(BRISKO_BENCH_IMAGES_DIR);
    const QString jpeg = images + "/02.JPG";
    QFile file(jpeg);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_pictures: cannot read %s\n", qPrintable(jpeg));
        return 1;
    }
    const QByteArray data = file.readAll();

    const double turbo = medianMicroseconds(51, [&] { (void)brisko::Pictures::decodeJpeg(data); });
    const double qt = medianMicroseconds(51, [&] { (void)QImage::fromData(data, "JPEG"); });
    brisko::Pictures::clear();
    (void)brisko::Pictures::get(jpeg);
    const double hit = medianMicroseconds(1001, [&] { (void)brisko::Pictures::get(jpeg); });

    brisko::Pictures::clear();
    qint64 bytes = 0;
    int count = 0;
    QDirIterator it(images, {"*.png", "*.JPG"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QImage image = brisko::Pictures::get(it.next()).toImage();
        bytes += image.sizeInBytes();
        ++count;
    }

    std::printf("02.JPG (689x430) decode, median of 51: libjpeg-turbo %.0f us, Qt reader %.0f us\n",
                turbo, qt);
    std::printf("cache hit (second request of a decoded file): %.2f us\n", hit);
    std::printf("all %d pictures decoded: %.1f MB\n", count, double(bytes) / (1024.0 * 1024.0));
    return 0;
}
