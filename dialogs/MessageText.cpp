#include "dialogs/MessageText.h"

#include <QFontMetrics>
#include <QList>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <climits>
#include <functional>

namespace messagetext {

namespace {

// Line breaks as the message may carry them (CR LF, LF or a lone CR), as one.
QString normalisedBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;

const QChar kEllipsis(0x2026);

// The text's start of at most `length` characters, never splitting a character made of
// several code units, and an ellipsis.
QString cutAt(QStringView text, qsizetype length)
{
    // Only the part around the cut is looked at, however long the text.
    const QString around = text.left(length + 1).toString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, around);
    graphemes.setPosition(length);
    if (!graphemes.isAtBoundary())
        graphemes.toPreviousBoundary();
    return around.left(qMax<qsizetype>(graphemes.position(), 0)) + kEllipsis;
}

// Each word of the text as transform gives it back, the spaces between them kept.
QString eachWord(QStringView text, const std::function<QString(QStringView word)> &transform)
{
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        out += transform(text.mid(start, end - start));
        while (end < text.size() && text.at(end).isSpace())
            out += text.at(end++);
        start = end;
    }
    return out;
}

QString shortenedWords(QStringView line)
{
    return eachWord(line, [](QStringView word) {
        return word.size() > kLongestWord ? cutAt(word, kLongestWord) : word.toString();
    });
}

} // namespace

QString shortenedNames(const QString &text)
{
    QStringList lines;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QString kept = line.size() > kLongestLine ? cutAt(line, kLongestLine) : line.toString();
        lines << shortenedWords(kept);
    }
    return lines.join(QLatin1Char('\n'));
}

QString firstLines(const QString &text, qsizetype count)
{
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    if (lines.size() <= count)
        return text;
    QString out;
    for (qsizetype i = 0; i < count; ++i) {
        out += lines[i];
        out += QLatin1Char('\n');
    }
    const qsizetype more = lines.size() - count;
    return out + QStringLiteral("%1 and %2 more %3").arg(kEllipsis).arg(more).arg(more == 1 ? "line" : "lines");
}

QString shownText(const QString &message)
{
    QString text = message;
    if (text.size() >= 2 && text[text.size() - 2] == QLatin1Char('\r'))
        text.chop(2);
    return normalisedBreaks(text);
}

QSize naturalTextSize(const QFont &font, const QString &text)
{
    const QRect r = QFontMetrics(font).boundingRect(QRect(0, 0, INT_MAX / 4, INT_MAX / 4), kTextFlags, text);
    return r.size();
}

int wrappedTextHeight(const QFont &font, const QString &text, int width)
{
    return QFontMetrics(font)
        .boundingRect(QRect(0, 0, width, INT_MAX / 4), kTextFlags | Qt::TextWordWrap, text)
        .height();
}

QString breakableLongWords(const QFont &font, const QString &text, int width)
{
    const QFontMetrics metrics(font);
    return eachWord(text, [&](QStringView word) {
        if (metrics.horizontalAdvance(word.toString()) <= width)
            return word.toString();
        QString out;
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word.toString());
        qsizetype from = 0;
        for (qsizetype to = graphemes.toNextBoundary(); to > 0; to = graphemes.toNextBoundary()) {
            if (from > 0)
                out += QChar(0x200B);
            out += word.mid(from, to - from);
            from = to;
        }
        return out;
    });
}

} // namespace messagetext
