#include "Scenes.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

#include "Icons.h"
#include "Painting.h"

namespace draw {

namespace {

const QColor kDeepBlue(16, 36, 96);
const QColor kMidBlue(38, 82, 170);
const QColor kMagenta(255, 0, 255);

// A soft diagonal light over a dark blue field: the designed look's ground.
void blueGround(QPainter& p, const QRect& r) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kMidBlue);
    g.setColorAt(1, kDeepBlue);
    p.fillRect(r, g);
    QRadialGradient glow(QPointF(r.left() + r.width() * 0.25, r.top()), r.width() * 0.6);
    glow.setColorAt(0, QColor(255, 255, 255, 45));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(r, glow);
}

// Large faint key caps, drawn as outlines.
void faintKeys(QPainter& p, const QRectF& area, int columns, int rows, double size, int alpha) {
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, alpha), 2));
    p.setBrush(QColor(255, 255, 255, alpha / 3));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const QRectF key(area.left() + col * (size + 10) + (row % 2) * size / 2,
                             area.top() + row * (size + 10), size, size);
            p.drawRoundedRect(key, size / 7, size / 7);
        }
    }
    p.restore();
}

void wave(QPainter& p, const QRectF& r, double amplitude, double phase, const QColor& colour) {
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    for (int x = 0; x <= int(r.width()); x += 4) {
        const double y = r.center().y() + amplitude * std::sin(x / r.width() * 2 * M_PI + phase);
        path.lineTo(r.left() + x, y);
    }
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    p.fillPath(path, colour);
}

}  // namespace

QImage splash(bool loading) {
    QImage image(379, 252, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    blueGround(p, image.rect());
    faintKeys(p, QRectF(210, -20, 200, 200), 4, 4, 44, 30);

    // Word mark with a soft shadow.
    p.setFont(font(58, true));
    p.setPen(QColor(0, 0, 40, 120));
    p.drawText(QRect(27, 35, 330, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brisko"));
    p.setPen(Qt::white);
    p.drawText(QRect(24, 32, 330, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brisko"));
    p.setFont(font(14));
    p.setPen(QColor(200, 220, 255));
    p.drawText(QRect(28, 108, 330, 24), Qt::AlignLeft, QStringLiteral("Hot Keys auf F1 bis F11"));

    // A row of function keys.
    for (int i = 0; i < 6; ++i) {
        const QRectF key(28 + i * 40, 146, 34, 34);
        keyCap(p, key, QStringLiteral("F%1").arg(i + 1), QColor(235, 240, 250),
               QColor(150, 165, 200), kDeepBlue, 11);
    }
    p.drawImage(QRectF(268, 144, 38, 38), programIcon(64));

    if (loading) {
        // Segmented progress look with the text "Es wird geladen ..." to its right.
        p.setPen(QPen(QColor(120, 150, 220), 1));
        p.setBrush(QColor(10, 25, 70));
        p.drawRoundedRect(QRectF(28.5, 222.5, 220, 14), 3, 3);
        for (int i = 0; i < 12; ++i) {
            QLinearGradient g(0, 225, 0, 235);
            g.setColorAt(0, QColor(140, 230, 140));
            g.setColorAt(1, QColor(30, 150, 50));
            p.fillRect(QRectF(31 + i * 12, 225, 10, 9), g);
        }
        // The loading text is part of the picture: the splash then shows without loading the
        // fonts, which a program started into the notification area never needs otherwise.
        p.setFont(font(11));
        p.setPen(Qt::white);
        p.drawText(QPoint(272, 224 + QFontMetrics(p.font()).ascent()),
                   QStringLiteral("Es wird geladen ..."));
    } else {
        p.setFont(font(11));
        p.setPen(QColor(200, 220, 255));
        p.drawText(QRect(28, 218, 240, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("von Orvalde"));
    }
    return image;
}

QImage header(int highlightLeft, int highlightWidth) {
    QImage image(687, 43, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    QLinearGradient g(0, 0, 0, 43);
    g.setColorAt(0, QColor(70, 120, 210));
    g.setColorAt(0.5, QColor(35, 75, 165));
    g.setColorAt(1, QColor(20, 45, 115));
    p.fillRect(image.rect(), g);
    p.fillRect(QRect(0, 0, 687, 1), QColor(150, 185, 240));
    p.fillRect(QRect(0, 42, 687, 1), QColor(10, 25, 70));
    // The page on view: a lighter pill behind its navigation text.
    QLinearGradient pill(0, 6, 0, 38);
    pill.setColorAt(0, QColor(255, 255, 255, 70));
    pill.setColorAt(1, QColor(255, 255, 255, 20));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(pill);
    p.drawRoundedRect(QRectF(highlightLeft + 0.5, 6.5, highlightWidth, 30), 8, 8);
    // Separators between the four commands.
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    for (int x : {118, 240, 362, 474, 590})
        p.drawLine(QPointF(x + 0.5, 10), QPointF(x + 0.5, 33));
    p.drawImage(QRectF(640, 5, 32, 32), programIcon(64));
    return image;
}

QImage win95Bar() {
    QImage image(687, 41, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 41);
    g.setColorAt(0, QColor(250, 250, 246));
    g.setColorAt(1, QColor(226, 224, 214));
    p.fillRect(image.rect(), g);
    p.fillRect(QRect(0, 39, 687, 1), QColor(172, 168, 153));
    p.fillRect(QRect(0, 40, 687, 1), Qt::white);
    return image;
}

QImage welcomeBackground() {
    QImage image(689, 425, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    blueGround(p, image.rect());
    faintKeys(p, QRectF(592, 96, 120, 280), 2, 5, 42, 14);
    wave(p, QRectF(0, 330, 689, 95), 14, 0.6, QColor(255, 255, 255, 18));
    wave(p, QRectF(0, 350, 689, 75), 10, 2.2, QColor(255, 255, 255, 14));
    return image;
}

QImage slotsBackground() {
    QImage image(689, 425, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    blueGround(p, image.rect());
    // A light band behind each slot row (rows start at 46 + 32·(n−1) on this picture), light
    // enough for the navy key names.
    for (int n = 0; n < 11; ++n) {
        const QRectF band(3.5, 44.5 + 32 * n, 681, 26);
        QLinearGradient g(band.topLeft(), band.topRight());
        g.setColorAt(0, QColor(215, 226, 250, 235));
        g.setColorAt(0.06, QColor(215, 226, 250, 120));
        g.setColorAt(1, QColor(215, 226, 250, 50));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.setBrush(g);
        p.drawRoundedRect(band, 5, 5);
    }
    return image;
}

QImage lunaBar() {
    QImage image(687, 35, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 35);
    g.setColorAt(0, QColor(250, 252, 255));
    g.setColorAt(0.45, QColor(221, 231, 250));
    g.setColorAt(0.5, QColor(200, 215, 245));
    g.setColorAt(1, QColor(182, 200, 240));
    p.fillRect(image.rect(), g);
    p.fillRect(QRect(0, 34, 687, 1), QColor(110, 140, 210));
    return image;
}

QImage lunaBackground() {
    QImage image(689, 430, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    QLinearGradient g(0, 0, 0, 430);
    g.setColorAt(0, QColor(214, 225, 248));
    g.setColorAt(1, QColor(250, 251, 255));
    p.fillRect(image.rect(), g);
    wave(p, QRectF(0, 300, 689, 130), 18, 0.9, QColor(120, 150, 220, 30));
    wave(p, QRectF(0, 330, 689, 100), 12, 2.6, QColor(120, 150, 220, 22));
    return image;
}

QImage blueBackground(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    blueGround(p, image.rect());
    return image;
}

QImage blueBar(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(30, 60, 140));
    g.setColorAt(1, QColor(12, 28, 80));
    p.fillRect(image.rect(), g);
    p.fillRect(QRect(0, 0, width, 1), QColor(120, 160, 230));
    return image;
}

QImage updateBackground() {
    QImage image = blueBackground(425, 258);
    QPainter p(&image);
    prepare(p);
    p.setOpacity(0.18);
    globe(p, QRectF(300, 20, 150, 150));
    return image;
}

QImage bullet() {
    QImage image = blank(8, 8);
    QPainter p(&image);
    prepare(p);
    QRadialGradient g(QPointF(3, 3), 5);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(120, 170, 250));
    p.setPen(QPen(QColor(230, 240, 255), 0.8));
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, 7, 7));
    return image;
}

QImage lunaNavigation(int width, const QString& caption, const QString& icon, NavState state) {
    QImage image = blank(width, 35);
    QPainter p(&image);
    prepare(p);
    const QRectF tab(1.5, 3.5, width - 3, 28);
    QLinearGradient g(tab.topLeft(), tab.bottomLeft());
    QColor rim(0, 60, 116);
    switch (state) {
        case NavState::Normal:
            g.setColorAt(0, QColor(255, 255, 255));
            g.setColorAt(0.5, QColor(232, 238, 252));
            g.setColorAt(1, QColor(196, 211, 243));
            break;
        case NavState::Hover:
            g.setColorAt(0, QColor(255, 255, 255));
            g.setColorAt(0.5, QColor(246, 249, 255));
            g.setColorAt(1, QColor(222, 232, 252));
            rim = QColor(232, 144, 30);
            break;
        case NavState::Pressed:
            g.setColorAt(0, QColor(170, 190, 230));
            g.setColorAt(1, QColor(214, 224, 246));
            break;
    }
    p.setPen(QPen(rim, state == NavState::Hover ? 2 : 1));
    p.setBrush(g);
    p.drawRoundedRect(tab, 7, 7);
    const double shift = state == NavState::Pressed ? 1 : 0;
    p.drawImage(QPointF(10 + shift, 9 + shift), namedIcon(icon));
    p.setPen(QColor(0, 0, 128));
    // The largest size up to 12 pixels at which the caption fits beside the picture.
    const QRectF textBox(30 + shift, 3 + shift, width - 36, 28);
    double size = 12;
    while (size > 8 && QFontMetricsF(font(size, true)).horizontalAdvance(caption) > textBox.width())
        size -= 0.5;
    p.setFont(font(size, true));
    p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, caption);
    return image;
}

QImage buttonStrip(bool luna) {
    QImage image(375, 23, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter p(&image);
    // Only whole pixels: the magenta around the corners must stay pure.
    const QColor border = luna ? QColor(0, 60, 116) : QColor(118, 116, 140);
    for (int frame = 0; frame < 5; ++frame) {
        const QRect r(frame * 75, 0, 75, 23);
        const QRect inner = r.adjusted(1, 1, -1, -1);
        QLinearGradient g(inner.topLeft(), inner.bottomLeft());
        QColor top = luna ? QColor(255, 255, 255) : QColor(255, 255, 255);
        QColor bottom = luna ? QColor(214, 208, 197) : QColor(205, 205, 218);
        QColor edge = border;
        QColor rim;
        if (frame == 2)
            std::swap(top, bottom);
        if (frame == 3) {
            top = bottom = QColor(245, 244, 234);
            edge = QColor(201, 199, 186);
        }
        if (frame == 1)
            rim = luna ? QColor(248, 179, 48) : QColor(255, 200, 80);
        if (frame == 4)
            rim = luna ? QColor(105, 130, 238) : QColor(150, 150, 180);
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.fillRect(inner, g);
        p.setPen(edge);
        p.drawLine(r.left() + 2, r.top(), r.right() - 2, r.top());
        p.drawLine(r.left() + 2, r.bottom(), r.right() - 2, r.bottom());
        p.drawLine(r.left(), r.top() + 2, r.left(), r.bottom() - 2);
        p.drawLine(r.right(), r.top() + 2, r.right(), r.bottom() - 2);
        p.drawPoint(r.left() + 1, r.top() + 1);
        p.drawPoint(r.right() - 1, r.top() + 1);
        p.drawPoint(r.left() + 1, r.bottom() - 1);
        p.drawPoint(r.right() - 1, r.bottom() - 1);
        if (rim.isValid()) {
            p.setPen(rim);
            p.drawRect(inner.adjusted(1, 1, -2, -2));
            p.drawRect(inner.adjusted(0, 0, -1, -1));
        }
        // Corner pixels outside the rounded outline stay magenta.
        for (QPoint c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            p.fillRect(QRect(c, QSize(1, 1)), kMagenta);
    }
    return image;
}

QImage checkStrip(bool luna, bool radio) {
    QImage image(104, 13, QImage::Format_RGB32);
    image.fill(kMagenta);
    const QColor border = luna ? QColor(28, 81, 128) : QColor(118, 116, 146);
    const QColor mark = luna ? QColor(33, 161, 33) : QColor(60, 60, 90);
    for (int frame = 0; frame < 8; ++frame) {
        const int state = frame % 4;  // normal, hot, pressed, disabled
        const bool checked = frame >= 4;
        QImage cell(13, 13, QImage::Format_ARGB32_Premultiplied);
        cell.fill(Qt::transparent);
        QPainter p(&cell);
        QLinearGradient g(0, 0, 12, 12);
        QColor top(220, 220, 215), bottom(Qt::white);
        if (state == 1)
            top = QColor(255, 220, 150);
        if (state == 2)
            top = bottom = QColor(176, 176, 167);
        if (state == 3)
            top = bottom = QColor(255, 255, 255);
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        const QColor edge = state == 3 ? QColor(202, 200, 187) : border;
        const QColor tickColour = state == 3 ? QColor(202, 200, 187) : mark;
        if (radio) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(edge, 1));
            p.setBrush(g);
            p.drawEllipse(QRectF(0.5, 0.5, 12, 12));
            if (checked) {
                p.setPen(Qt::NoPen);
                p.setBrush(tickColour);
                p.drawEllipse(QRectF(3.5, 3.5, 6, 6));
            }
        } else {
            p.fillRect(QRect(1, 1, 11, 11), g);
            p.setPen(edge);
            p.drawRect(QRect(0, 0, 12, 12));
            if (checked) {
                p.setRenderHint(QPainter::Antialiasing);
                tick(p, QRectF(3, 3.5, 7, 5.5), tickColour, 2);
            }
        }
        p.end();
        // Pixels that are mostly transparent become magenta; the rest are made opaque.
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                const QRgb px = cell.pixel(x, y);
                if (qAlpha(px) >= 128)
                    image.setPixel(frame * 13 + x, y, qRgb(qRed(px), qGreen(px), qBlue(px)));
            }
        }
    }
    return image;
}

}  // namespace draw
