// The set-based show data and the chunked changeover against the statement-per-row path
// they replace (oracle/), on random sites: the window must be shown the same and the
// database left the same, row for row.
//
// A regular run checks 8 seeds: WIN1252 and UTF8 columns in turn, half of them under a
// German locale (decimal comma), a quarter of them on large sites. For a longer sweep,
// PORDANE_DIFF_SEEDS=<count> checks that many seeds instead:
//   PORDANE_DIFF_SEEDS=500 build/tests/catalogue/differential/catalogue_differential_test
// A failure names its seed, character set, locale and size; --gtest_filter='*seed42_*'
// runs that seed alone (with PORDANE_DIFF_SEEDS of at least 42).
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/data/ShowData.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "tests/catalogue/SelectionKeys.h"
#include "tests/catalogue/differential/DatabaseRows.h"
#include "tests/catalogue/differential/FirstDifference.h"
#include "tests/catalogue/differential/RandomSite.h"
#include "tests/catalogue/differential/RandomTicks.h"
#include "tests/catalogue/differential/ShowText.h"
#include "tests/catalogue/differential/SiteDatabase.h"
#include "tests/catalogue/differential/oracle/RowByRowChangeover.h"
#include "tests/catalogue/differential/oracle/RowByRowShow.h"
#include "tests/support/LocaleGuard.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRegularSeeds = 8;

struct SeedCase
{
    quint32 seed;
    TSiteCharset charset;
    bool decimalComma;
    TSiteSize size;

    QString name() const
    {
        return QStringLiteral("seed%1_%2_%3%4")
            .arg(seed)
            .arg(QLatin1String(charsetName(charset)), decimalComma ? QStringLiteral("de") : QStringLiteral("en"),
                 size == TSiteSize::Large ? QStringLiteral("_large") : QString());
    }
};

void PrintTo(const SeedCase &c, std::ostream *os)
{
    *os << c.name().toStdString();
}

std::vector<SeedCase> seedCases()
{
    bool given = false;
    const int count = qEnvironmentVariableIntValue("PORDANE_DIFF_SEEDS", &given);
    std::vector<SeedCase> cases;
    for (int i = 0; i < (given ? count : kRegularSeeds); ++i)
        cases.push_back({quint32(i + 1), i % 2 ? TSiteCharset::Utf8 : TSiteCharset::Win1252, i % 4 >= 2,
                         i % 8 == 4 || i % 8 == 7 ? TSiteSize::Large : TSiteSize::Small});
    return cases;
}

TRowByRowShow rowByRowShow(TDbConnection &conx)
{
    TRowByRowShow show = loadRowByRowShow(conx);
    conx.commit();
    return show;
}

TShowData setBasedShow(TDbConnection &conx, TDbStatement &q1)
{
    TShowData data = loadShowData(conx, q1);
    conx.commit();
    return data;
}

void expectSame(const QString &what, const QStringList &rowByRow, const QStringList &setBased)
{
    const QString difference = firstDifference(what, rowByRow, setBased);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

class PathEquivalence : public ::testing::TestWithParam<SeedCase>
{
protected:
    void SetUp() override
    {
        fLocale = std::make_unique<LocaleGuard>(GetParam().decimalComma ? commaLocale() : englishLocale());
    }

    std::unique_ptr<TTestDatabase> siteDatabase() const
    {
        return makeSiteDatabase(randomSiteSql(GetParam().seed, GetParam().size), GetParam().charset);
    }

private:
    std::unique_ptr<LocaleGuard> fLocale;
};

TEST_P(PathEquivalence, ShowsTheSame)
{
    SCOPED_TRACE(GetParam().name().toStdString());
    const auto db = siteDatabase();
    TDbConnection oldConx;
    TDbConnection newConx;
    for (TDbConnection *conx : {&oldConx, &newConx}) {
        conx->setDatabase(db->path());
        conx->open();
    }
    TDbStatement q1(newConx);
    // The first reader creates a missing new code, the second finds it: each path
    // goes first on half of the seeds.
    TRowByRowShow old;
    TShowData fresh;
    if ((GetParam().seed / 2) % 2) {
        fresh = setBasedShow(newConx, q1);
        old = rowByRowShow(oldConx);
    } else {
        old = rowByRowShow(oldConx);
        fresh = setBasedShow(newConx, q1);
    }

    expectSame(QStringLiteral("VAT codes"), codesText(old.codes), codesText(fresh.codes));
    expectSame(QStringLiteral("entry lines"), linesText(old.lines), linesText(fresh.lines));

    std::vector<TPlannedNode> freshPlan;
    std::vector<QList<TProductRow>> oldProducts;
    std::vector<QList<TProductRow>> freshProducts;
    for (const TShowNode &shown : fresh.nodes) {
        freshPlan.push_back(shown.node);
        freshProducts.push_back(shown.products);
    }
    for (const TPlannedNode &node : old.nodes) {
        QList<TProductRow> products;
        const int listing = old.selection.nodeOf(node.level, node.id);
        for (int product : listing < 0 ? QList<int>() : old.selection.productsOf(listing))
            products << old.selection.product(product);
        oldProducts.push_back(products);
    }
    expectSame(QStringLiteral("tree nodes"), plannedNodesText(old.nodes), plannedNodesText(freshPlan));
    expectSame(QStringLiteral("products of the nodes"), nodeProductsText(old.nodes, oldProducts),
               nodeProductsText(freshPlan, freshProducts));

    TSelection seeded;
    seedSelection(seeded, fresh.nodes);
    expectSame(QStringLiteral("seeded selections"), selectionText(old.selection), selectionText(seeded));
}

TEST_P(PathEquivalence, ChangesTheSameRows)
{
    SCOPED_TRACE(GetParam().name().toStdString());
    const auto oldDb = siteDatabase();
    const auto newDb = siteDatabase();

    // The ticks are made once, on what the row-by-row path showed, and given to both.
    TSelection ticks;
    {
        TDbConnection conx;
        conx.setDatabase(oldDb->path());
        conx.open();
        const TRowByRowShow show = rowByRowShow(conx);
        ticks = randomTicks(show.selection, GetParam().seed, GetParam().size == TSiteSize::Large);
        // A large site's ticks run past a chunk of ids, so both sides of the boundary are compared.
        if (GetParam().size == TSiteSize::Large)
            EXPECT_GT(planChangeover(ticks).products.size(), kChangeoverChunk);
        applyRowByRowChangeover(conx, ticks, show.codes.newVID);
    }
    {
        TDbConnection conx;
        conx.setDatabase(newDb->path());
        conx.open();
        TDbStatement q1(conx);
        const TShowData data = setBasedShow(conx, q1);
        const TChangeoverOutcome outcome = applyChangeover(conx, q1, ticks, data.codes.newVID);
        EXPECT_TRUE(outcome.changed);
        EXPECT_TRUE(outcome.failure.isEmpty()) << outcome.failure.toStdString();
    }
    expectSame(QStringLiteral("database rows"), databaseRows(oldDb->path()), databaseRows(newDb->path()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, PathEquivalence, ::testing::ValuesIn(seedCases()),
                         [](const ::testing::TestParamInfo<SeedCase> &info) {
                             return info.param.name().toStdString();
                         });

} // namespace
