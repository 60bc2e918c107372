#include "Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace about {

QPixmap ChenfanLogo(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 53 × 57 grid and scaled to the size asked for.
    p.scale(size.width() / 53.0, size.height() / 57.0);

    // The tile: a film frame with perforations along its top and bottom edges.
    const QRectF tile(2, 4, 49, 49);
    QLinearGradient blue(tile.topLeft(), tile.bottomRight());
    blue.setColorAt(0, QColor(0x3d, 0x9c, 0xf0));
    blue.setColorAt(1, QColor(0x0b, 0x46, 0x9c));
    p.setPen(QPen(QColor(0x08, 0x33, 0x73), 1.2));
    p.setBrush(blue);
    p.drawRoundedRect(tile, 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    for (int i = 0; i < 6; ++i) {
        p.drawRoundedRect(QRectF(8.5 + i * 6.5, 7, 3.5, 3), 0.8, 0.8);
        p.drawRoundedRect(QRectF(8.5 + i * 6.5, 47, 3.5, 3), 0.8, 0.8);
    }

    // The sails on their mast.
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1e), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(26, 13), QPointF(26, 40));
    p.setPen(Qt::NoPen);
    QPainterPath mainSail;
    mainSail.moveTo(27.5, 13);
    mainSail.quadTo(41, 26, 42, 38);
    mainSail.lineTo(27.5, 38);
    mainSail.closeSubpath();
    QLinearGradient white(27, 13, 42, 38);
    white.setColorAt(0, Qt::white);
    white.setColorAt(1, QColor(0xdc, 0xe9, 0xf7));
    p.setBrush(white);
    p.drawPath(mainSail);
    QPainterPath jib;
    jib.moveTo(24.5, 17);
    jib.quadTo(15, 28, 13, 38);
    jib.lineTo(24.5, 38);
    jib.closeSubpath();
    p.setBrush(QColor(0xff, 0xb1, 0x3b));
    p.drawPath(jib);

    // Hull and a wave.
    QPainterPath hull;
    hull.moveTo(11, 40);
    hull.lineTo(43, 40);
    hull.lineTo(38, 44.5);
    hull.lineTo(16, 44.5);
    hull.closeSubpath();
    p.setBrush(QColor(0xe8, 0x5d, 0x1a));
    p.drawPath(hull);
    return pixmap;
}

} // namespace about
