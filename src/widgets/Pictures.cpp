#include "Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>

#include <turbojpeg.h>

#include <memory>

#include "hotkeys/BriskoError.h"

namespace brisko {

namespace {

constexpr qint64 kMaxDecodedBytes = 256ll * 1024 * 1024;

struct Cache {
    QHash<QString, QPixmap> plain;
    QHash<QString, QPixmap> masked;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

[[noreturn]] void fail(const QString& path, const QString& cause) {
    throw BriskoError(QStringLiteral("Die Bilddatei \"%1\" kann nicht geladen werden: %2")
                          .arg(path, cause)
                          .toStdString());
}

bool isJpegName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

QString key(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace

QImage Pictures::decodeJpeg(const QByteArray& data, QString* error) {
    auto setError = [&](const QString& text) {
        if (error)
            *error = text;
    };
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
    if (!handle) {
        setError(QStringLiteral("der JPEG-Decoder kann nicht gestartet werden"));
        return {};
    }
    auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle.get(), bytes, static_cast<unsigned long>(data.size()), &width,
                            &height, &subsampling, &colorspace) != 0 ||
        width <= 0 || height <= 0) {
        setError(QStringLiteral("keine gültige JPEG-Datei (%1)")
                     .arg(QString::fromUtf8(tjGetErrorStr2(handle.get()))));
        return {};
    }
    // A damaged or hostile header could ask for gigabytes; Qt's own readers stop at the same
    // limit.
    if (qint64(width) * height * 4 > kMaxDecodedBytes) {
        setError(QStringLiteral("das Bild ist zu groß (%1 x %2)").arg(width).arg(height));
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        setError(QStringLiteral("das Bild ist zu groß (%1 x %2)").arg(width).arg(height));
        return {};
    }
    if (tjDecompress2(handle.get(), bytes, static_cast<unsigned long>(data.size()), image.bits(),
                      width, int(image.bytesPerLine()), height, TJPF_BGRX,
                      TJFLAG_ACCURATEDCT) != 0) {
        // A warning (for example a truncated file) still leaves a usable picture.
        if (tjGetErrorCode(handle.get()) != TJERR_WARNING) {
            setError(QStringLiteral("fehlerhafte JPEG-Daten (%1)")
                         .arg(QString::fromUtf8(tjGetErrorStr2(handle.get()))));
            return {};
        }
    }
    return image;
}

QImage Pictures::load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        fail(path, QStringLiteral("die Datei existiert nicht"));
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.errorString());
    if (isJpegName(path)) {
        const QByteArray data = file.readAll();
        QString error;
        QImage image = decodeJpeg(data, &error);
        if (image.isNull())
            fail(path, error);
        return image;
    }
    QImageReader reader(&file);
    QImage image = reader.read();
    if (image.isNull())
        fail(path, reader.errorString());
    return image;
}

QPixmap Pictures::get(const QString& path) {
    Cache& c = cache();
    const QString k = key(path);
    auto it = c.plain.constFind(k);
    if (it != c.plain.constEnd())
        return *it;
    QPixmap pixmap = QPixmap::fromImage(load(path));
    c.plain.insert(k, pixmap);
    return pixmap;
}

QPixmap Pictures::masked(const QString& path) {
    Cache& c = cache();
    const QString k = key(path);
    auto it = c.masked.constFind(k);
    if (it != c.masked.constEnd())
        return *it;
    QImage image = load(path).convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xff000000u) == magenta)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    c.masked.insert(k, pixmap);
    return pixmap;
}

void Pictures::clear() {
    cache().plain.clear();
    cache().masked.clear();
}

void Pictures::releaseUnused() {
    for (auto* hash : {&cache().plain, &cache().masked})
        hash->removeIf([](const auto& entry) { return entry.value().isDetached(); });
}

QPixmap Pictures::designed(const QString& path, QSize size) {
    try {
        return get(path);
    } catch (const std::exception&) {
    }
    QPixmap pixmap(size.isValid() ? size : QSize(16, 16));
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, pixmap.height());
    g.setColorAt(0, QColor(70, 110, 200));
    g.setColorAt(1, QColor(20, 40, 120));
    p.fillRect(pixmap.rect(), g);
    return pixmap;
}

int Pictures::cachedCount() {
    return int(cache().plain.size() + cache().masked.size());
}

}  // namespace brisko
