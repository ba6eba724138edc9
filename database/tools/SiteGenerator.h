#pragma once
// Fills a database made from the program's schema with a plausible hospitality site:
// VAT codes, departments over three levels, products.
#include <QString>
#include <cstdint>

class TDbConnection;

struct TSiteOptions
{
    int departments = 40; // over the three levels together
    int products = 3000;
    // Share of products at the 9 % code; below 0 each product mostly follows its department.
    double nineShare = -1.0;
    std::uint64_t seed = 2023;
    int siteNumber = 4217;
    QString siteName = QStringLiteral("The Quay Bistro & Bar");
};

struct TSiteSummary
{
    int departments = 0;
    int subDepartments = 0;
    int thirdLevels = 0;
    int products = 0;
    int productsAtNine = 0;
};

// VAT code ids the site uses (VAT_TYPE in brackets): 23 % standard (1), the expired
// 13.5 % code (3), 9 % (5), 0 % (4). The 13.5 % code valid from 2023-09-01 is left for
// the program to create.
namespace SiteVat {
constexpr int Standard = 1;
constexpr int OldReduced = 2;
constexpr int Nine = 3;
constexpr int Zero = 4;
} // namespace SiteVat

// Writes the site into the open connection's database in one transaction and commits it.
TSiteSummary generateSite(TDbConnection &connection, const TSiteOptions &options);
