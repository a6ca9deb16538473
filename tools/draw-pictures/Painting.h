#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace draw {

/// A transparent ARGB picture of the size.
QImage blank(int width, int height);
/// An opaque picture filled with a vertical gradient.
QImage verticalGradient(int width, int height, const QColor& top, const QColor& bottom);
/// A painter with antialiasing and smooth picture scaling switched on.
void prepare(QPainter& painter);
/// The font of the drawings.
QFont font(double pixelSize, bool bold = false);

/// Writes a PNG; throws std::runtime_error on failure.
void savePng(const QImage& image, const QString& path);
/// Writes a baseline JPEG through libjpeg-turbo; throws std::runtime_error on failure.
void saveJpeg(const QImage& image, const QString& path, int quality = 90);

// Small shapes shared by the icons (coordinates in pixels of a 16x16 or larger picture).
enum class Direction { Up, Down, Left, Right };
void arrow(QPainter& p, const QRectF& box, Direction direction, const QColor& colour);
void window(QPainter& p, const QRectF& box, const QColor& title = QColor(40, 90, 200));
void sheet(QPainter& p, const QRectF& box, bool lines = true);
void globe(QPainter& p, const QRectF& box);
void magnifier(QPainter& p, const QRectF& glass, const QColor& handle = QColor(110, 70, 30));
void gear(QPainter& p, const QPointF& centre, double radius, const QColor& colour);
void door(QPainter& p, const QRectF& box);
void house(QPainter& p, const QRectF& box);
void keyCap(QPainter& p, const QRectF& box, const QString& label, const QColor& top,
            const QColor& bottom, const QColor& text, double textPixels);
void disk(QPainter& p, const QRectF& box);
void folder(QPainter& p, const QRectF& box, bool open);
void cross(QPainter& p, const QRectF& box, const QColor& colour, double width);
void tick(QPainter& p, const QRectF& box, const QColor& colour, double width);
void circleSign(QPainter& p, const QRectF& box, const QColor& colour, const QString& letter);
void monitor(QPainter& p, const QRectF& box);

}  // namespace draw
