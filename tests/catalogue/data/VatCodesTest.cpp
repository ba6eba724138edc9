// The check of the tables and columns, site number, the new 13.5 % code, the third
// level, the old codes, and the lookup, on real databases.
#include "catalogue/data/VatCodes.h"
#include "catalogue/data/UserText.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

using namespace site;

namespace {

struct Opened
{
    explicit Opened(const TTestDatabase &db)
    {
        conx.setDatabase(db.path());
        conx.open();
    }
    TVatResolution resolve() { return resolveVatCodes(conx, q1); }
    int count(const QString &sql)
    {
        TDbStatement s(conx);
        s.setSQL(sql);
        s.open();
        const int n = s.field(0).asInteger();
        s.close();
        return n;
    }
    TDbConnection conx;
    TDbStatement q1{conx};
};

const QString kNewCodes = QStringLiteral("select count(*) from TBL_VAT_CODES where VAT_TYPE = 3");

TEST(VatCodes, ExistingNewCodeIsUsedAndNothingInserted)
{
    TTestDatabase db({setup(12345 ^ 0x3A91E27D), vat(1, "9", 5), vat(2, "13.5", 3, "2023-09-01")});
    Opened o(db);
    const TVatResolution r = o.resolve();
    EXPECT_EQ(r.siteID, 12345);
    EXPECT_EQ(r.oldVIDs, QList<qint32>{1});
    EXPECT_EQ(r.newVID, 2);
    EXPECT_TRUE(r.v62Plus);
    EXPECT_EQ(o.count(kNewCodes), 1);
}

TEST(VatCodes, MissingNewCodeIsCreatedOnceAndCommitted)
{
    TTestDatabase db({setup(0), vat(1, "9", 5), "alter sequence GEN_VAT restart with 40"});
    {
        Opened o(db);
        const TVatResolution r = o.resolve();
        EXPECT_EQ(r.newVID, 41);
        // Rolling back what follows cannot undo the committed code.
        o.conx.rollback();
    }
    Opened again(db);
    EXPECT_EQ(again.count(kNewCodes), 1);
    EXPECT_EQ(again.resolve().newVID, 41);
    EXPECT_EQ(again.count(kNewCodes), 1);

    TDbStatement row(again.conx);
    row.setSQL("select * from TBL_VAT_CODES where VAT_ID = 41");
    row.open();
    EXPECT_EQ(row.field("DESCRIPTION").asText(), QStringLiteral("13.50 RDC"));
    EXPECT_EQ(row.field("RATE").asText(), QStringLiteral("13.5"));
    EXPECT_EQ(row.field("VALID_FROM").asText(), QStringLiteral("2023-09-01"));
    EXPECT_EQ(row.field("VALID_TO").asText(), QStringLiteral("2999-12-31"));
    EXPECT_EQ(row.field("IS_ACTIVE").asText(), QStringLiteral("Y"));
    EXPECT_EQ(row.field("VAT_TYPE").asInteger(), 3);
}

TEST(VatCodes, ExpiredNewCodeDoesNotCountAndActiveCodesComeFirst)
{
    TTestDatabase db({vat(1, "9", 5, "2000-01-01", "2999-12-31", "N"), vat(2, "9", 5),
                      vat(7, "13.5", 3, "2020-01-01", "2023-08-31", "N"), "alter sequence GEN_VAT restart with 9"});
    Opened o(db);
    const TVatResolution r = o.resolve();
    EXPECT_EQ(o.count(kNewCodes), 2);
    EXPECT_EQ(r.newVID, 10); // the new active code before the inactive expired one
    EXPECT_EQ(r.oldVIDs, QList<qint32>{2});
}

TEST(VatCodes, AnActiveCodeThatExpiredBeforeTheChangeoverIsNeverTheNewCode)
{
    // The reduced code of earlier years, left active: products must not move onto it.
    TTestDatabase db(
        {vat(2, "9", 5), vat(4, "13.5", 3, "2003-01-01", "2020-10-31", "Y"), "alter sequence GEN_VAT restart with 19"});
    Opened o(db);
    const TVatResolution r = o.resolve();
    EXPECT_EQ(o.count(kNewCodes), 2);
    EXPECT_EQ(r.newVID, 20);
}

TEST(VatCodes, WithoutAnOldCodeNothingIsMadeAndNoSetupReadsAsZero)
{
    TTestDatabase db({dept(1, "Bar", 0)});
    Opened o(db);
    const TVatResolution r = o.resolve();
    EXPECT_FALSE(r.hasOldCode());
    EXPECT_EQ(r.oldVIDs, QList<qint32>());
    EXPECT_EQ(r.siteID, 0x3A91E27D);
    // Nothing will change, so no new code is made either.
    EXPECT_EQ(o.count(kNewCodes), 0);

    TTestDatabase nullStx({setup(kNull), vat(2, "13.5", 3)});
    Opened n(nullStx);
    EXPECT_EQ(n.resolve().siteID, 0x3A91E27D);
}

TEST(VatCodes, AnOldCodeNumberedZeroIsARealCode)
{
    TTestDatabase db({vat(0, "9", 5), vat(2, "13.5", 3)});
    Opened o(db);
    const TVatResolution r = o.resolve();
    EXPECT_TRUE(r.hasOldCode());
    EXPECT_EQ(r.oldVIDs, QList<qint32>{0});
    EXPECT_EQ(r.newVID, 2);
}

TEST(VatCodes, ThirdLevelOnlyAsAPlainTable)
{
    const QStringList common = {vat(1, "9", 5), vat(2, "13.5", 3), "drop table TBL_L3DEPARTMENTS"};
    TTestDatabase asView(common
                         + QStringList{"create view TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID,"
                                       " IS_ACTIVE) as select SUB_DEPT, SUB_DEPT, DESCRIPTION, SALES_VID, PURCH_VID,"
                                       " IS_ACTIVE from TBL_SUB_DEPARTMENTS"});
    Opened v(asView);
    EXPECT_FALSE(v.resolve().v62Plus);

    TTestDatabase lowerCase(common
                            + QStringList{"create table \"tbl_l3departments\" (L3DID integer, L2DID integer,"
                                          " DESCRIPTION varchar(40), SALES_VID integer, PURCH_VID integer,"
                                          " IS_ACTIVE char(1))"});
    Opened l(lowerCase);
    EXPECT_TRUE(l.resolve().v62Plus);
}

// Every active code of type 5 is an old code; an inactive one only when no code is active.
TEST(VatCodes, OldCodesAreTheActiveCodesOfTypeFive)
{
    struct Case
    {
        const char *name;
        QStringList codes;
        QList<qint32> oldVIDs;
    };
    const Case cases[] = {
        {"two active, inactive left out",
         {vat(7, "9", 5), vat(3, "9", 5), vat(5, "9", 5, "2000-01-01", "2999-12-31", "N")},
         {3, 7}},
        {"only inactive: the first",
         {vat(8, "9", 5, "2000-01-01", "2999-12-31", "N"), vat(6, "9", 5, "2000-01-01", "2999-12-31", "N")},
         {6}},
        {"other types are none", {vat(4, "9", 1), vat(9, "9", 5)}, {9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TTestDatabase db(c.codes + QStringList{vat(2, "13.5", 3)});
        Opened o(db);
        EXPECT_EQ(o.resolve().oldVIDs, c.oldVIDs);
    }
}

// Whatever the database lacks is named before anything is written: it gets no new code.
TEST(VatCodes, LackingTablesOrColumnsAreRefusedBeforeTheNewCodeIsMade)
{
    const QString lacks = "The database lacks what the program works on, so nothing is changed in it: ";
    struct Case
    {
        QStringList changes;
        QString missing; // empty: accepted
    };
    const QString noThirdLevel = "drop table TBL_L3DEPARTMENTS";
    const Case cases[] = {
        {{"drop table TBL_PRODUCTS"}, "no table TBL_PRODUCTS."},
        {{"drop table TBL_DEPARTMENTS"}, "no table TBL_DEPARTMENTS."},
        {{"drop table TBL_SUB_DEPARTMENTS"}, "no table TBL_SUB_DEPARTMENTS."},
        {{"drop table TBL_PRODUCTS", "drop table TBL_DEPARTMENTS"}, "no tables TBL_DEPARTMENTS, TBL_PRODUCTS."},
        {{"drop table TBL_SUB_DEPARTMENTS", "alter table TBL_DEPARTMENTS drop PURCH_VAT",
          "drop index IX_PRODUCTS_L3DID", "alter table TBL_PRODUCTS drop L3DID"},
         "no table TBL_SUB_DEPARTMENTS; no columns TBL_DEPARTMENTS.PURCH_VAT, TBL_PRODUCTS.L3DID."},
        {{"alter table TBL_L3DEPARTMENTS drop SALES_VID"}, "no column TBL_L3DEPARTMENTS.SALES_VID."},
        // Without the third level its tables and column are not read.
        {{noThirdLevel, "drop table TBL_SUB_DEPARTMENTS", "drop index IX_PRODUCTS_L3DID",
          "alter table TBL_PRODUCTS drop L3DID"},
         QString()},
        {{noThirdLevel, "drop index IX_PRODUCTS_SUB_DEPT", "alter table TBL_PRODUCTS drop SUB_DEPT"},
         "no column TBL_PRODUCTS.SUB_DEPT."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.changes.join("; ").toStdString());
        TTestDatabase db(QStringList{vat(1, "9", 5), "alter sequence GEN_VAT restart with 5"} + c.changes);
        Opened o(db);
        try {
            const TVatResolution r = o.resolve();
            EXPECT_TRUE(c.missing.isEmpty()) << "accepted";
            EXPECT_EQ(r.newVID, 6);
        } catch (const EPosError &e) {
            EXPECT_EQ(e.message(), lacks + c.missing);
        }
        o.conx.rollback();
        Opened after(db);
        EXPECT_EQ(after.count("select count(*) from TBL_VAT_CODES"), c.missing.isEmpty() ? 2 : 1);
    }
}

TEST(VatCodes, AnEmptyDatabaseIsRefusedNamingTheTables)
{
    TTestDatabase db({}, TTestDatabase::Schema::Empty);
    Opened o(db);
    try {
        o.resolve();
        FAIL() << "no error";
    } catch (const EPosError &e) {
        EXPECT_TRUE(e.message().contains("TBL_SETUP")) << e.message().toStdString();
    }
}

TEST(UserText, NumbersInTheUsersFormTextAsStoredNullEmpty)
{
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), "insert into TBL_VAT_CODES (VAT_ID) values (3)"});
    Opened o(db);
    TDbStatement q(o.conx);
    q.setSQL("select RATE, DESCRIPTION from TBL_VAT_CODES where VAT_ID = :VAT_ID");
    const auto column = [&](int id, int index) {
        q.setInt(0, id);
        q.open();
        const QString text = userText(q.field(index));
        q.close();
        return text;
    };
    {
        LocaleGuard locale(englishLocale());
        EXPECT_EQ(column(2, 0), QStringLiteral("13.5"));
        EXPECT_EQ(column(1, 0), QStringLiteral("9"));
    }
    {
        LocaleGuard locale(commaLocale());
        EXPECT_EQ(column(2, 0), QStringLiteral("13,5"));
        EXPECT_EQ(column(2, 1), QStringLiteral("code 2"));
    }
    EXPECT_EQ(column(3, 0), QString()); // null
}

} // namespace
