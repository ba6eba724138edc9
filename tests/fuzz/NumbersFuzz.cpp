// Amounts and whole numbers as text, in the locales a till may run in. The input's first
// bytes choose the locale, the decimals, the form and the amount; what follows is text
// read as an amount. A written amount must be the exact decimal value rounded as
// documented, and must read back as that value; a whole number must read back as itself.
// Anything else aborts.
#include "util/Numbers.h"

#include <QLocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Wide = unsigned __int128;

std::string digitsOf(Wide n)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(n % 10)));
        n /= 10;
    } while (n != 0);
    return digits;
}

Wide power10(int exponent)
{
    Wide p = 1;
    while (exponent-- > 0)
        p *= 10;
    return p;
}

// n / p rounded half-up.
Wide roundedDivision(Wide n, Wide p)
{
    return n / p + (n % p * 2 >= p ? 1 : 0);
}

// (amount + 0.1) / 10000 to `decimals` places, rounded half-up in magnitude and then to
// 18 significant digits, worked in whole numbers: the digits, the decimal point implied.
std::string exactDigits(qint64 amount, int decimals)
{
    const __int128 tenths = __int128(amount) * 10 + 1; // hundred-thousandths
    Wide magnitude = tenths < 0 ? Wide(-tenths) : Wide(tenths);
    magnitude = decimals >= 5 ? magnitude * power10(decimals - 5) : roundedDivision(magnitude, power10(5 - decimals));
    const int significant = int(digitsOf(magnitude).size());
    if (significant > 18)
        magnitude = roundedDivision(magnitude, power10(significant - 18)) * power10(significant - 18);
    std::string digits = digitsOf(magnitude);
    if (int(digits.size()) <= decimals)
        digits.insert(0, std::size_t(decimals + 1) - digits.size(), '0');
    return digits;
}

QString grouped(const std::string &integer, const QString &separator)
{
    QString text;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            text += separator;
        text += QLatin1Char(integer[i]);
    }
    return text;
}

void checkAmount(qint64 amount, int decimals, bool thousands, bool parentheses)
{
    const int places = qBound(0, decimals, 18);
    const std::string digits = exactDigits(amount, places);
    const std::string integer = digits.substr(0, digits.size() - std::size_t(places));
    const std::string fraction = digits.substr(integer.size());

    const QLocale locale;
    QString expected = thousands ? grouped(integer, locale.groupSeparator()) : QString::fromStdString(integer);
    if (places > 0)
        expected += locale.decimalPoint() + QString::fromStdString(fraction);
    if (amount < 0)
        expected = parentheses ? QLatin1Char('(') + expected + QLatin1Char(')') : QLatin1Char('-') + expected;
    const QString written = FormatAmount(decimals, thousands, parentheses, amount);
    if (written != expected)
        std::abort();

    const std::string plain = (amount < 0 ? "-" : "") + integer + (places > 0 ? "." + fraction : "");
    if (ParseAmount(written, -1) != std::strtod(plain.c_str(), nullptr))
        std::abort();
}

const QLocale kLocales[] = {
    QLocale::c(),
    QLocale(QLocale::English, QLocale::Ireland),
    QLocale(QLocale::German, QLocale::Germany),
    QLocale(QLocale::French, QLocale::France),      // a no-break space between thousands
    QLocale(QLocale::German, QLocale::Switzerland), // an apostrophe between thousands
    QLocale(QLocale::Hindi, QLocale::India),        // groups of two above the thousands
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t head = 3 + sizeof(qint64);
    if (size < head)
        return 0;
    QLocale::setDefault(kLocales[data[0] % std::size(kLocales)]);
    const int decimals = data[1] % 22 - 2; // out of range now and then
    qint64 amount;
    std::memcpy(&amount, data + 3, sizeof amount);
    checkAmount(amount, decimals, data[2] & 1, data[2] & 2);

    if (TextToInt64(IntToText(amount), 0) != amount)
        std::abort();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + head), qsizetype(size - head));
    ParseAmount(text, 0);
    const qint64 whole = TextToInt64(text, 0);
    if (whole != 0 && TextToInt64(IntToText(whole), 0) != whole)
        std::abort();
    return 0;
}
