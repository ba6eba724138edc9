#pragma once
// Draws one image of the image list in a cell, chosen by the cell's value: the state
// image before a tree node's caption, or the tick image alone in the grid's tick
// column. Painting and hit-testing share imageRect(), so a click lands exactly where
// the image is drawn.
//
// Before a caption, the caption's description goes on the left and its rate on the
// right edge of the column: captions pad with blanks, which leave the rates ragged in a
// proportional font, and the column's right edge is the same for nodes of every depth.
#include <QList>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <functional>

class QAbstractItemView;

class TImageDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum Placement { BeforeText, Centred };
    using ImageIndexOf = std::function<int(const QModelIndex &)>;

    TImageDelegate(const QList<QPixmap> &images, ImageIndexOf imageIndexOf, Placement placement,
                   QObject *parent = nullptr);

    // Where the image of a cell whose rectangle is itemRect is drawn.
    QRect imageRect(const QRect &itemRect) const;
    // True when the point (in the view's viewport) lies on the image of a cell.
    bool hitsImage(const QAbstractItemView *view, const QPoint &point) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The caption in option.rect, in the colours the style gives item text.
    static void paintCaption(QPainter *painter, const QStyleOptionViewItem &option, const QString &caption);

    static constexpr int kGap = 3;
    QList<QPixmap> fImages;
    ImageIndexOf fImageIndexOf;
    Placement fPlacement;
};
