#include "dialogs/MessageText.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>

#include <climits>

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

} // namespace

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
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        const QString word = text.mid(start, end - start);
        if (metrics.horizontalAdvance(word) > width) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
            qsizetype from = 0;
            for (qsizetype to = graphemes.toNextBoundary(); to > 0; to = graphemes.toNextBoundary()) {
                if (from > 0)
                    out += QChar(0x200B);
                out += word.mid(from, to - from);
                from = to;
            }
        } else {
            out += word;
        }
        while (end < text.size() && text.at(end).isSpace())
            out += text.at(end++);
        start = end;
    }
    return out;
}

} // namespace messagetext
