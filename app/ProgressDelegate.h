#pragma once
// Draws a progress bar behind the text of the "转换进度" cell; the text stays as the row has it.

#include <QStyledItemDelegate>

constexpr int kProgressRole = Qt::UserRole + 7; // whole percent 0..100, or none

class ProgressDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
