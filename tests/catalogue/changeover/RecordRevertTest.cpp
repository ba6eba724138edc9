// A changeover's record and its revert on a real database, for descriptions that hold
// line breaks, a quote and a comma: the record gives back each text exactly, and the
// revert puts back every row that still holds it and leaves one changed since.
#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/changeover/RevertWalk.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/support/SiteSql.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace changeover;

namespace {

const QString kBar = QStringLiteral("Bar\r\nand grill");
const QString kBeer = QStringLiteral("Beer\rcraft");
const QString kStout = QStringLiteral("Stout, \"extra\"\r\n");
const QString kNuts = QStringLiteral("Nuts\r\n, \"salted\"");
// Nuts as a record that wrote line breaks as spaces would have held it.
const QString kNutsFolded = QStringLiteral("Nuts  , \"salted\"");

QString setDescription(const char *table, const char *idColumn, int id, const QString &description)
{
    return QStringLiteral("update %1 set DESCRIPTION = %2 where %3 = %4")
        .arg(QLatin1String(table), site::q(description), QLatin1String(idColumn))
        .arg(id);
}

TEST(RecordRevert, TextsWithLineBreaksReadBackExactlyAndTheirRowsArePutBack)
{
    TTestDatabase db(siteSql());
    db.run({setDescription("TBL_DEPARTMENTS", "DEPT_ID", 1, kBar),
            setDescription("TBL_SUB_DEPARTMENTS", "SUB_DEPT", 10, kBeer),
            setDescription("TBL_PRODUCTS", "SID", 11, kStout), setDescription("TBL_PRODUCTS", "SID", 13, kNuts)});
    TSelection selection = seededSelection({Bar, Beer});
    setProductTick(selection, 11);
    setProductTick(selection, 13);

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, selection, kNewVID);
    ASSERT_TRUE(outcome.changed) << outcome.failure.toStdString();
    const QStringList changed = {"D1 2/2", "S10 2/2", "P11 2", "P13 2"};
    ASSERT_EQ(rows(db.path()), baselineWith(changed));

    TChangeRecord record;
    record.database = db.path();
    record.siteID = kSiteID;
    record.time = QDateTime(QDate(2023, 9, 1), QTime(8, 30, 5));
    record.program = QStringLiteral("Pordane 2023 test");
    record.madeBy = QStringLiteral("Changeover");
    record.rows = outcome.rows;
    record.rates = outcome.rates;
    QTemporaryDir dir;
    const QString path = dir.filePath("record.changes.csv");
    writeChangeRecord(path, record);
    const TChangeRecord read = readChangeRecord(path);
    ASSERT_EQ(read.rows, outcome.rows);
    QStringList descriptions;
    for (const TChangedRow &row : read.rows)
        descriptions << row.description;
    descriptions.sort();
    EXPECT_EQ(descriptions, (QStringList{kBar, kBeer, kNuts, kStout}));

    // Nuts changed since to the very text the record would have held had it written its
    // line breaks as spaces.
    db.run({setDescription("TBL_PRODUCTS", "SID", 13, kNutsFolded)});
    conx.startTransaction();
    const TRevertWalk walk = runRevert(conx, read.rows);
    conx.commit();
    conx.close();

    EXPECT_EQ(rows(db.path()), baselineWith({"P13 2"}));
    ASSERT_EQ(walk.left.size(), 1);
    EXPECT_EQ(walk.left[0].id, 13);
    QStringList putBack;
    for (const TChangedRow &row : walk.putBack)
        putBack << row.description;
    putBack.sort();
    EXPECT_EQ(putBack, (QStringList{kBar, kBeer, kStout}));
}

} // namespace
