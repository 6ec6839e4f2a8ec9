#include "app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tb::gui {

namespace {

// The drawing of tallybook.svg, on its 64 x 64 grid.
QPixmap draw(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor green(0x2e, 0x6b, 0x3a), red(0xd2, 0x2d, 0x2d);
    p.setPen(QPen(green, 2));
    p.setBrush(QColor(0xf7, 0xf7, 0xf2));
    p.drawRoundedRect(QRectF(6, 4, 44, 56), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRoundedRect(QRectF(6, 4, 44, 10), 3, 3);
    p.setPen(QPen(QColor(0x9b, 0xb8, 0xa0), 1));
    for (int y : {22, 30, 38, 46, 54}) p.drawLine(QLineF(8, y, 48, y));
    for (int x : {20, 34}) p.drawLine(QLineF(x, 14, x, 58));
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(46, 46), 14, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(red, 1.8));
    QPainterPath left(QPointF(37, 36)), right(QPointF(55, 36));
    left.cubicTo(42, 41, 42, 51, 37, 56);
    right.cubicTo(50, 41, 50, 51, 55, 56);
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(red, 1.2));
    const QLineF stitches[] = {{38, 40, 41, 39}, {39.5, 44, 42.5, 43.5}, {39.5, 48.5, 42.5, 49}, {38, 52.5, 41, 53.5},
                               {54, 40, 51, 39}, {52.5, 44, 49.5, 43.5}, {52.5, 48.5, 49.5, 49}, {54, 52.5, 51, 53.5}};
    for (const QLineF& l : stitches) p.drawLine(l);
    return pm;
}

}  // namespace

QIcon app_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(draw(size));
    return icon;
}

}  // namespace tb::gui
