// Decoding of Windows-1252 text.
#include "util/LegacyText.h"
#include "tests/support/QStringPrinter.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

// Our own table, for builds of Qt without ICU, agrees with the system's codec byte by byte.
TEST(LegacyText, Windows1252AgreesWithTheSystemCodec)
{
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "this Qt has no Windows-1252 codec";
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(fromWindows1252(QByteArrayView(&c, 1)), system.decode(QByteArrayView(&c, 1))) << byte;
    }
}

} // namespace
