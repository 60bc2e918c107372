#include "Glyphs.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace glyphs {
namespace {

constexpr qreal kPi = 3.14159265358979323846;

QPixmap canvas(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    return pm;
}

// Greyed form: luminance only, lightened and half transparent, as disabled glyphs look.
QPixmap greyedCopy(const QPixmap& src) {
    QImage img = src.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            const int g = 110 + qGray(p) * 120 / 255;
            line[x] = qRgba(g, g, g, qAlpha(p) * 2 / 3);
        }
    }
    return QPixmap::fromImage(img);
}

QPixmap draw(QSize size, const std::function<void(QPainter&, QRectF)>& paint) {
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pm;
}

QBrush glossy(const QRectF& r, QColor c) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, c.lighter(150));
    g.setColorAt(0.5, c);
    g.setColorAt(1, c.darker(130));
    return g;
}

void disc(QPainter& p, const QRectF& r, QColor c) {
    p.setPen(QPen(c.darker(150), 1.2));
    p.setBrush(glossy(r, c));
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
}

void triangle(QPainter& p, const QRectF& r, QColor c) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right(), r.center().y());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

void gear(QPainter& p, const QRectF& r, QColor c) {
    const QPointF ctr = r.center();
    const qreal outer = r.width() / 2, inner = outer * 0.72;
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i * kPi) / teeth, a1 = ((i + 1) * kPi) / teeth;
        const qreal rad = (i % 2 == 0) ? outer : inner;
        const QPointF p0 = ctr + QPointF(std::cos(a0) * rad, std::sin(a0) * rad);
        const QPointF p1 = ctr + QPointF(std::cos(a1) * rad, std::sin(a1) * rad);
        if (i == 0)
            path.moveTo(p0);
        else
            path.lineTo(p0);
        path.lineTo(p1);
    }
    path.closeSubpath();
    path.addEllipse(ctr, outer * 0.3, outer * 0.3);
    path.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(glossy(r, c));
    p.drawPath(path);
}

void document(QPainter& p, const QRectF& r) {
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(90, 110, 140), 1.2));
    p.setBrush(glossy(r, QColor(235, 242, 250)));
    p.drawPath(path);
    p.setPen(QPen(QColor(160, 175, 195), 1));
    for (int i = 1; i <= 3; ++i) {
        const qreal y = r.top() + r.height() * (0.3 + 0.18 * i);
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    }
}

void badge(QPainter& p, const QRectF& r, QColor c, bool plus) {
    disc(p, r, c);
    p.setPen(QPen(Qt::white, r.width() * 0.16, Qt::SolidLine, Qt::RoundCap));
    const QPointF ctr = r.center();
    const qreal k = r.width() * 0.26;
    p.drawLine(ctr - QPointF(k, 0), ctr + QPointF(k, 0));
    if (plus)
        p.drawLine(ctr - QPointF(0, k), ctr + QPointF(0, k));
}

QPixmap drawTool(Tool t) {
    return draw(QSize(32, 32), [t](QPainter& p, QRectF r) {
        const QRectF in = r.adjusted(2, 2, -2, -2);
        switch (t) {
        case Tool::Add:
            document(p, QRectF(4, 2, 20, 26));
            badge(p, QRectF(15, 15, 16, 16), QColor(40, 160, 60), true);
            break;
        case Tool::Remove:
            document(p, QRectF(4, 2, 20, 26));
            badge(p, QRectF(15, 15, 16, 16), QColor(210, 50, 40), false);
            break;
        case Tool::Clear: {
            // a waste basket
            QPainterPath bin;
            bin.moveTo(8, 9);
            bin.lineTo(24, 9);
            bin.lineTo(22, 29);
            bin.lineTo(10, 29);
            bin.closeSubpath();
            p.setPen(QPen(QColor(70, 80, 95), 1.2));
            p.setBrush(glossy(QRectF(8, 9, 16, 20), QColor(150, 165, 185)));
            p.drawPath(bin);
            p.setBrush(glossy(QRectF(5, 5, 22, 4), QColor(120, 135, 155)));
            p.drawRoundedRect(QRectF(5, 5, 22, 4), 1.5, 1.5);
            p.drawRect(QRectF(13, 2.5, 6, 2.5));
            p.setPen(QPen(QColor(235, 240, 245), 1.4));
            for (qreal x : {12.5, 16.0, 19.5})
                p.drawLine(QPointF(x, 12), QPointF(x, 26));
            break;
        }
        case Tool::Start:
            disc(p, in, QColor(40, 150, 60));
            triangle(p, QRectF(12, 9, 11, 14), Qt::white);
            break;
        case Tool::Stop:
            disc(p, in, QColor(200, 50, 45));
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(10.5, 10.5, 11, 11), 1.5, 1.5);
            break;
        case Tool::Pause:
            disc(p, in, QColor(225, 150, 30));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(10.5, 9.5, 4, 13));
            p.drawRect(QRectF(17.5, 9.5, 4, 13));
            break;
        case Tool::Resume:
            disc(p, in, QColor(40, 120, 200));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9.5, 9.5, 3.5, 13));
            triangle(p, QRectF(15, 9.5, 9, 13), Qt::white);
            break;
        case Tool::Options:
            gear(p, in, QColor(110, 125, 150));
            break;
        case Tool::Skin: {
            // a painter's palette with four paint spots
            QPainterPath pal;
            pal.addEllipse(QRectF(2, 5, 28, 22));
            pal.addEllipse(QRectF(17, 17, 6, 6));
            pal.setFillRule(Qt::OddEvenFill);
            p.setPen(QPen(QColor(130, 95, 50), 1.2));
            p.setBrush(glossy(QRectF(2, 5, 28, 22), QColor(225, 190, 130)));
            p.drawPath(pal);
            const QColor spots[] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(40, 90, 210),
                                    QColor(240, 200, 30)};
            const QPointF at[] = {{9, 12}, {16, 9.5}, {23, 12}, {8.5, 19.5}};
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 4; ++i) {
                p.setBrush(spots[i]);
                p.drawEllipse(at[i], 2.8, 2.8);
            }
            break;
        }
        }
    });
}

QPixmap drawSmall(Small s) {
    return draw(QSize(20, 20), [s](QPainter& p, QRectF r) {
        const QColor ink(60, 70, 85);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        switch (s) {
        case Small::MoveDown:
        case Small::MoveUp: {
            QPainterPath a;
            const bool up = s == Small::MoveUp;
            const qreal tip = up ? 3 : 17, base = up ? 11 : 9;
            a.moveTo(10, tip);
            a.lineTo(17, base);
            a.lineTo(3, base);
            a.closeSubpath();
            a.addRect(up ? QRectF(7, 11, 6, 6) : QRectF(7, 3, 6, 6));
            p.setBrush(glossy(r, QColor(40, 120, 200)));
            p.drawPath(a);
            break;
        }
        case Small::Rename: {
            p.setBrush(glossy(r, QColor(230, 180, 40)));
            QPainterPath pen;
            pen.moveTo(4, 16);
            pen.lineTo(5, 12);
            pen.lineTo(14, 3);
            pen.lineTo(17, 6);
            pen.lineTo(8, 15);
            pen.closeSubpath();
            p.setPen(QPen(ink, 1));
            p.drawPath(pen);
            p.drawLine(QPointF(3, 18), QPointF(17, 18));
            break;
        }
        case Small::Play:
            triangle(p, QRectF(6, 4, 10, 12), ink);
            break;
        case Small::Pause:
            p.drawRect(QRectF(5, 4, 3.5, 12));
            p.drawRect(QRectF(11.5, 4, 3.5, 12));
            break;
        case Small::Stop:
            p.drawRect(QRectF(5, 5, 10, 10));
            break;
        case Small::Mute:
        case Small::Unmute: {
            QPainterPath spk;
            spk.moveTo(3, 7.5);
            spk.lineTo(6.5, 7.5);
            spk.lineTo(11, 3.5);
            spk.lineTo(11, 16.5);
            spk.lineTo(6.5, 12.5);
            spk.lineTo(3, 12.5);
            spk.closeSubpath();
            p.drawPath(spk);
            p.setBrush(Qt::NoBrush);
            if (s == Small::Mute) {
                p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
                p.drawArc(QRectF(8, 6, 6, 8), -60 * 16, 120 * 16);
                p.drawArc(QRectF(7, 3.5, 10, 13), -60 * 16, 120 * 16);
            } else {
                p.setPen(QPen(QColor(200, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(13, 7), QPointF(18, 13));
                p.drawLine(QPointF(18, 7), QPointF(13, 13));
            }
            break;
        }
        case Small::Snapshot:
            p.setBrush(glossy(r, QColor(90, 100, 115)));
            p.drawRoundedRect(QRectF(2, 6, 16, 11), 2, 2);
            p.drawRect(QRectF(6, 4, 6, 3));
            p.setBrush(QColor(170, 210, 245));
            p.drawEllipse(QPointF(10, 11.5), 3.5, 3.5);
            break;
        case Small::Settings:
            gear(p, QRectF(2, 2, 16, 16), QColor(110, 125, 150));
            break;
        }
    });
}

} // namespace

QPixmap tool(Tool t, bool greyed) {
    const QPixmap normal = drawTool(t);
    return greyed ? greyedCopy(normal) : normal;
}

QPixmap small(Small s, bool greyed) {
    const QPixmap normal = drawSmall(s);
    return greyed ? greyedCopy(normal) : normal;
}

QPixmap categoryImage(int index) {
    return draw(QSize(24, 24), [index](QPainter& p, QRectF r) {
        const QRectF in = r.adjusted(1, 1, -1, -1);
        auto tile = [&](QColor c) {
            p.setPen(QPen(c.darker(150), 1));
            p.setBrush(glossy(in, c));
            p.drawRoundedRect(in, 4, 4);
        };
        switch (index) {
        case 11: // Flash video: a red tile with a white "f" stroke
            tile(QColor(205, 40, 40));
            p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(9, 4, 10, 10), 30 * 16, 150 * 16);
            p.drawLine(QPointF(9.2, 9), QPointF(9.2, 19));
            p.drawLine(QPointF(6, 12), QPointF(14, 12));
            break;
        case 0: // common video: a film strip
            tile(QColor(50, 60, 75));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(3.5, 4 + i * 4.5, 2.5, 2.5));
                p.drawRect(QRectF(18, 4 + i * 4.5, 2.5, 2.5));
            }
            p.setBrush(QColor(120, 190, 240));
            p.drawRect(QRectF(8, 5, 8, 14));
            break;
        case 1: // audio: a note
            tile(QColor(40, 140, 200));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(9, 17), 3.2, 2.6);
            p.drawRect(QRectF(11, 5, 1.8, 12));
            p.drawRect(QRectF(11, 5, 7, 2.4));
            break;
        case 12: // smart phone
            p.setPen(QPen(QColor(30, 30, 35), 1));
            p.setBrush(glossy(in, QColor(60, 60, 70)));
            p.drawRoundedRect(QRectF(6, 1, 12, 22), 2.5, 2.5);
            p.setBrush(QColor(110, 190, 250));
            p.drawRect(QRectF(7.5, 3.5, 9, 15));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(12, 20.7), 1, 1);
            break;
        case 10: // MP4 player: a small player with a wheel
            p.setPen(QPen(QColor(80, 80, 90), 1));
            p.setBrush(glossy(in, QColor(235, 235, 240)));
            p.drawRoundedRect(QRectF(5, 1, 14, 22), 3, 3);
            p.setBrush(QColor(60, 150, 90));
            p.drawRect(QRectF(7, 3, 10, 8));
            p.setBrush(QColor(200, 200, 210));
            p.drawEllipse(QPointF(12, 17), 4, 4);
            break;
        case 5: // PSP: a handheld console
            p.setPen(QPen(QColor(20, 20, 25), 1));
            p.setBrush(glossy(in, QColor(45, 45, 55)));
            p.drawRoundedRect(QRectF(1, 6, 22, 12), 5, 5);
            p.setBrush(QColor(100, 170, 240));
            p.drawRect(QRectF(7, 8, 10, 8));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(230, 80, 80));
            p.drawEllipse(QPointF(20, 12), 1.3, 1.3);
            p.setBrush(QColor(200, 200, 210));
            p.drawEllipse(QPointF(4, 12), 1.5, 1.5);
            break;
        case 13: // tablet
            p.setPen(QPen(QColor(30, 30, 35), 1));
            p.setBrush(glossy(in, QColor(70, 70, 80)));
            p.drawRoundedRect(QRectF(2, 3, 20, 18), 2.5, 2.5);
            p.setBrush(QColor(120, 200, 140));
            p.drawRect(QRectF(4, 5, 16, 14));
            break;
        default:
            tile(QColor(140, 140, 150));
            break;
        }
    });
}

QPixmap formatImage(int index) {
    return draw(QSize(40, 40), [index](QPainter& p, QRectF) {
        const QColor c = index % 2 == 0 ? QColor(50, 120, 210) : QColor(230, 130, 30);
        const QRectF body(3, 6, 34, 28);
        p.setPen(QPen(c.darker(150), 1.2));
        p.setBrush(glossy(body, c));
        p.drawRoundedRect(body, 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 230));
        if (index % 2 == 0) {
            triangle(p, QRectF(15, 12, 12, 16), QColor(255, 255, 255, 230));
        } else {
            p.drawRect(QRectF(9, 14, 5, 12));
            p.drawRect(QRectF(17, 10, 5, 16));
            p.drawRect(QRectF(25, 17, 5, 9));
        }
    });
}

QPixmap emptyListPicture(QSize size) {
    return draw(size, [](QPainter& p, QRectF r) {
        QLinearGradient bg(r.topLeft(), r.bottomLeft());
        bg.setColorAt(0, QColor(250, 252, 255));
        bg.setColorAt(1, QColor(226, 234, 246));
        p.setPen(QPen(QColor(170, 185, 210), 1));
        p.setBrush(bg);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        // a dashed drop zone with a film frame and a plus
        const QRectF zone(r.center().x() - 150, r.top() + 28, 300, 150);
        p.setPen(QPen(QColor(140, 160, 195), 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(zone, 10, 10);
        const QRectF film(zone.center().x() - 45, zone.top() + 25, 90, 64);
        p.setPen(QPen(QColor(70, 90, 120), 1.5));
        p.setBrush(glossy(film, QColor(90, 110, 140)));
        p.drawRoundedRect(film, 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 240, 248));
        for (int i = 0; i < 5; ++i) {
            p.drawRect(QRectF(film.left() + 6 + i * 17, film.top() + 5, 8, 6));
            p.drawRect(QRectF(film.left() + 6 + i * 17, film.bottom() - 11, 8, 6));
        }
        badge(p, QRectF(film.right() - 14, film.bottom() - 16, 30, 30), QColor(40, 160, 60), true);
        p.setPen(QColor(80, 95, 125));
        QFont f = QGuiApplication::font();
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(zone.left(), film.bottom() + 14, zone.width(), 24), Qt::AlignCenter,
                   QStringLiteral("点击“添加”按钮或将文件拖到这里"));
        f.setBold(false);
        f.setPixelSize(12);
        p.setFont(f);
        p.setPen(QColor(120, 135, 160));
        p.drawText(QRectF(r.left(), zone.bottom() + 14, r.width(), 40), Qt::AlignCenter,
                   QStringLiteral("支持 AVI、MP4、FLV、MKV、MOV、WMV、MPG、RM、MP3、WAV 等格式"));
    });
}

QPixmap logo(QSize size) {
    return draw(size, [](QPainter& p, QRectF r) {
        const qreal s = std::min(r.width(), r.height());
        const QRectF sq(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
        // a sail (帆) over a film frame at dawn (晨)
        QRadialGradient sun(sq.center() + QPointF(0, s * 0.15), s * 0.6);
        sun.setColorAt(0, QColor(255, 210, 90));
        sun.setColorAt(1, QColor(235, 110, 40));
        p.setPen(QPen(QColor(170, 70, 20), 1));
        p.setBrush(sun);
        p.drawRoundedRect(sq.adjusted(1, 1, -1, -1), s * 0.18, s * 0.18);
        QPainterPath sail;
        sail.moveTo(sq.left() + s * 0.5, sq.top() + s * 0.12);
        sail.quadTo(sq.left() + s * 0.9, sq.top() + s * 0.5, sq.left() + s * 0.8,
                    sq.top() + s * 0.72);
        sail.lineTo(sq.left() + s * 0.5, sq.top() + s * 0.72);
        sail.closeSubpath();
        QPainterPath jib;
        jib.moveTo(sq.left() + s * 0.45, sq.top() + s * 0.25);
        jib.lineTo(sq.left() + s * 0.45, sq.top() + s * 0.72);
        jib.lineTo(sq.left() + s * 0.18, sq.top() + s * 0.72);
        jib.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawPath(sail);
        p.drawPath(jib);
        p.setBrush(QColor(40, 70, 130));
        QPainterPath hull;
        hull.moveTo(sq.left() + s * 0.12, sq.top() + s * 0.76);
        hull.lineTo(sq.left() + s * 0.88, sq.top() + s * 0.76);
        hull.lineTo(sq.left() + s * 0.74, sq.top() + s * 0.88);
        hull.lineTo(sq.left() + s * 0.26, sq.top() + s * 0.88);
        hull.closeSubpath();
        p.drawPath(hull);
    });
}

QIcon appIcon() {
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(logo(QSize(s, s)));
    return icon;
}

} // namespace glyphs
