#pragma once
// Draws a cell whose text is a name from the database, the product grid's description:
// cut to the cell first and then set apart (isolatedName), so that an ellipsis never
// drops the end of the isolation; a name the model marks missing (kNameMissingRole) in
// grey italics, as the tree shows one.
#include <QStyledItemDelegate>

class TNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where the style puts the text of an item in option.rect: inside its margin.
    static QRect textArea(const QStyleOptionViewItem &option);
    // The text in the area, aligned, in the font and the colours the style gives item text.
    static void paintText(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                          Qt::Alignment alignment, const QString &text);
    // The name on the left of the area, cut to it and set apart.
    static void paintName(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                          const QString &name);
};
