#include "catalogue/core/EntryLines.h"

#include "util/ControlEscapes.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QCollator>
#include <QLocale>

#include <QStringList>

#include <algorithm>
#include <numeric>

namespace {
constexpr int kDescriptionWidth = 20;
constexpr int kRateWidth = 10;
constexpr int kIdWidth = 5;

QString idColumn(qint32 id)
{
    return PadLeft(IntToText(id), kIdWidth, QLatin1Char('0'), false);
}
} // namespace

TEntryLine makeEntryLine(int level, const QString &description, const QString &rateText, qint32 parentId, qint32 ownId,
                         bool qualified)
{
    const QString name = PadRight(description, kDescriptionWidth, QLatin1Char(' '), true);
    const QString rate = PadLeft(rateText, kRateWidth, QLatin1Char(' '), false);

    TEntryLine line;
    line.level = level;
    line.parentId = parentId;
    line.ownId = ownId;
    line.caption = (name + rate).trimmed();
    line.text = IntToText(level) + name + rate + idColumn(parentId) + idColumn(ownId)
        + (qualified ? QStringLiteral("1") : QString());
    return line;
}

void sortEntryLines(QList<TEntryLine> &lines)
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Sort keys once: a collation per comparison costs far more on a large site.
    QList<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const TEntryLine &line : lines)
        keys.append(collator.sortKey(line.text));

    QList<int> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });

    QList<TEntryLine> sorted;
    sorted.reserve(lines.size());
    for (int index : order)
        sorted.append(std::move(lines[index]));
    lines = std::move(sorted);
}

QString entryLinesText(const QList<TEntryLine> &lines)
{
    QStringList texts;
    texts.reserve(lines.size());
    // A description could otherwise break its line and forge entries of its own.
    for (const TEntryLine &line : lines)
        texts.append(escapeControls(line.text));
    return texts.join(QStringLiteral("\r\n"));
}
