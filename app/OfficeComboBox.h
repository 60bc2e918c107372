#pragma once
// A drop-down whose items carry a title, a caption under it and an image: the category list
// (caption and image only) and the format list (title, caption and image, 60 px items).

#include <QComboBox>
#include <QStyledItemDelegate>

enum OfficeItemRole { TitleRole = Qt::DisplayRole, CaptionRole = Qt::UserRole + 1 };

class OfficeItemDelegate : public QStyledItemDelegate {
public:
    OfficeItemDelegate(int itemHeight, bool showTitle, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Draws one item's content into `rect`; shared by the list and the closed box.
    void drawItem(QPainter* painter, const QRect& rect, const QModelIndex& index, bool selected,
                  const QPalette& palette) const;

private:
    int itemHeight_;
    bool showTitle_;
};

class OfficeComboBox : public QComboBox {
    Q_OBJECT
public:
    OfficeComboBox(int itemHeight, bool showTitle, QWidget* parent = nullptr);

    void addOfficeItem(const QString& title, const QString& caption, const QPixmap& image);
    QString title(int index) const;
    QString caption(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OfficeItemDelegate* delegate_;
};
