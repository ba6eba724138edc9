#pragma once
// The selection as the tests name its products: "<number>_<description>", the number alone
// when the database holds no description.
#include "catalogue/core/Selection.h"

#include <QStringList>

inline QString productKeyText(const TProductRow &product)
{
    if (product.description.isNull())
        return QString::number(product.sid);
    return QString::number(product.sid) + QLatin1Char('_') + product.description;
}

// The products the node lists, in its order; none for no node (-1).
inline QStringList listedKeys(const TSelection &selection, int node)
{
    QStringList keys;
    if (node < 0)
        return keys;
    for (int product : selection.productsOf(node))
        keys << productKeyText(selection.product(product));
    return keys;
}

// "Y" or "N" for the product of that key under the node; "-" when the node does not list it.
inline QString tickUnder(const TSelection &selection, int node, const QString &key)
{
    if (node < 0)
        return QStringLiteral("-");
    for (int product : selection.productsOf(node))
        if (productKeyText(selection.product(product)) == key)
            return selection.isTicked(product) ? QStringLiteral("Y") : QStringLiteral("N");
    return QStringLiteral("-");
}
