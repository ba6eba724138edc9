#include "tests/catalogue/differential/ShowText.h"

#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"

#include <algorithm>

namespace {

QString bracketed(const QString &text)
{
    return QLatin1Char('[') + text + QLatin1Char(']');
}

// The description as the database compares it: texts are compared as if padded with
// blanks, so trailing blanks do not count.
QString comparedDescription(const QString &key)
{
    QString description = productDescriptionOfKey(key);
    while (description.endsWith(QLatin1Char(' ')))
        description.chop(1);
    return description;
}

// Products whose descriptions tie come in whatever order the database's sort leaves them:
// "order by DESCRIPTION" fixes none, and the same query gives another order when it
// selects other columns. Each run of ties is put in key order on both sides, so that
// every order the database does fix is still compared.
QStringList inTieOrder(QStringList keys)
{
    for (int start = 0; start < keys.size();) {
        int end = start + 1;
        while (end < keys.size() && comparedDescription(keys[end]) == comparedDescription(keys[start]))
            ++end;
        std::sort(keys.begin() + start, keys.begin() + end);
        start = end;
    }
    return keys;
}

} // namespace

QStringList codesText(const TVatResolution &codes)
{
    QStringList oldVIDs;
    for (qint32 vid : codes.oldVIDs)
        oldVIDs << QString::number(vid);
    return {QStringLiteral("siteID=%1").arg(codes.siteID), QStringLiteral("newVID=%1").arg(codes.newVID),
            QStringLiteral("v62Plus=%1").arg(codes.v62Plus),
            QStringLiteral("oldVIDs=") + oldVIDs.join(QLatin1Char(','))};
}

QStringList linesText(const QList<TEntryLine> &lines)
{
    QStringList texts;
    for (const TEntryLine &line : lines)
        texts << bracketed(line.text)
                + QStringLiteral(" level=%1 parent=%2 own=%3 caption=")
                      .arg(line.level)
                      .arg(line.parentId)
                      .arg(line.ownId)
                + bracketed(line.caption);
    return texts;
}

QStringList plannedNodesText(const std::vector<TPlannedNode> &nodes)
{
    QStringList texts;
    for (const TPlannedNode &node : nodes)
        texts << QStringLiteral("level=%1 id=%2 parent=%3 caption=").arg(node.level).arg(node.id).arg(node.parent)
                + bracketed(node.caption);
    return texts;
}

QStringList nodeProductsText(const std::vector<TPlannedNode> &nodes, const std::vector<QStringList> &keysPerNode)
{
    QStringList texts;
    for (size_t i = 0; i < nodes.size() && i < keysPerNode.size(); ++i)
        for (const QString &key : inTieOrder(keysPerNode[i]))
            texts << QStringLiteral("%1:%2 ").arg(nodes[i].level).arg(nodes[i].id) + bracketed(key);
    return texts;
}

QStringList storeText(const TSelectionStore &store)
{
    QStringList texts;
    for (const QString &section : store.sections()) {
        texts << QStringLiteral("section ") + section;
        for (const QString &key : inTieOrder(store.keys(section)))
            texts << QStringLiteral("  ") + bracketed(key) + QStringLiteral(" = ")
                    + bracketed(store.read(section, key, QStringLiteral("<missing>")));
    }
    return texts;
}
