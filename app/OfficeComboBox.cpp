#include "OfficeComboBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

OfficeItemDelegate::OfficeItemDelegate(int itemHeight, bool showTitle, QObject* parent)
    : QStyledItemDelegate(parent), itemHeight_(itemHeight), showTitle_(showTitle) {}

QSize OfficeItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(itemHeight_);
    return s;
}

void OfficeItemDelegate::drawItem(QPainter* painter, const QRect& rect, const QModelIndex& index,
                                  bool selected, const QPalette& palette) const {
    painter->save();
    const QPixmap image = index.data(Qt::DecorationRole).value<QPixmap>();
    int x = rect.left() + 4;
    if (!image.isNull()) {
        const QPoint at(x, rect.top() + (rect.height() - image.height()) / 2);
        painter->drawPixmap(at, image);
        x += image.width() + 6;
    }
    const QRect text(x, rect.top() + 2, rect.right() - x - 2, rect.height() - 4);
    const QColor ink = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QFont f = painter->font();
    if (showTitle_) {
        QFont bold = f;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(ink);
        const QRect top(text.left(), text.top(), text.width(), text.height() / 2);
        painter->drawText(top, Qt::AlignLeft | Qt::AlignBottom,
                          painter->fontMetrics().elidedText(index.data(TitleRole).toString(),
                                                            Qt::ElideRight, top.width()));
        painter->setFont(f);
        QColor soft = ink;
        if (!selected)
            soft.setAlpha(170);
        painter->setPen(soft);
        const QRect bottom(text.left(), top.bottom() + 2, text.width(), text.height() / 2 - 2);
        painter->drawText(bottom, Qt::AlignLeft | Qt::AlignTop,
                          painter->fontMetrics().elidedText(index.data(CaptionRole).toString(),
                                                            Qt::ElideRight, bottom.width()));
    } else {
        painter->setPen(ink);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(CaptionRole).toString());
    }
    painter->restore();
}

void OfficeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const bool selected = opt.state & QStyle::State_Selected;
    opt.text.clear();
    opt.icon = QIcon();
    // the style draws the background and selection; the content is ours
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : nullptr;
    if (style)
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, w);
    else if (selected)
        painter->fillRect(opt.rect, opt.palette.highlight());
    drawItem(painter, opt.rect, index, selected, opt.palette);
}

OfficeComboBox::OfficeComboBox(int itemHeight, bool showTitle, QWidget* parent)
    : QComboBox(parent), delegate_(new OfficeItemDelegate(itemHeight, showTitle, this)) {
    setItemDelegate(delegate_);
    setMaxVisibleItems(4);
    // A list pop-up (not the style's menu-like one) so that four items show at a time.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

void OfficeComboBox::addOfficeItem(const QString& title, const QString& caption,
                                   const QPixmap& image) {
    addItem(title);
    const int row = count() - 1;
    setItemData(row, caption, CaptionRole);
    setItemData(row, image, Qt::DecorationRole);
}

QString OfficeComboBox::title(int index) const {
    return itemData(index, TitleRole).toString();
}
QString OfficeComboBox::caption(int index) const {
    return itemData(index, CaptionRole).toString();
}

void OfficeComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
        delegate_->drawItem(&painter, field, model()->index(currentIndex(), modelColumn()), false,
                            palette());
}
