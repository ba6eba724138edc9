// Text, number, flag, folder and file helpers.
#include "tests/support/QStringPrinter.h"
#include "util/Clock.h"
#include "util/ControlEscapes.h"
#include "util/Fields.h"
#include "util/Files.h"
#include "util/LegacyText.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

// Every test starts with a fresh separator stack.
class Utils : public ::testing::Test
{
protected:
    void SetUp() override { UtilsModuleStart(); }
    void TearDown() override { UtilsModuleStop(); }
};

struct FieldCase
{
    const char *text;
    const char *separator;
    int index;
    const char *expected;
};

TEST_F(Utils, GetFieldTakesTheIndexedFieldAtTheSeparator)
{
    const FieldCase cases[] = {
        {"123_ABC", "_", 0, "123"},
        {"123_ABC", "_", 1, "ABC"},
        {"123_FISH_CHIPS", "_", 1, "FISH"},
        {"A;B", ";", 5, ""},
        {"A;B;C", ";", 0, "A"},
        {"A;B;C", ";", 2, "C"},
        {"A;B;C", ";", 3, ""},
        {"A;;C", ";", 1, ""},
        {"A;;C", ";", 2, "C"},
        {"ABC", ";", 0, "ABC"},
        {"ABC", ";", 1, ""},
        {"A;B;C", ";", -1, "A"},
        {"", ";", 0, ""},
        {";", ";", 1, ""},
        {"C:\\Pos\\Data", "\\", 2, "Data"},
        {"a::b::c", "::", 1, "b"},
        // overlapping occurrences count as fields; the walk still takes the first one
        {"xaaay", "aa", 1, "ay"},
        {"xaaay", "aa", 2, "ay"},
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.separator + " #" + std::to_string(c.index));
        EXPECT_EQ(GetField(c.index, QString::fromUtf8(c.text), QString::fromUtf8(c.separator)),
                  QString::fromUtf8(c.expected));
    }
}

TEST_F(Utils, CountFieldsCountsEveryOccurrencePlusOne)
{
    const struct
    {
        const char *text;
        const char *separator;
        int expected;
    } cases[] = {
        {"", ";", 1},       {"ABC", ";", 1}, {"A;B;C", ";", 3}, {";;", ";", 3}, {"123_FISH_CHIPS", "_", 3},
        {"xaaay", "aa", 3}, {"ABC", "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.separator);
        EXPECT_EQ(CountFields(QString::fromUtf8(c.text), QString::fromUtf8(c.separator)), c.expected);
    }
}

TEST_F(Utils, SeparatorStackGivesTheLastPushedOrAt)
{
    EXPECT_EQ(CurrentSeparator(), "@");
    EXPECT_EQ(CountFieldsCur("A@B"), 2);
    EXPECT_EQ(GetFieldCur(1, "A@B"), "B");

    PushSeparator("\\");
    PushSeparator(";");
    EXPECT_EQ(CurrentSeparator(), ";");
    EXPECT_EQ(GetFieldCur(1, "a\\b;c"), "c");
    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "\\");
    EXPECT_EQ(CountFieldsCur("a\\b;c"), 2);
    EXPECT_EQ(GetFieldCur(1, "a\\b;c"), "b;c");

    // the one-call forms leave the stack as they found it
    EXPECT_EQ(GetField(1, "x_y", "_"), "y");
    EXPECT_EQ(CountFields("x_y", "_"), 2);
    EXPECT_EQ(CurrentSeparator(), "\\");

    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "@");
}

TEST_F(Utils, UnpairedPopAndRestartLeaveTheDefault)
{
    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "@");
    PushSeparator(";");
    UtilsModuleStop();
    UtilsModuleStart();
    EXPECT_EQ(CurrentSeparator(), "@");
}

TEST_F(Utils, PaddingFillsAndCuts)
{
    const struct
    {
        bool left;
        const char *text;
        int width;
        QChar fill;
        bool cut;
        const char *expected;
    } cases[] = {
        {false, "ABC", 5, QLatin1Char('-'), false, "ABC--"},
        {false, "ABCDEFG", 5, QLatin1Char(' '), true, "ABCDE"},
        {false, "ABCDEFG", 5, QLatin1Char(' '), false, "ABCDEFG"},
        {false, "AB", 4, QChar(0), false, "AB  "},
        {false, "", 3, QLatin1Char('x'), true, "xxx"},
        {false, "ABC", 0, QLatin1Char(' '), true, ""},
        {false, "ABC", -2, QLatin1Char(' '), true, ""},
        {true, "42", 5, QLatin1Char('0'), false, "00042"},
        {true, "123456", 5, QLatin1Char('0'), true, "12345"},
        {true, "123456", 5, QLatin1Char('0'), false, "123456"},
        {true, "9%", 10, QLatin1Char(' '), false, "        9%"},
        {true, "ABC", 3, QLatin1Char('0'), true, "ABC"},
        {true, "ABC", -1, QLatin1Char('0'), true, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.left ? "PadLeft " : "PadRight ") + c.text + " to " + std::to_string(c.width));
        const QString text = QString::fromUtf8(c.text);
        const QString result = c.left ? PadLeft(text, c.width, c.fill, c.cut) : PadRight(text, c.width, c.fill, c.cut);
        EXPECT_EQ(result, QString::fromUtf8(c.expected));
    }
    // PadLeft keeps a fill of code 0 as it is
    EXPECT_EQ(PadLeft("A", 2, QChar(0)), QString(QChar(0)) + "A");
}

// Amounts follow the default locale; each test names the one it runs in.
class Amounts : public Utils
{
protected:
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        Utils::TearDown();
    }
    static void useEnglish() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    static void useGerman() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
};

struct FormatCase
{
    int decimals;
    bool keep;
    bool parentheses;
    qint64 amount;
    const char *english;
    const char *german;
};

TEST_F(Amounts, FormatAmountRoundsHalvesUpAndUsesLocaleSeparators)
{
    constexpr qint64 maxAmount = std::numeric_limits<qint64>::max();
    constexpr qint64 minAmount = std::numeric_limits<qint64>::min();
    const FormatCase cases[] = {
        {2, true, false, 135000, "13.50", "13,50"},
        {2, true, false, 12345, "1.23", "1,23"},
        {2, true, false, 12350, "1.24", "1,24"},
        {2, true, false, 12345678900, "1,234,567.89", "1.234.567,89"},
        {2, false, false, 12345678900, "1234567.89", "1234567,89"},
        {2, true, false, -12350, "-1.23", "-1,23"},
        {2, true, false, -12351, "-1.24", "-1,24"},
        {2, true, true, -12345678900, "(1,234,567.89)", "(1.234.567,89)"},
        {2, true, true, 12350, "1.24", "1,24"},
        {2, true, false, 0, "0.00", "0,00"},
        {0, true, false, 125000, "13", "13"},
        {0, true, false, 5000, "1", "1"},
        {0, true, false, -5000, "-0", "-0"},
        {4, true, false, 135000, "13.5000", "13,5000"},
        // the added hundred-thousandth shows at five decimals
        {5, true, false, 135000, "13.50001", "13,50001"},
        {2, true, false, 9999999, "1,000.00", "1.000,00"},
        {2, true, false, 1000000000, "100,000.00", "100.000,00"},
        // a negative amount that rounds to zero keeps its sign, and so its parentheses whole
        {2, true, false, -1, "-0.00", "-0,00"},
        {2, true, true, -1, "(0.00)", "(0,00)"},
        // the ends of the 64-bit range lose no digits
        {2, true, false, maxAmount, "922,337,203,685,477.58", "922.337.203.685.477,58"},
        {2, false, false, minAmount, "-922337203685477.58", "-922337203685477,58"},
        // beyond 18 significant digits the rest is rounded away
        {4, false, false, maxAmount, "922337203685477.5810", "922337203685477,5810"},
    };
    for (const FormatCase &c : cases) {
        SCOPED_TRACE(std::to_string(c.amount) + " with " + std::to_string(c.decimals) + " decimals");
        useEnglish();
        EXPECT_EQ(FormatAmount(c.decimals, c.keep, c.parentheses, c.amount), QString::fromUtf8(c.english));
        useGerman();
        EXPECT_EQ(FormatAmount(c.decimals, c.keep, c.parentheses, c.amount), QString::fromUtf8(c.german));
    }
}

TEST_F(Amounts, ParseAmountReadsLocaleFormsAndParentheses)
{
    const struct
    {
        bool german;
        const char *text;
        double fallback;
        double expected;
    } cases[] = {
        {false, "1,234.50", 0, 1234.5},
        {false, "(12.5)", 0, -12.5},
        {false, "ABC", 7, 0},
        {false, "", 7, 7},
        {false, "13.5", 0, 13.5},
        {false, "-0.25", 0, -0.25},
        {false, ")12(", 3, 0},
        {false, "1,234,567.89", 0, 1234567.89},
        {true, "1.234,50", 0, 1234.5},
        {true, "(12,5)", 0, -12.5},
        {true, "13,5", 0, 13.5},
        // the full stop is the thousands separator here, so it disappears
        {true, "13.5", 0, 135},
        {true, "ABC", 7, 0},
        {true, "", -1, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.german ? "German " : "English ") + c.text);
        c.german ? useGerman() : useEnglish();
        EXPECT_DOUBLE_EQ(ParseAmount(QString::fromUtf8(c.text), c.fallback), c.expected);
    }
}

TEST_F(Amounts, FormattedAmountsReadBackInBothLocales)
{
    const qint64 amounts[] = {0, 135000, 90000, -12345678900, 999999999999};
    for (const bool german : {false, true}) {
        german ? useGerman() : useEnglish();
        for (const qint64 amount : amounts) {
            SCOPED_TRACE(std::to_string(amount) + (german ? " German" : " English"));
            for (const bool parentheses : {false, true})
                EXPECT_NEAR(ParseAmount(FormatAmount(2, true, parentheses, amount), -1), amount / 10000.0, 0.005);
        }
    }
}

TEST_F(Utils, IntegersAsText)
{
    constexpr qint64 maxValue = std::numeric_limits<qint64>::max();
    constexpr qint64 minValue = std::numeric_limits<qint64>::min();
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(-42), "-42");
    EXPECT_EQ(IntToText(1234567), "1234567");
    EXPECT_EQ(IntToText(minValue), "-9223372036854775808");

    const struct
    {
        const char *text;
        qint64 expected;
    } cases[] = {
        {"00042", 42},
        {"-17", -17},
        {"+5", 5},
        {"9223372036854775807", maxValue},
        {"-9223372036854775808", minValue},
        {"9223372036854775808", -1},
        {"", -1},
        {"12a", -1},
        {"1.5", -1},
        {"1,000", -1},
        {"-", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToInt64(QString::fromUtf8(c.text), -1), c.expected);
    }
}

TEST_F(Utils, FlagsAsText)
{
    EXPECT_EQ(BoolToYN(true), "Y");
    EXPECT_EQ(BoolToYN(false), "N");
    const struct
    {
        QString text;
        bool expected;
    } cases[] = {
        {"Y", true},    {"y", true},   {"N", false},  {"", false},
        {"Yes", false}, {" Y", false}, {"Y ", false}, {QString(QChar(0x0178)), false}, // Ÿ is no ASCII Y
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(YNToBool(c.text), c.expected);
    }
    EXPECT_TRUE(SameTextAscii("ServerPath", "SERVERPATH"));
    EXPECT_FALSE(SameTextAscii(QString::fromUtf8("\xc3\xa9"), QString::fromUtf8("\xc3\x89")));
    EXPECT_FALSE(SameTextAscii("ab", "abc"));
}

TEST_F(Utils, IncludeBackslashEndsWithTheSeparatorAndCreatesOnRequest)
{
    const QString sep = QDir::separator();
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString base = temp.path();

    EXPECT_EQ(IncludeBackslash(base + sep + "Pos", false), base + sep + "Pos" + sep);
    EXPECT_EQ(IncludeBackslash(base + sep + "Pos" + sep, false), base + sep + "Pos" + sep);
    EXPECT_EQ(IncludeBackslash("", false), sep);
    EXPECT_FALSE(QFileInfo::exists(base + sep + "Pos"));

    const QString nested = base + sep + "a" + sep + "b" + sep + "c";
    EXPECT_EQ(IncludeBackslash(nested, true), nested + sep);
    EXPECT_TRUE(QFileInfo(nested).isDir());

    // a folder that cannot be made is not reported
    QFile blocker(base + sep + "file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(IncludeBackslash(blocker.fileName() + sep + "sub", true), blocker.fileName() + sep + "sub" + sep);
    EXPECT_FALSE(QFileInfo::exists(blocker.fileName() + sep + "sub"));
}

TEST(ModuleFile, NamesTheRunningExecutableWithOrWithoutAnApplication)
{
    const QString withoutApplication = ModuleFileName();
    const QFileInfo info(withoutApplication);
    EXPECT_TRUE(info.isAbsolute());
    EXPECT_TRUE(info.isExecutable());
    EXPECT_EQ(info.fileName(), "util_test");

    int argc = 1;
    char name[] = "util_test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    EXPECT_EQ(ModuleFileName(), withoutApplication);
}

class FileSize : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }
    QString path(const QString &name) const { return temp.filePath(name); }
    void makeFile(const QString &name, qint64 size)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
    }
    QTemporaryDir temp;
};

TEST_F(FileSize, GivesTheSizeOfTheFirstMatchOrMinusOne)
{
    makeFile("b.fbk", 300);
    makeFile("a.fbk", 1234);
    makeFile("empty.txt", 0);
    QDir(temp.path()).mkdir("folder.fbk.d");

    EXPECT_EQ(FileSizeOf(path("a.fbk")), 1234);
    EXPECT_EQ(FileSizeOf(path("empty.txt")), 0);
    EXPECT_EQ(FileSizeOf(path("missing.fbk")), -1);
    EXPECT_EQ(FileSizeOf(path("*.fbk")), 1234);
    EXPECT_EQ(FileSizeOf(path("b.fb?")), 300);
    EXPECT_EQ(FileSizeOf(path("*.zip")), -1);
    EXPECT_EQ(FileSizeOf(path("nowhere/*.fbk")), -1);
    EXPECT_EQ(FileSizeOf(path("folder.fbk.d")), 0);
}

TEST_F(FileSize, KeepsTheLow32BitsAsASignedNumber)
{
    // sparse files: no disk space is used
    makeFile("over4g", (qint64(1) << 32) + 10);
    makeFile("over2g", qint64(3) << 30);
    EXPECT_EQ(FileSizeOf(path("over4g")), 10);
    EXPECT_EQ(FileSizeOf(path("over2g")), -(qint64(1) << 30));
}

TEST(ClockTest, FixedTimeUntilReset)
{
    const QDateTime fixed(QDate(2023, 9, 1), QTime(14, 5, 9));
    Clock::setNow(fixed);
    EXPECT_EQ(Clock::now(), fixed);
    Clock::reset();
    EXPECT_LE(qAbs(Clock::now().secsTo(QDateTime::currentDateTime())), 1);
}

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
