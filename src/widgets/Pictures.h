#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace brisko {

/// The program's picture files, each decoded once and shared by everyone who shows it.
/// .jpg/.jpeg files are decoded with libjpeg-turbo; all others through Qt's readers.
/// A file that cannot be read raises BriskoError with a message naming the file and the cause.
class Pictures {
public:
    /// The picture of the file (decoded at the first request, then shared).
    static QPixmap get(const QString& path);
    /// The same picture with every magenta (#FF00FF) pixel made transparent.
    static QPixmap masked(const QString& path);
    /// Decodes a file without the cache.
    static QImage load(const QString& path);
    /// Decodes JPEG data into an RGB32 image; a null image when the data is not a JPEG.
    static QImage decodeJpeg(const QByteArray& data, QString* error = nullptr);
    /// Forgets every cached picture.
    static void clear();
    /// Forgets the cached pictures that nobody else holds any more.
    static void releaseUnused();
    /// A picture file that is part of a window's design. When it is missing, a plain stand-in
    /// of the given size takes its place, so a damaged installation still shows usable windows.
    static QPixmap designed(const QString& path, QSize size);
    /// Number of cached pictures.
    static int cachedCount();
};

}  // namespace brisko
