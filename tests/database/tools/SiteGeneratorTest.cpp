// The generated demo and bench sites: a consistent three-level tree, the codes the
// program looks for, and registry hives that name the database.
#include "database/tools/SiteGenerator.h"
#include "database/tools/SiteHive.h"
#include "settings/store/FileRegistryStore.h"
#include "tests/database/DbTestFixture.h"
#include "tests/support/EnvGuard.h"

#include <QTemporaryDir>

namespace {

class SiteGenerator : public DbTest
{
protected:
    int count(const QString &sql) { return scalar(sql).toInt(); }
};

TEST_F(SiteGenerator, BuildsAConsistentTreeWithTheCodesTheProgramLooksFor)
{
    TSiteOptions options;
    options.departments = 30;
    options.products = 600;
    const TSiteSummary summary = generateSite(conx, options);

    EXPECT_EQ(summary.departments + summary.subDepartments + summary.thirdLevels, 30);
    EXPECT_GT(summary.thirdLevels, 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), summary.departments);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_L3DEPARTMENTS")), summary.thirdLevels);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_PRODUCTS")), 600);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_PRODUCTS where VAT_ID = %1").arg(SiteVat::Nine)),
              summary.productsAtNine);
    EXPECT_GT(summary.productsAtNine, 0);
    EXPECT_LT(summary.productsAtNine, 600);

    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_DEPARTMENTS where REPORT_GROUP = 1")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_DEPARTMENTS where REPORT_GROUP is null")), 0);
    EXPECT_EQ(count(QStringLiteral("select max(DEPT_ID) from TBL_DEPARTMENTS")), summary.departments);

    // A product filed under a lower level carries that level's parents too.
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_PRODUCTS p"
                                   " join TBL_L3DEPARTMENTS l on l.L3DID = p.L3DID"
                                   " join TBL_SUB_DEPARTMENTS s on s.SUB_DEPT = l.L2DID"
                                   " where p.SUB_DEPT <> s.SUB_DEPT or p.DEPT_ID <> s.DEPT_ID")),
              0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_PRODUCTS p join TBL_SUB_DEPARTMENTS s"
                                   " on s.SUB_DEPT = p.SUB_DEPT where p.DEPT_ID <> s.DEPT_ID")),
              0);
    EXPECT_GT(count(QStringLiteral("select count(*) from TBL_PRODUCTS where L3DID > 0")), 0);
    EXPECT_GT(count(QStringLiteral("select count(*) from TBL_PRODUCTS where SUB_DEPT = 0")), 0);

    // Names as the back office has them: "&", accents, some longer than the tree shows.
    EXPECT_GT(count(QStringLiteral("select count(*) from TBL_PRODUCTS where DESCRIPTION containing '&'")), 0);
    EXPECT_GT(count(QStringLiteral("select count(*) from TBL_PRODUCTS where char_length(DESCRIPTION) <>"
                                   " octet_length(cast(DESCRIPTION as varchar(80) character set utf8))")),
              0);
    EXPECT_GT(count(QStringLiteral("select count(*) from TBL_PRODUCTS where char_length(DESCRIPTION) > 30")), 0);

    // One 9 % code, and no 13.5 % code valid at the changeover yet: the program makes it.
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_VAT_CODES where VAT_TYPE = 5")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_VAT_CODES where VAT_TYPE = 3"
                                   " and '2023-09-01' between VALID_FROM and VALID_TO")),
              0);
    EXPECT_EQ(conx.nextGeneratorValue(QStringLiteral("GEN_VAT")), SiteVat::Zero + 1);
    EXPECT_EQ(count(QStringLiteral("select bin_xor(STX, %1) from TBL_SETUP").arg(0x3A91E27D)), options.siteNumber);
}

TEST_F(SiteGenerator, NineShareSetsTheShareOfProductsAtNine)
{
    TSiteOptions options;
    options.departments = 60;
    options.products = 3000;
    options.nineShare = 1.0 / 3.0;
    const TSiteSummary summary = generateSite(conx, options);
    EXPECT_GT(summary.productsAtNine, 850);
    EXPECT_LT(summary.productsAtNine, 1150);
}

TEST_F(SiteGenerator, RefusedSizeWritesNothing)
{
    TSiteOptions options;
    options.departments = 100000; // ids must stay below 100000
    EXPECT_FALSE(errorOf([&] { generateSite(conx, options); }).isEmpty());
    EXPECT_EQ(count(QStringLiteral("select count(*) from TBL_VAT_CODES")), 0);
}

TEST(SiteHive, BothHivesNameTheDatabase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeSiteHive(dir.path(), QStringLiteral("DEMO"), QStringLiteral("/data/demo.fdb"),
                  QStringLiteral("127.0.0.1:/data/demo.fdb"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("PORDANE_REGISTRY_DIR"));

    EnvGuard registry("PORDANE_REGISTRY_DIR", dir.path().toLocal8Bit().toStdString());
    FileRegistryStore store;
    auto text = [](RegistryKey &key, const wchar_t *name) {
        RegValue value;
        EXPECT_EQ(key.readValue(name, value), RegResult::Success);
        EXPECT_EQ(value.type, RegType::Sz);
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(value.data.data()),
                                  static_cast<qsizetype>(value.data.size() / 2 - 1));
    };
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(store.openKey(root, L"SOFTWARE\\Tollvane\\Orvo\\Database", RegAccess::Read, key), RegResult::Success);
        EXPECT_EQ(text(*key, L"DefaultDatabase"), QStringLiteral("DEMO"));
        ASSERT_EQ(store.openKey(root, L"SOFTWARE\\Tollvane\\Orvo\\Database\\List\\demo", RegAccess::Read, key),
                  RegResult::Success);
        EXPECT_EQ(text(*key, L"LocalPath"), QStringLiteral("/data/demo.fdb"));
        EXPECT_EQ(text(*key, L"ServerPath"), QStringLiteral("127.0.0.1:/data/demo.fdb"));
    }
}

} // namespace
