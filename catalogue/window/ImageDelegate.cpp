#include "catalogue/window/ImageDelegate.h"

#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/window/NameDelegate.h"

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
    initStyleOption(&rest, index);
    const QString caption = rest.text;
    // Background, selection and focus only: the text is laid out here, or the value
    // is shown by its image.
    rest.text.clear();
    if (fPlacement == BeforeText)
        rest.rect.setLeft(image.right() + 1 + kGap);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &rest, painter, widget);
    if (fPlacement == BeforeText)
        paintCaption(painter, rest, caption);

    const int number = fImageIndexOf(index);
    if (number >= 0 && number < fImages.size())
        painter->drawPixmap(image.topLeft(), fImages.at(number));
}

void TImageDelegate::paintCaption(QPainter *painter, const QStyleOptionViewItem &option, const QString &caption)
{
    const QRect area = TNameDelegate::textArea(option);
    const QFontMetrics metrics(option.font);
    const TCaptionParts parts = splitNodeCaption(caption);

    // The rate keeps the right edge even when the column is too narrow for it, and the
    // description takes what is left.
    const QString rate = metrics.elidedText(parts.rate, Qt::ElideRight, area.width());
    const int descriptionRight =
        area.right() - metrics.horizontalAdvance(rate) - metrics.horizontalAdvance(QStringLiteral("  "));
    TNameDelegate::paintText(painter, option, area, Qt::AlignRight | Qt::AlignVCenter, rate);
    TNameDelegate::paintName(painter, option, QRect(area.topLeft(), QPoint(descriptionRight, area.bottom())),
                             parts.description);
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
