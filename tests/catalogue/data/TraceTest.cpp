// What the build writes to the main log: the gathered entry lines always (with the
// third level), the rate lookup's statement only at debug level 32.
#include "catalogue/data/ShowData.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace site;

namespace {

// A fresh registry and log folder with the main log running.
class TraceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(fRegistry.isValid()); }

    QString collectAndReadLog(const TTestDatabase &db, int debugLevel)
    {
        TOrvoReg().WriteInteger("Debug", "DebugLevel", debugLevel);
        TDbConnection conx;
        conx.setDatabase(db.path());
        conx.open();
        TDbStatement q1(conx);
        loadShowData(conx, q1);
        return TMainLogSandbox::text();
    }

    TempRegistry fRegistry;
    TMainLogSandbox fLog;
};

const QString kLookup = QStringLiteral("select VAT_ID, RATE from TBL_VAT_CODES");

TEST_F(TraceTest, EntryLinesAlwaysLookupsAtLevel32)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), sub(10, 1, "Beer", 1)});

    const QString quiet = collectAndReadLog(db, 0);
    EXPECT_TRUE(quiet.contains("1Bar                      9.00%0000000001")) << quiet.toStdString();
    EXPECT_TRUE(quiet.contains("2Beer                     9.00%0000100010")) << quiet.toStdString();
    EXPECT_FALSE(quiet.contains(kLookup));
    // One entry of many lines: each line after the first indented under the time stamp.
    EXPECT_TRUE(quiet.contains(QRegularExpression("0000000001\r\n +2Beer"))) << quiet.toStdString();

    EXPECT_TRUE(collectAndReadLog(db, 32 | 1).contains(kLookup));
}

TEST_F(TraceTest, NothingWithoutTheThirdLevel)
{
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), "drop table TBL_L3DEPARTMENTS"});
    EXPECT_FALSE(collectAndReadLog(db, 0).contains("Bar"));
}

} // namespace
