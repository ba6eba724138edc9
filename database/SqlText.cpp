#include "database/SqlText.h"

#include <QRegularExpression>

namespace {

bool isNameStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'$';
}

// When a literal, quoted name or comment starts at i, the index just past it; else i.
// An unterminated one runs to the end of the text, as the server would read it.
int skipQuoted(const QString &text, int i)
{
    const int n = text.size();
    const QChar c = text[i];
    if (c == u'\'' || c == u'"') {
        int j = i + 1;
        while (j < n) {
            if (text[j] == c) {
                if (j + 1 < n && text[j + 1] == c) { // doubled quote stands for itself
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return n;
    }
    if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
        const int end = text.indexOf(u'\n', i + 2);
        return end < 0 ? n : end + 1;
    }
    if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
        const int end = text.indexOf(QStringLiteral("*/"), i + 2);
        return end < 0 ? n : end + 2;
    }
    return i;
}

// Where the statement's code starts, past the blanks and comments in front of it.
int codeStart(const QString &text)
{
    int i = 0;
    while (i < text.size()) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        const QChar c = text[i];
        const int next = skipQuoted(text, i);
        if (next == i || c == u'\'' || c == u'"')
            break;
        i = next;
    }
    return i;
}

// The statement without the blanks and comments in front of it.
QString withoutLeadingComments(const QString &text)
{
    return text.mid(codeStart(text)).trimmed();
}

// Where markers stop counting. In an EXECUTE BLOCK a colon in the body names one of the
// block's own variables, so only its input parameter list, in the parentheses after the
// two words, takes markers; any other statement takes them throughout.
int markersEnd(const QString &sql)
{
    static const QRegularExpression head(QStringLiteral("execute\\s+block\\s*"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match =
        head.match(sql, codeStart(sql), QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!match.hasMatch())
        return int(sql.size());
    int i = int(match.capturedEnd());
    if (i >= sql.size() || sql[i] != u'(')
        return i;
    int depth = 0;
    while (i < sql.size()) {
        const int skipped = skipQuoted(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (sql[i] == u'(')
            ++depth;
        else if (sql[i] == u')' && --depth == 0)
            return i + 1;
        ++i;
    }
    return i;
}

// "SET TERM <new> <old>" at the start of a statement gives <new>; otherwise empty.
QString newTerminator(const QString &statement)
{
    const QStringList words = statement.simplified().split(u' ');
    if (words.size() >= 3 && words[0].compare(QLatin1String("SET"), Qt::CaseInsensitive) == 0
        && words[1].compare(QLatin1String("TERM"), Qt::CaseInsensitive) == 0)
        return words[2];
    return {};
}

} // namespace

TSqlParams replaceParamMarkers(const QString &sql)
{
    TSqlParams result;
    result.sql.reserve(sql.size());
    const int n = sql.size();
    const int end = markersEnd(sql);
    int i = 0;
    while (i < n) {
        const int skipped = skipQuoted(sql, i);
        if (skipped != i) {
            result.sql += QStringView(sql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = sql[i];
        if (i >= end) {
            result.sql += c;
            ++i;
        } else if (c == u'?') {
            result.names.append(QString());
            result.sql += c;
            ++i;
        } else if (c == u':' && i + 1 < n && isNameStart(sql[i + 1])) {
            int j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            result.names.append(sql.mid(i + 1, j - i - 1));
            result.sql += u'?';
            i = j;
        } else {
            result.sql += c;
            ++i;
        }
    }
    return result;
}

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    const int n = script.size();
    int start = 0;
    int i = 0;
    auto take = [&](int end) {
        const QString statement = withoutLeadingComments(script.mid(start, end - start));
        if (!statement.isEmpty()) {
            const QString term = newTerminator(statement);
            if (!term.isEmpty())
                terminator = term;
            else
                statements.append(statement);
        }
    };
    while (i < n) {
        const int skipped = skipQuoted(script, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (QStringView(script).mid(i).startsWith(terminator)) {
            take(i);
            i += terminator.size();
            start = i;
            continue;
        }
        ++i;
    }
    take(n);
    return statements;
}
