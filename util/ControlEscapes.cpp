#include "util/ControlEscapes.h"

namespace {

bool steersDirectionOrBreaksLines(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString hex(char16_t c, int digits)
{
    return QStringLiteral("%1").arg(uint(c), digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString escapeControls(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            escaped += QStringLiteral("\\x") + hex(c, 2);
        else if (steersDirectionOrBreaksLines(c))
            escaped += QStringLiteral("\\u") + hex(c, 4);
        else
            escaped += ch;
    }
    return escaped;
}
