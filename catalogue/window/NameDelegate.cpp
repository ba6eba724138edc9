#include "catalogue/window/NameDelegate.h"

#include "catalogue/core/ShownName.h"

#include <QApplication>
#include <QPainter>

void TNameDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem rest(option);
    initStyleOption(&rest, index);
    if (index.data(kNameMissingRole).toBool()) {
        rest.font.setItalic(true);
        rest.palette.setColor(QPalette::Text, QColor(Qt::gray));
    }
    const QString name = rest.text;
    // Background, selection and focus only: the name is laid out here.
    rest.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &rest, painter, widget);
    paintName(painter, rest, textArea(rest), name);
}

QRect TNameDelegate::textArea(const QStyleOptionViewItem &option)
{
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    // The margin the style keeps around item text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return option.rect.adjusted(margin, 0, -margin, 0);
}

void TNameDelegate::paintText(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                              Qt::Alignment alignment, const QString &text)
{
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QPalette::ColorRole role = option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;

    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, role));
    painter->drawText(area, alignment, text);
    painter->restore();
}

void TNameDelegate::paintName(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                              const QString &name)
{
    if (area.width() <= 0)
        return;
    const QString cut = QFontMetrics(option.font).elidedText(name, option.textElideMode, area.width());
    paintText(painter, option, area, Qt::AlignLeft | Qt::AlignVCenter, isolatedName(cut));
}
