#include "catalogue/window/ImageDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

TImageDelegate::TImageDelegate(const QList<QPixmap> &images, ImageIndexOf imageIndexOf, Placement placement,
                               QObject *parent)
    : QStyledItemDelegate(parent), fImages(images), fImageIndexOf(std::move(imageIndexOf)), fPlacement(placement)
{
}

QRect TImageDelegate::imageRect(const QRect &itemRect) const
{
    const QSize size = fImages.isEmpty() ? QSize(16, 16) : fImages.first().size();
    const int top = itemRect.top() + (itemRect.height() - size.height()) / 2;
    const int left =
        fPlacement == Centred ? itemRect.left() + (itemRect.width() - size.width()) / 2 : itemRect.left() + kGap;
    return QRect(QPoint(left, top), size);
}

bool TImageDelegate::hitsImage(const QAbstractItemView *view, const QPoint &point) const
{
    const QModelIndex index = view->indexAt(point);
    return index.isValid() && imageRect(view->visualRect(index)).contains(point);
}

void TImageDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect image = imageRect(option.rect);
    QStyleOptionViewItem rest(option);
    if (fPlacement == BeforeText) {
        rest.rect.setLeft(image.right() + 1 + kGap);
        QStyledItemDelegate::paint(painter, rest, index);
    } else {
        // Background and selection only: the value is shown by its image.
        initStyleOption(&rest, index);
        rest.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &rest, painter, widget);
    }
    const int number = fImageIndexOf(index);
    if (number >= 0 && number < fImages.size())
        painter->drawPixmap(image.topLeft(), fImages.at(number));
}

QSize TImageDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QSize image = fImages.isEmpty() ? QSize(16, 16) : fImages.first().size();
    if (fPlacement == BeforeText)
        size.rwidth() += image.width() + 2 * kGap;
    size.setHeight(qMax(size.height(), image.height() + 2));
    return size;
}
