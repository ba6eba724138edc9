// The update in chunks of many ids: exactly the planned rows change whatever the chunk
// boundaries and however long the ids are written, and a failure in a late chunk undoes
// the chunks before it.
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/support/SiteSql.h"

#include <gtest/gtest.h>

using namespace changeover;
using site::vat;

namespace {

constexpr qint32 kOldVID = 1;
constexpr int kRows = 2 * kChangeoverChunk + 100; // ids from 1000 in every table, three chunks
constexpr qint32 kFirstId = 1000;
constexpr qint32 kSoldAtNew = 1001; // a department of each table already selling at the new code

// kRows departments, sub-departments, third-level departments and products at the old
// code, all buying at the old code.
void fillSite(const TTestDatabase &db)
{
    db.run({vat(1, "9", 5), vat(2, "13.5", 3)});
    db.runScript(
        QStringLiteral(
            "set term ^ ;\n"
            "execute block as declare i int = %1; begin\n"
            "  while (i < %2) do begin\n"
            "    insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE, REPORT_GROUP)"
            "      values (:i, 'D' || :i, 1, 1, 'Y', 2);\n"
            "    insert into TBL_SUB_DEPARTMENTS (SUB_DEPT, DEPT_ID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
            "      values (:i, :i, 'S' || :i, 1, 1, 'Y');\n"
            "    insert into TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
            "      values (:i, :i, 'T' || :i, 1, 1, 'Y');\n"
            "    insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID) values (:i, 'P' || :i, 1, :i);\n"
            "    i = i + 1;\n"
            "  end\n"
            "end^\n"
            "set term ; ^\n")
            .arg(kFirstId)
            .arg(kFirstId + kRows));
    db.run({QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 2 where DEPT_ID = %1").arg(kSoldAtNew),
            QStringLiteral("update TBL_SUB_DEPARTMENTS set SALES_VID = 2 where SUB_DEPT = %1").arg(kSoldAtNew),
            QStringLiteral("update TBL_L3DEPARTMENTS set SALES_VID = 2 where L3DID = %1").arg(kSoldAtNew)});
}

// Ids of the rows whose columns hold the new code, as "id sales/purchase".
QStringList rowsAtNewCode(const QString &path, const QString &sql)
{
    TDbConnection conx;
    conx.setDatabase(path);
    conx.open();
    TDbStatement q(conx);
    q.setSQL(sql);
    QStringList rows;
    for (q.open(); !q.eof(); q.next())
        rows << q.field(0).asText() + QLatin1Char(' ') + q.field(1).asText();
    q.close();
    conx.commit();
    return rows;
}

struct Changed
{
    QStringList departments, subDepartments, thirdLevels, products;
};

Changed changedRows(const QString &path)
{
    const auto departmentRows = [&path](const char *table, const char *id, const char *sales, const char *purchase) {
        return rowsAtNewCode(
            path,
            QStringLiteral("select %2, %3 || '/' || %4 from %1 where %3 = 2 or %4 = 2 order by %2")
                .arg(QLatin1String(table), QLatin1String(id), QLatin1String(sales), QLatin1String(purchase)));
    };
    return {departmentRows("TBL_DEPARTMENTS", "DEPT_ID", "VAT_ID", "PURCH_VAT"),
            departmentRows("TBL_SUB_DEPARTMENTS", "SUB_DEPT", "SALES_VID", "PURCH_VID"),
            departmentRows("TBL_L3DEPARTMENTS", "L3DID", "SALES_VID", "PURCH_VID"),
            rowsAtNewCode(path, "select SID, VAT_ID from TBL_PRODUCTS where VAT_ID = 2 order by SID")};
}

// What a department table looks like after moving the first count ids: each moved row
// sells and buys at the new code, the one already selling at it keeps its purchase code.
QStringList movedDepartments(int count)
{
    QStringList rows;
    for (qint32 id = kFirstId; id < kFirstId + qMax(count, 2); ++id) {
        if (id == kSoldAtNew)
            rows << QStringLiteral("%1 2/1").arg(id);
        else if (id < kFirstId + count)
            rows << QStringLiteral("%1 2/2").arg(id);
    }
    return rows;
}

QStringList movedProducts(int count)
{
    QStringList rows;
    for (qint32 id = kFirstId; id < kFirstId + count; ++id)
        rows << QStringLiteral("%1 2").arg(id);
    return rows;
}

QList<qint32> firstIds(int count)
{
    QList<qint32> ids;
    for (qint32 id = kFirstId; id < kFirstId + count; ++id)
        ids << id;
    return ids;
}

TChangeoverOutcome apply(const QString &path, const TChangeoverPlan &plan)
{
    TDbConnection conx;
    conx.setDatabase(path);
    conx.open();
    TDbStatement q1(conx);
    return applyChangeover(conx, q1, plan, 2);
}

TEST(ChangeoverChunks, ExactlyThePlannedRowsAcrossChunkBoundaries)
{
    // Each count moves the first count ids of every table of a fresh site.
    for (int count : {1, kChangeoverChunk - 1, kChangeoverChunk, kChangeoverChunk + 1, 2 * kChangeoverChunk + 1}) {
        SCOPED_TRACE(count);
        const TTestDatabase fresh;
        fillSite(fresh);
        TChangeoverPlan plan;
        for (auto &ids : plan.departments)
            ids = firstIds(count);
        plan.products = firstIds(count);

        const TChangeoverOutcome outcome = apply(fresh.path(), plan);
        ASSERT_TRUE(outcome.changed) << outcome.failure.toStdString();
        const Changed changed = changedRows(fresh.path());
        EXPECT_EQ(changed.departments, movedDepartments(count));
        EXPECT_EQ(changed.subDepartments, movedDepartments(count));
        EXPECT_EQ(changed.thirdLevels, movedDepartments(count));
        EXPECT_EQ(changed.products, movedProducts(count));
    }
}

TEST(ChangeoverChunks, TheLongestIdsStillFitTheirChunk)
{
    // Ten digits and a comma each: a full chunk of them is longer than a parameter's text
    // may be over a UTF-8 connection.
    const TTestDatabase db;
    fillSite(db);
    constexpr qint32 kHighest = 2147483647;
    db.runScript(
        QStringLiteral("set term ^ ;\n"
                       "execute block as declare i int = %1; begin\n"
                       "  while (i <= %2) do begin\n"
                       "    insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID) values (:i, 'L', 1, %3);\n"
                       "    if (i = %2) then leave; i = i + 1;\n"
                       "  end\n"
                       "end^\n"
                       "set term ; ^\n")
            .arg(kHighest - kChangeoverChunk)
            .arg(kHighest)
            .arg(kFirstId));
    TChangeoverPlan plan;
    QStringList expected;
    for (qint32 id = kHighest - kChangeoverChunk;; ++id) {
        plan.products << id;
        expected << QStringLiteral("%1 2").arg(id);
        if (id == kHighest)
            break;
    }

    const TChangeoverOutcome outcome = apply(db.path(), plan);
    ASSERT_TRUE(outcome.changed) << outcome.failure.toStdString();
    EXPECT_EQ(changedRows(db.path()).products, expected);
}

TEST(ChangeoverChunks, FailureInALateChunkUndoesTheEarlierOnes)
{
    const TTestDatabase db;
    fillSite(db);
    // A row that refuses its change, in the third chunk of products.
    const qint32 refusing = kFirstId + 2 * kChangeoverChunk + 7;
    db.runScript(QStringLiteral("create exception E_REFUSED 'product refuses the change';\n"
                                "set term ^ ;\n"
                                "create trigger TBU_PRODUCT_REFUSES for TBL_PRODUCTS before update as\n"
                                "begin if (new.SID = %1) then exception E_REFUSED; end^\n"
                                "set term ; ^\n")
                     .arg(refusing));
    TChangeoverPlan plan;
    for (auto &ids : plan.departments)
        ids = firstIds(kRows);
    plan.products = firstIds(kRows);

    const TChangeoverOutcome outcome = apply(db.path(), plan);
    EXPECT_FALSE(outcome.changed);
    EXPECT_TRUE(outcome.failure.contains("product refuses the change")) << outcome.failure.toStdString();
    const Changed changed = changedRows(db.path());
    EXPECT_EQ(changed.departments, movedDepartments(0));
    EXPECT_EQ(changed.subDepartments, movedDepartments(0));
    EXPECT_EQ(changed.thirdLevels, movedDepartments(0));
    EXPECT_EQ(changed.products, QStringList());
    EXPECT_TRUE(departmentTriggerActive(db.path()));
    EXPECT_EQ(departmentLogRows(db.path()), 1); // the fixture's own update of department kSoldAtNew
}

} // namespace
