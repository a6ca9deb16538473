#include "Painting.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <turbojpeg.h>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace draw {

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage verticalGradient(int width, int height, const QColor& top, const QColor& bottom) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(image.rect(), g);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont font(double pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(std::lround(pixelSize)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void savePng(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void saveJpeg(const QImage& image, const QString& path, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (!handle || tjCompress2(handle.get(), rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()),
                               rgb.height(), TJPF_BGRX, &out, &size, TJSAMP_420, quality, 0) != 0)
        throw std::runtime_error("cannot compress " + path.toStdString());
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> buffer(out, tjFree);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(out), qint64(size)) != qint64(size))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void arrow(QPainter& p, const QRectF& box, Direction direction, const QColor& colour) {
    QPolygonF shape;
    const double l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
    const double cx = box.center().x(), cy = box.center().y();
    const double w = box.width() / 4, h = box.height() / 4;
    switch (direction) {
        case Direction::Down:
            shape << QPointF(cx - w, t) << QPointF(cx + w, t) << QPointF(cx + w, cy)
                  << QPointF(r, cy) << QPointF(cx, b) << QPointF(l, cy) << QPointF(cx - w, cy);
            break;
        case Direction::Up:
            shape << QPointF(cx - w, b) << QPointF(cx + w, b) << QPointF(cx + w, cy)
                  << QPointF(r, cy) << QPointF(cx, t) << QPointF(l, cy) << QPointF(cx - w, cy);
            break;
        case Direction::Right:
            shape << QPointF(l, cy - h) << QPointF(l, cy + h) << QPointF(cx, cy + h)
                  << QPointF(cx, b) << QPointF(r, cy) << QPointF(cx, t) << QPointF(cx, cy - h);
            break;
        case Direction::Left:
            shape << QPointF(r, cy - h) << QPointF(r, cy + h) << QPointF(cx, cy + h)
                  << QPointF(cx, b) << QPointF(l, cy) << QPointF(cx, t) << QPointF(cx, cy - h);
            break;
    }
    p.save();
    p.setPen(QPen(colour.darker(150), 0.8));
    p.setBrush(colour);
    p.drawPolygon(shape);
    p.restore();
}

void window(QPainter& p, const QRectF& box, const QColor& title) {
    p.save();
    p.setPen(QPen(QColor(50, 50, 70), 1));
    p.setBrush(Qt::white);
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillRect(QRectF(box.left() + 1, box.top() + 1, box.width() - 2, box.height() / 4), title);
    p.restore();
}

void sheet(QPainter& p, const QRectF& box, bool lines) {
    p.save();
    QPainterPath path;
    const double fold = box.width() / 3;
    path.moveTo(box.left() + 0.5, box.top() + 0.5);
    path.lineTo(box.right() - fold, box.top() + 0.5);
    path.lineTo(box.right() - 0.5, box.top() + fold);
    path.lineTo(box.right() - 0.5, box.bottom() - 0.5);
    path.lineTo(box.left() + 0.5, box.bottom() - 0.5);
    path.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    if (lines) {
        p.setPen(QPen(QColor(120, 140, 190), 1));
        for (double y = box.top() + fold + 2; y < box.bottom() - 2; y += 2.5)
            p.drawLine(QPointF(box.left() + 2.5, y), QPointF(box.right() - 2.5, y));
    }
    p.restore();
}

void globe(QPainter& p, const QRectF& box) {
    p.save();
    QRadialGradient g(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() / 1.4);
    g.setColorAt(0, QColor(150, 210, 255));
    g.setColorAt(1, QColor(20, 90, 190));
    p.setPen(QPen(QColor(10, 50, 120), 1));
    p.setBrush(g);
    const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawEllipse(r);
    p.setPen(QPen(QColor(60, 160, 70), std::max(1.0, box.width() / 10)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(r.center().x() - r.width() / 4, r.top(), r.width() / 2, r.height()));
    p.drawLine(QPointF(r.left() + 1, r.center().y()), QPointF(r.right() - 1, r.center().y()));
    p.restore();
}

void magnifier(QPainter& p, const QRectF& glass, const QColor& handle) {
    p.save();
    p.setPen(QPen(handle, std::max(2.0, glass.width() / 3.5), Qt::SolidLine, Qt::RoundCap));
    const QPointF from = glass.center() + QPointF(glass.width() / 2.9, glass.height() / 2.9);
    p.drawLine(from, from + QPointF(glass.width() / 1.6, glass.height() / 1.6));
    p.setPen(QPen(QColor(60, 60, 80), std::max(1.2, glass.width() / 7)));
    p.setBrush(QColor(200, 230, 255, 200));
    p.drawEllipse(glass);
    p.restore();
}

void gear(QPainter& p, const QPointF& centre, double radius, const QColor& colour) {
    p.save();
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a = i * M_PI / teeth;
        const double r = (i % 2 == 0) ? radius : radius * 0.72;
        const double a0 = a - M_PI / teeth / 2, a1 = a + M_PI / teeth / 2;
        const QPointF p0 = centre + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF p1 = centre + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0)
            path.moveTo(p0);
        else
            path.lineTo(p0);
        path.lineTo(p1);
    }
    path.closeSubpath();
    path.addEllipse(centre, radius * 0.3, radius * 0.3);
    path.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
}

void door(QPainter& p, const QRectF& box) {
    p.save();
    p.setPen(QPen(QColor(70, 40, 20), 1));
    p.setBrush(QColor(170, 110, 60));
    const QRectF frame(box.left() + box.width() * 0.15, box.top() + 0.5, box.width() * 0.55,
                       box.height() - 1);
    p.drawRect(frame);
    p.setBrush(QColor(230, 190, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(frame.right() - box.width() * 0.12, frame.center().y()),
                  box.width() * 0.05 + 0.4, box.width() * 0.05 + 0.4);
    p.restore();
    arrow(p,
          QRectF(box.left() + box.width() * 0.45, box.center().y() - box.height() * 0.22,
                 box.width() * 0.55, box.height() * 0.44),
          Direction::Right, QColor(0, 160, 60));
}

void house(QPainter& p, const QRectF& box) {
    p.save();
    const double w = box.width(), h = box.height();
    QPolygonF roof;
    roof << QPointF(box.left() + 0.5, box.top() + h * 0.5)
         << QPointF(box.center().x(), box.top() + 0.5)
         << QPointF(box.right() - 0.5, box.top() + h * 0.5);
    p.setPen(QPen(QColor(60, 40, 30), 1));
    p.setBrush(QColor(240, 235, 215));
    p.drawRect(QRectF(box.left() + w * 0.18, box.top() + h * 0.45, w * 0.64, h * 0.53));
    p.setBrush(QColor(200, 50, 40));
    p.drawPolygon(roof);
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(box.center().x() - w * 0.1, box.top() + h * 0.68, w * 0.2, h * 0.3));
    p.restore();
}

void keyCap(QPainter& p, const QRectF& box, const QString& label, const QColor& top,
            const QColor& bottom, const QColor& text, double textPixels) {
    p.save();
    const double radius = std::max(1.5, box.width() / 7);
    p.setPen(QPen(bottom.darker(170), std::max(1.0, box.width() / 24)));
    p.setBrush(bottom);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, top.lighter(115));
    g.setColorAt(1, top);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    const QRectF face = box.adjusted(box.width() * 0.12, box.height() * 0.08, -box.width() * 0.12,
                                     -box.height() * 0.2);
    p.drawRoundedRect(face, radius * 0.8, radius * 0.8);
    if (!label.isEmpty()) {
        p.setPen(text);
        p.setFont(font(textPixels, true));
        p.drawText(face, Qt::AlignCenter, label);
    }
    p.restore();
}

void disk(QPainter& p, const QRectF& box) {
    p.save();
    const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(20, 30, 80), 1));
    p.setBrush(QColor(50, 80, 180));
    p.drawRoundedRect(r, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + 1, r.width() * 0.6, r.height() * 0.42));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(r.left() + r.width() * 0.28, r.bottom() - r.height() * 0.36, r.width() * 0.44,
                      r.height() * 0.34));
    p.restore();
}

void folder(QPainter& p, const QRectF& box, bool open) {
    p.save();
    const double w = box.width(), h = box.height();
    p.setPen(QPen(QColor(140, 100, 20), 1));
    p.setBrush(QColor(235, 190, 70));
    QPolygonF back;
    back << QPointF(box.left() + 0.5, box.top() + h * 0.2)
         << QPointF(box.left() + w * 0.4, box.top() + h * 0.2)
         << QPointF(box.left() + w * 0.5, box.top() + h * 0.32)
         << QPointF(box.right() - 0.5, box.top() + h * 0.32)
         << QPointF(box.right() - 0.5, box.bottom() - 0.5)
         << QPointF(box.left() + 0.5, box.bottom() - 0.5);
    p.drawPolygon(back);
    p.setBrush(QColor(250, 215, 110));
    QPolygonF front;
    if (open)
        front << QPointF(box.left() + w * 0.2, box.top() + h * 0.45)
              << QPointF(box.right() - 0.5, box.top() + h * 0.45)
              << QPointF(box.right() - w * 0.2, box.bottom() - 0.5)
              << QPointF(box.left() + 0.5, box.bottom() - 0.5);
    else
        front << QPointF(box.left() + 0.5, box.top() + h * 0.42)
              << QPointF(box.right() - 0.5, box.top() + h * 0.42)
              << QPointF(box.right() - 0.5, box.bottom() - 0.5)
              << QPointF(box.left() + 0.5, box.bottom() - 0.5);
    p.drawPolygon(front);
    p.restore();
}

void cross(QPainter& p, const QRectF& box, const QColor& colour, double width) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
    p.restore();
}

void tick(QPainter& p, const QRectF& box, const QColor& colour, double width) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF line;
    line << QPointF(box.left(), box.center().y())
         << QPointF(box.left() + box.width() * 0.38, box.bottom())
         << QPointF(box.right(), box.top());
    p.drawPolyline(line);
    p.restore();
}

void circleSign(QPainter& p, const QRectF& box, const QColor& colour, const QString& letter) {
    p.save();
    QRadialGradient g(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() / 1.3);
    g.setColorAt(0, colour.lighter(160));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(g);
    p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(Qt::white);
    p.setFont(font(box.height() * 0.75, true));
    p.drawText(box, Qt::AlignCenter, letter);
    p.restore();
}

void monitor(QPainter& p, const QRectF& box) {
    p.save();
    const double w = box.width(), h = box.height();
    p.setPen(QPen(QColor(40, 40, 50), 1));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(box.left() + 0.5, box.top() + 0.5, w - 1, h * 0.72));
    QLinearGradient g(box.topLeft(), box.bottomRight());
    g.setColorAt(0, QColor(90, 170, 240));
    g.setColorAt(1, QColor(20, 70, 160));
    p.fillRect(QRectF(box.left() + 2, box.top() + 2, w - 4, h * 0.72 - 3), g);
    p.setBrush(QColor(150, 150, 160));
    p.drawRect(QRectF(box.center().x() - w * 0.12, box.top() + h * 0.72, w * 0.24, h * 0.14));
    p.drawRect(QRectF(box.left() + w * 0.2, box.bottom() - h * 0.14, w * 0.6, h * 0.13));
    p.restore();
}

}  // namespace draw
