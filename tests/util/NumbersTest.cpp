// Amounts in the default locale, and whole numbers as text.
#include "util/Numbers.h"
#include "tests/support/QStringPrinter.h"
#include "tests/util/UtilsFixture.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

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

} // namespace
