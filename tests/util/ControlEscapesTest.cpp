// Control characters and direction marks written visibly.
#include "util/ControlEscapes.h"
#include "tests/support/QStringPrinter.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

// Names from the database reach the line-based main log: nothing in them may end a
// line there or turn the text around, and what was escaped must read back unchanged.
TEST(ControlEscapes, LineBreaksControlsAndDirectionMarksBecomeVisibleAndTheBackslashDoubles)
{
    struct Case
    {
        QString text;
        QString escaped;
    };
    const Case cases[] = {
        {QStringLiteral("Crème brûlée €"), QStringLiteral("Crème brûlée €")},
        {QString(), QString()},
        {QStringLiteral("Soup\r\n26-01-01 00:00:00 forged"), QStringLiteral("Soup\\r\\n26-01-01 00:00:00 forged")},
        {QStringLiteral("a\rb\nc\td"), QStringLiteral("a\\rb\\nc\\td")},
        // The backslash itself doubles, so that a literal "\n" is not read back as a break.
        {QStringLiteral("C:\\n\\x41"), QStringLiteral("C:\\\\n\\\\x41")},
        {QString(QChar(0)) + QChar(0x1B) + QChar(0x7F) + QChar(0x85) + QChar(0x9F),
         QStringLiteral("\\x00\\x1B\\x7F\\x85\\x9F")},
        {QStringLiteral("abc") + QChar(0x202E) + QStringLiteral("fed") + QChar(0x2069),
         QStringLiteral("abc\\u202Efed\\u2069")},
        {QString(QChar(0x2028)) + QChar(0x2029) + QChar(0x200F) + QChar(0x061C),
         QStringLiteral("\\u2028\\u2029\\u200F\\u061C")},
        // Printable neighbours of the escaped ranges stay.
        {QString(QChar(0x20)) + QChar(0x7E) + QChar(0xA0) + QChar(0x2030) + QChar(0x2065),
         QString(QChar(0x20)) + QChar(0x7E) + QChar(0xA0) + QChar(0x2030) + QChar(0x2065)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.escaped.toStdString());
        EXPECT_EQ(escapeControls(c.text), c.escaped);
    }
}

} // namespace
