#pragma once
// Names of a plausible hospitality site: departments at three levels and products,
// drawn from fixed pools by a seeded generator, so one seed always gives one site.
#include <QString>
#include <QStringList>
#include <cstdint>

// What a first-level department sells, which fixes its usual VAT code.
enum class TSiteKind { Food, Drink, Voucher };

struct TSiteDepartmentName
{
    QString name;
    TSiteKind kind;
};

// A small deterministic generator (the same seed gives the same site on every platform).
class TSiteRandom
{
public:
    explicit TSiteRandom(std::uint64_t seed) : fState(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    // A number from 0 to bound - 1.
    int below(int bound);
    // True with the given chance (0 to 1).
    bool chance(double p) { return below(1000000) < static_cast<int>(p * 1000000); }

private:
    std::uint64_t fState;
};

namespace SiteNames {

// The first-level department at a position; past the pool, names take a number.
TSiteDepartmentName department(int index);
// Names for the levels below: the n-th child of a parent; siblings differ.
QString subDepartment(TSiteKind kind, int parent, int child);
QString thirdLevel(int parent, int child);
// How many draws of product() a kind offers (repeats among them included): a rough
// measure of when a department of that kind is full.
int productNamesOfKind(TSiteKind kind);

// A product name that fits its department's kind.
QString product(TSiteKind kind, TSiteRandom &random);

} // namespace SiteNames
