#include "ProgressDelegate.h"

#include <QPainter>

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QVariant value = index.data(kProgressRole);
    if (!value.isValid()) {
        QStyleOptionViewItem opt(option);
        opt.displayAlignment = Qt::AlignCenter;
        QStyledItemDelegate::paint(painter, opt, index);
        return;
    }
    {
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
            // a fixed blue reads on every skin's list background
            const QColor c(70, 150, 230);
            QLinearGradient g(bar.topLeft(), bar.bottomLeft());
            g.setColorAt(0, c.lighter(140));
            g.setColorAt(1, c);
            painter->setPen(Qt::NoPen);
            painter->setBrush(g);
            painter->drawRoundedRect(bar, 2, 2);
        }
        painter->restore();
    }
    // the text over the bar, without the item background that would paint the bar over
    painter->save();
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
