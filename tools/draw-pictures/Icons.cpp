#include "Icons.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <stdexcept>

#include "Painting.h"

namespace draw {

namespace {

const QColor kGreen(20, 150, 60);
const QColor kRed(210, 30, 30);
const QColor kBlue(30, 90, 200);

void powerSign(QPainter& p, const QRectF& box, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, box.width() / 7, Qt::SolidLine, Qt::RoundCap));
    const QRectF ring = box.adjusted(box.width() * 0.12, box.height() * 0.16, -box.width() * 0.12,
                                     -box.height() * 0.08);
    p.drawArc(ring, 120 * 16, -240 * 16);
    p.drawLine(QPointF(box.center().x(), box.top() + 1),
               QPointF(box.center().x(), box.center().y()));
    p.restore();
}

void circularArrow(QPainter& p, const QRectF& box, const QColor& colour) {
    p.save();
    const double w = box.width();
    const QRectF ring = box.adjusted(w * 0.15, w * 0.15, -w * 0.15, -w * 0.15);
    p.setPen(QPen(colour, w / 7, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(ring, 90 * 16, 280 * 16);
    // Arrow head at the start of the arc (top centre), pointing right.
    QPolygonF head;
    const QPointF tip(ring.center().x() + w * 0.2, ring.top());
    head << tip << QPointF(ring.center().x() - w * 0.02, ring.top() - w * 0.2)
         << QPointF(ring.center().x() - w * 0.02, ring.top() + w * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
    p.restore();
}

void clipboard(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(b.adjusted(1.5, 1.5, -1.5, -0.5), 1.5, 1.5);
    p.restore();
    sheet(p, b.adjusted(3.5, 4, -3.5, -2));
    p.save();
    p.setPen(QPen(QColor(80, 80, 90), 1));
    p.setBrush(QColor(200, 200, 210));
    p.drawRoundedRect(QRectF(b.center().x() - 3, b.top() + 0.5, 6, 3.5), 1, 1);
    p.restore();
}

void sliders(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(80, 80, 90), 1.2));
    for (int i = 0; i < 3; ++i) {
        const double x = b.left() + 3.5 + i * 4.5;
        p.drawLine(QPointF(x, b.top() + 1.5), QPointF(x, b.bottom() - 1.5));
    }
    p.setPen(QPen(QColor(30, 50, 120), 0.8));
    const double knobs[3] = {5, 10, 7};
    const QColor colours[3] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(b.left() + 1.5 + i * 4.5, b.top() + knobs[i] - 1.5, 4, 3));
    }
    p.restore();
}

void clock(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(30, 40, 90), 1.2));
    QRadialGradient g(b.center(), b.width() / 2);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(215, 225, 245));
    p.setBrush(g);
    p.drawEllipse(b.adjusted(1, 1, -1, -1));
    p.setPen(QPen(QColor(20, 20, 30), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(b.center(), b.center() + QPointF(0, -5));
    p.drawLine(b.center(), b.center() + QPointF(3.5, 1.5));
    p.restore();
}

void box(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(110, 70, 20), 1));
    QPolygonF front, top, side;
    front << QPointF(1.5, 6.5) << QPointF(10.5, 6.5) << QPointF(10.5, 14.5) << QPointF(1.5, 14.5);
    top << QPointF(1.5, 6.5) << QPointF(5.5, 2.5) << QPointF(14.5, 2.5) << QPointF(10.5, 6.5);
    side << QPointF(10.5, 6.5) << QPointF(14.5, 2.5) << QPointF(14.5, 10.5) << QPointF(10.5, 14.5);
    p.translate(b.topLeft());
    p.setBrush(QColor(220, 170, 90));
    p.drawPolygon(front);
    p.setBrush(QColor(240, 200, 120));
    p.drawPolygon(top);
    p.setBrush(QColor(190, 140, 60));
    p.drawPolygon(side);
    p.setPen(QPen(QColor(30, 90, 200), 1.5));
    p.drawLine(QPointF(6, 6.5), QPointF(6, 14));
    p.restore();
}

void tower(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(40, 40, 50), 1));
    QLinearGradient g(b.topLeft(), b.topRight());
    g.setColorAt(0, QColor(225, 225, 230));
    g.setColorAt(1, QColor(160, 160, 170));
    p.setBrush(g);
    p.drawRect(QRectF(b.left() + 3.5, b.top() + 0.5, 9, 15));
    p.setPen(QPen(QColor(70, 70, 80), 1));
    p.drawLine(QPointF(b.left() + 5, b.top() + 3.5), QPointF(b.left() + 11, b.top() + 3.5));
    p.drawLine(QPointF(b.left() + 5, b.top() + 5.5), QPointF(b.left() + 11, b.top() + 5.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(b.left() + 8, b.top() + 12), 1.2, 1.2);
    p.restore();
}

void note(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 30, 140));
    p.drawEllipse(QPointF(b.left() + 4.5, b.top() + 12.5), 3, 2.3);
    p.drawEllipse(QPointF(b.left() + 11.5, b.top() + 11), 3, 2.3);
    p.setPen(QPen(QColor(60, 30, 140), 1.4));
    p.drawLine(QPointF(b.left() + 7.2, b.top() + 12.5), QPointF(b.left() + 7.2, b.top() + 2.5));
    p.drawLine(QPointF(b.left() + 14.2, b.top() + 11), QPointF(b.left() + 14.2, b.top() + 1));
    p.setPen(QPen(QColor(60, 30, 140), 2.2));
    p.drawLine(QPointF(b.left() + 7.2, b.top() + 3), QPointF(b.left() + 14.2, b.top() + 1.5));
    p.restore();
}

void priceTag(QPainter& p, const QRectF& b) {
    p.save();
    QPolygonF tag;
    tag << QPointF(b.left() + 1.5, b.top() + 7) << QPointF(b.left() + 7, b.top() + 1.5)
        << QPointF(b.right() - 1.5, b.top() + 1.5) << QPointF(b.right() - 1.5, b.top() + 7)
        << QPointF(b.left() + 7, b.bottom() - 3);
    p.setPen(QPen(QColor(140, 90, 0), 1));
    p.setBrush(QColor(255, 210, 60));
    p.drawPolygon(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(b.right() - 4.5, b.top() + 4.5), 1.3, 1.3);
    p.restore();
}

void letterMagnifier(QPainter& p, const QRectF& b, const QString& letter, const QColor& colour) {
    magnifier(p, QRectF(b.left() + 0.5, b.top() + 0.5, 10.5, 10.5));
    p.save();
    p.setPen(colour);
    p.setFont(font(8.5, true));
    p.drawText(QRectF(b.left() + 0.5, b.top() + 0.5, 10.5, 10.5), Qt::AlignCenter, letter);
    p.restore();
}

void textSheet(QPainter& p, const QRectF& b) {
    sheet(p, b.adjusted(1, 0, -1, 0), false);
    p.save();
    p.setPen(QColor(20, 40, 120));
    p.setFont(font(6.5, true));
    p.drawText(QRectF(b.left() + 1, b.top() + 4, b.width() - 3, 7), Qt::AlignCenter,
               QStringLiteral("Abc"));
    p.setPen(QPen(QColor(120, 140, 190), 1));
    p.drawLine(QPointF(b.left() + 3.5, b.top() + 12.5), QPointF(b.right() - 3.5, b.top() + 12.5));
    p.restore();
}

void pencil(QPainter& p, const QRectF& b) {
    p.save();
    p.translate(b.center());
    p.rotate(-45);
    const double s = b.width() / 16;
    p.setPen(QPen(QColor(80, 50, 10), 0.8));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(-5 * s, -1.6 * s, 9 * s, 3.2 * s));
    p.setBrush(QColor(240, 150, 150));
    p.drawRect(QRectF(4 * s, -1.6 * s, 2.2 * s, 3.2 * s));
    QPolygonF tip;
    tip << QPointF(-5 * s, -1.6 * s) << QPointF(-8 * s, 0) << QPointF(-5 * s, 1.6 * s);
    p.setBrush(QColor(240, 220, 180));
    p.drawPolygon(tip);
    p.restore();
}

void startMenu(QPainter& p, const QRectF& b) {
    p.save();
    p.setPen(QPen(QColor(40, 60, 110), 1));
    p.setBrush(QColor(235, 240, 250));
    p.drawRect(QRectF(b.left() + 4.5, b.top() + 0.5, 11, 12));
    p.setPen(QPen(QColor(90, 110, 170), 1));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(b.left() + 7, b.top() + 3 + i * 2.5),
                   QPointF(b.left() + 13.5, b.top() + 3 + i * 2.5));
    p.restore();
    p.save();
    p.setPen(QPen(kGreen.darker(140), 0.8));
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(b.left() + 0.5, b.top() + 10.5, 9, 5), 2, 2);
    p.restore();
    arrow(p, QRectF(b.left() + 2, b.top() + 11, 6, 4), Direction::Up, Qt::white);
}

void logOff(QPainter& p, const QRectF& b) {
    door(p, b);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 90));
    p.drawEllipse(QPointF(b.left() + 4, b.top() + 3.5), 1.6, 1.6);
    p.restore();
}

void closeProgram(QPainter& p, const QRectF& b) {
    window(p, b.adjusted(0, 1, 0, -1));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(b.right() - 9, b.bottom() - 9, 8.5, 8.5));
    p.restore();
    cross(p, QRectF(b.right() - 7, b.bottom() - 7, 4.5, 4.5), Qt::white, 1.4);
}

void minimiseAll(QPainter& p, const QRectF& b) {
    window(p, QRectF(b.left() + 4, b.top(), 12, 9));
    window(p, QRectF(b.left() + 1, b.top() + 3, 12, 9));
    p.save();
    p.setPen(QPen(QColor(30, 30, 40), 1.5));
    p.drawLine(QPointF(b.left() + 1, b.bottom() - 1), QPointF(b.left() + 8, b.bottom() - 1));
    p.restore();
    arrow(p, QRectF(b.left() + 9, b.top() + 8, 7, 8), Direction::Down, kGreen);
}

void webLink(QPainter& p, const QRectF& b) {
    globe(p, b.adjusted(0, 0, -3, -3));
    p.save();
    QPolygonF cursor;
    const QPointF o(b.left() + 9, b.top() + 7);
    cursor << o << o + QPointF(0, 8.5) << o + QPointF(2.2, 6.4) << o + QPointF(4, 9)
           << o + QPointF(5.2, 8.2) << o + QPointF(3.6, 5.8) << o + QPointF(6.3, 5.6);
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(Qt::white);
    p.drawPolygon(cursor);
    p.restore();
}

void shuffleKeys(QPainter& p, const QRectF& b) {
    keyCap(p, QRectF(b.left(), b.top() + 2, 12, 12), QStringLiteral("F"), QColor(90, 140, 230),
           QColor(40, 70, 150), Qt::white, 7);
}

}  // namespace

QImage actionIcon(int action) {
    QImage image = blank(16, 16);
    QPainter p(&image);
    prepare(p);
    const QRectF b(0, 0, 16, 16);
    switch (action) {
        case 1:
            minimiseAll(p, b);
            break;
        case 2:
            window(p, b.adjusted(0, 1, -3, -3));
            gear(p, QPointF(11.5, 11.5), 4.5, QColor(150, 150, 160));
            break;
        case 3:
            monitor(p, b);
            break;
        case 4:
            clock(p, b);
            break;
        case 5:
            priceTag(p, b);
            magnifier(p, QRectF(1, 6, 6.5, 6.5));
            break;
        case 6:
            clipboard(p, b);
            break;
        case 7:
            letterMagnifier(p, b, QStringLiteral("G"), kBlue);
            break;
        case 8:
            sheet(p, QRectF(0, 0, 10, 12));
            sheet(p, QRectF(5, 4, 10, 12));
            break;
        case 9:
            globe(p, b.adjusted(1, 1, -1, -1));
            break;
        case 10:
            note(p, b);
            break;
        case 11:
            closeProgram(p, b);
            break;
        case 12:
            box(p, b);
            break;
        case 13:
            magnifier(p, QRectF(1, 1, 9, 9));
            break;
        case 14:
            startMenu(p, b);
            break;
        case 15:
            tower(p, b);
            break;
        case 16:
            sliders(p, b);
            break;
        case 17:
            textSheet(p, b);
            break;
        case 18:
            webLink(p, b);
            break;
        case 19:
            powerSign(p, b, kRed);
            break;
        case 20:
            circularArrow(p, b, kGreen);
            break;
        case 21:
            logOff(p, b);
            break;
        default:
            throw std::out_of_range("no action picture");
    }
    return image;
}

QImage namedIcon(const QString& name, int size) {
    QImage image = blank(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 16.0, size / 16.0);
    const QRectF b(0, 0, 16, 16);
    if (name == "load") {
        folder(p, b.adjusted(0, 1, 0, -1), true);
    } else if (name == "save") {
        disk(p, b.adjusted(1, 1, -1, -1));
    } else if (name == "quit") {
        door(p, b);
    } else if (name == "delete-all") {
        shuffleKeys(p, b);
        cross(p, QRectF(7, 7, 7, 7), kRed, 2.2);
    } else if (name == "welcome") {
        house(p, b.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (name == "slots") {
        keyCap(p, b.adjusted(0.5, 0.5, -0.5, -0.5), QStringLiteral("F"), QColor(90, 140, 230),
               QColor(40, 70, 150), Qt::white, 8);
    } else if (name == "options") {
        gear(p, b.center(), 7.2, QColor(140, 150, 170));
    } else if (name == "update") {
        globe(p, b.adjusted(0, 0, -4, -4));
        arrow(p, QRectF(8, 6, 8, 10), Direction::Down, kGreen);
    } else if (name == "help") {
        circleSign(p, b, kBlue, QStringLiteral("?"));
    } else if (name == "info") {
        circleSign(p, b, kBlue, QStringLiteral("i"));
    } else if (name == "tray-show") {
        window(p, b.adjusted(0, 0, -3, -4));
        arrow(p, QRectF(8, 7, 8, 9), Direction::Up, kGreen);
    } else if (name == "browse") {
        folder(p, b.adjusted(0, 1, 0, -1), true);
    } else if (name == "web") {
        globe(p, b.adjusted(1, 1, -1, -1));
    } else if (name == "openmode") {
        window(p, b.adjusted(0, 0, -2, -2));
        arrow(p, QRectF(7, 7, 9, 9), Direction::Right, kBlue);
    } else if (name == "text") {
        sheet(p, b.adjusted(0, 0, -4, 0));
        pencil(p, QRectF(4, 4, 12, 12));
    } else if (name == "hide") {
        p.save();
        p.setPen(QPen(QColor(40, 40, 60), 1));
        p.setBrush(QColor(200, 205, 220));
        p.drawRect(QRectF(0.5, 11.5, 15, 4));
        p.restore();
        arrow(p, QRectF(4, 0, 8, 11), Direction::Down, kBlue);
    } else if (name == "check") {
        tick(p, QRectF(2, 3, 12, 10), kGreen, 2.6);
    } else if (name == "download") {
        arrow(p, QRectF(2, 0, 12, 12), Direction::Down, kGreen);
        p.save();
        p.setPen(QPen(QColor(40, 40, 60), 1.5));
        p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
        p.restore();
    } else if (name == "cancel") {
        cross(p, QRectF(3, 3, 10, 10), kRed, 2.6);
    } else if (name == "style") {
        // A window and the three looks it can take.
        window(p, b.adjusted(0, 0, -3, -4));
        p.save();
        p.setPen(QPen(QColor(40, 40, 60), 0.8));
        const QColor looks[3] = {QColor(40, 62, 150), QColor(240, 239, 232), QColor(150, 185, 235)};
        for (int k = 0; k < 3; ++k) {
            p.setBrush(looks[k]);
            p.drawEllipse(QRectF(6.5 + 3 * k, 11, 3.2, 3.2));
        }
        p.restore();
    } else if (name == "autostart") {
        monitor(p, b.adjusted(0, 0, -3, -3));
        arrow(p, QRectF(7, 7, 9, 9), Direction::Right, kGreen);
    } else {
        throw std::invalid_argument("no picture named " + name.toStdString());
    }
    return image;
}

QImage programIcon(int size) {
    QImage image = blank(size, size);
    QPainter p(&image);
    prepare(p);
    p.scale(size / 64.0, size / 64.0);
    keyCap(p, QRectF(2, 2, 60, 60), QString(), QColor(60, 120, 230), QColor(20, 50, 130), Qt::white,
           0);
    p.setPen(Qt::white);
    p.setFont(font(34, true));
    p.drawText(QRectF(6, 2, 36, 44), Qt::AlignCenter, QStringLiteral("F"));
    QPolygonF bolt;
    bolt << QPointF(44, 8) << QPointF(33, 30) << QPointF(41, 30) << QPointF(35, 50)
         << QPointF(52, 24) << QPointF(44, 24) << QPointF(50, 8);
    p.setPen(QPen(QColor(150, 90, 0), 1.5));
    p.setBrush(QColor(255, 210, 40));
    p.drawPolygon(bolt);
    return image;
}

QImage flag(bool german) {
    QImage image = blank(16, 16);
    QPainter p(&image);
    const QRect field(0, 3, 16, 11);
    if (german) {
        p.fillRect(QRect(0, 3, 16, 4), QColor(0, 0, 0));
        p.fillRect(QRect(0, 7, 16, 3), QColor(220, 0, 0));
        p.fillRect(QRect(0, 10, 16, 4), QColor(255, 204, 0));
    } else {
        p.fillRect(field, QColor(1, 33, 105));
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(QPointF(0, 3), QPointF(16, 14));
        p.drawLine(QPointF(16, 3), QPointF(0, 14));
        p.setPen(QPen(QColor(200, 16, 46), 1));
        p.drawLine(QPointF(0, 3), QPointF(16, 14));
        p.drawLine(QPointF(16, 3), QPointF(0, 14));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(0, 7, 16, 3), Qt::white);
        p.fillRect(QRect(6, 3, 4, 11), Qt::white);
        p.fillRect(QRect(0, 8, 16, 1), QColor(200, 16, 46));
        p.fillRect(QRect(7, 3, 2, 11), QColor(200, 16, 46));
    }
    p.setPen(QColor(80, 80, 80));
    p.drawRect(field.adjusted(0, 0, -1, -1));
    return image;
}

}  // namespace draw
