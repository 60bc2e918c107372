#include "ProgressDelegate.h"

#include <QPainter>

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QVariant value = index.data(kProgressRole);
    if (value.isValid()) {
        const int percent = std::clamp(value.toInt(), 0, 100);
        const QRect track = option.rect.adjusted(2, 3, -3, -3);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(option.palette.color(QPalette::Mid), 1));
        painter->setBrush(option.palette.color(QPalette::Base));
        painter->drawRoundedRect(track, 2, 2);
        if (percent > 0) {
            QRect bar = track.adjusted(1, 1, 0, 0);
            bar.setWidth(std::max(1, (track.width() - 1) * percent / 100));
            QColor c = option.palette.color(QPalette::Highlight);
            QLinearGradient g(bar.topLeft(), bar.bottomLeft());
            g.setColorAt(0, c.lighter(140));
            g.setColorAt(1, c);
            painter->setPen(Qt::NoPen);
            painter->setBrush(g);
            painter->drawRoundedRect(bar, 2, 2);
        }
        painter->restore();
    }
    QStyleOptionViewItem opt(option);
    opt.displayAlignment = Qt::AlignCenter;
    QStyledItemDelegate::paint(painter, opt, index);
}
