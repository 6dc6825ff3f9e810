#include "shell/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace tamsel::shell {

QImage DrawAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // A chequered tile peeking out behind the picture: the texture files the viewer reads.
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            p.fillRect(QRectF(30 + column * 8, 2 + row * 8, 8, 8),
                       (row + column) % 2 == 0 ? QColor(0xE0, 0x40, 0x30) : QColor(0xF5, 0xE6, 0xC8));
        }
    }

    // The framed picture: sky, hills and a road.
    const QRectF frame(4, 14, 50, 46);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawRoundedRect(frame, 4, 4);
    const QRectF picture = frame.adjusted(4, 4, -4, -4);
    p.setBrush(QColor(0x6C, 0xB4, 0xEE));
    p.drawRect(picture);
    QPainterPath hills;
    hills.moveTo(picture.left(), 40);
    hills.cubicTo(18, 30, 30, 44, picture.right(), 34);
    hills.lineTo(picture.bottomRight());
    hills.lineTo(picture.bottomLeft());
    hills.closeSubpath();
    p.setBrush(QColor(0x3C, 0x9A, 0x44));
    p.drawPath(hills);
    QPainterPath road;
    road.moveTo(12, picture.bottom());
    road.lineTo(27, 39);
    road.lineTo(31, 39);
    road.lineTo(44, picture.bottom());
    road.closeSubpath();
    p.setBrush(QColor(0x50, 0x50, 0x58));
    p.drawPath(road);
    p.setPen(QPen(QColor(0xFF, 0xD8, 0x30), 1.5));
    p.drawLine(QPointF(29, 41), QPointF(29, 44));
    p.drawLine(QPointF(28.6, 47), QPointF(28.3, 51));
    return icon;
}

}  // namespace tamsel::shell
