#include "backup/core/SweepReport.h"

#include "util/Numbers.h"

#include <cmath>

namespace {

// A number written with 2 decimals in the locale's form, rounded to the nearest
// ten-thousandth first (ties to even, the default floating-point rounding).
QString twoDecimals(double value)
{
    return FormatAmount(2, true, false, static_cast<qint64>(std::nearbyint(value * 10000.0)));
}

double mebibytes(qint64 bytes)
{
    return static_cast<double>(bytes) / 1048576.0;
}

} // namespace

QString SweepReportText(qint64 oldSize, qint64 newSize)
{
    // Without a usable old size there is nothing to compare against.
    const double rate = oldSize > 0 ? 100.0 - static_cast<double>(newSize) / static_cast<double>(oldSize) * 100.0 : 0.0;
    return QStringLiteral("Database compression successful.\r\n\r\nOld size: ") + twoDecimals(mebibytes(oldSize))
        + QStringLiteral("MB\r\n") + QStringLiteral("New size: ") + twoDecimals(mebibytes(newSize))
        + QStringLiteral("MB\r\n") + QStringLiteral("Compression Rate: ") + twoDecimals(rate) + QStringLiteral("%");
}
