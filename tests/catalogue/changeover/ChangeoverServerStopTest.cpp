// The database server stops while the changeover waits in the middle of its updates:
// once it runs again, nothing has changed, and the operator has been told what state
// the database is in.
#include "catalogue/changeover/ChangeoverRun.h"
#include "catalogue/core/SectionNames.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/changeover/PrivateServer.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/TempRegistry.h"
#include "util/Errors.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace changeover;

namespace {

// True once another attachment runs a product update (here: waits on the held row).
bool productUpdateRunning(TDbConnection &monitor)
{
    monitor.startTransaction();
    TDbStatement query(monitor);
    query.setSQL("select count(*) from MON$STATEMENTS where MON$STATE = 1"
                 " and MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing 'update TBL_PRODUCTS'");
    query.open();
    const bool running = query.field(0).asInt64() > 0;
    query.close();
    monitor.commit();
    return running;
}

TEST(ChangeoverServerStop, MidUpdateLeavesEverythingAsItWasAndSaysSo)
{
    TempRegistry registry;
    ClockGuard clock(QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7)));

    TTestDatabase db(siteSql());
    TPrivateServer server;
    server.start();
    const QString path = server.pathOf(db.path());

    // Another program holds Soup, the last row of the walk, so that the run stops there
    // with department 1, Stout and Nuts already rewritten in its transaction.
    TDbConnection holder;
    holder.setDatabase(path);
    holder.open();
    holder.executeImmediate("update TBL_PRODUCTS set PRICE = 2.5 where SID = 21");
    TSelectionStore store = seededStore();
    for (const char *key : {"11_Stout", "13_Nuts"})
        store.write(sectionName(1, 1), key, "Y");
    store.write(sectionName(1, 2), "21_Soup", "Y");

    std::atomic<bool> stopped{false};
    QString watchError;
    std::thread watcher([&] {
        try {
            TDbConnection monitor;
            monitor.setDatabase(path);
            monitor.open();
            QElapsedTimer waited;
            waited.start();
            while (!productUpdateRunning(monitor)) {
                if (waited.elapsed() > 10000)
                    throw EPosError("the run never reached the held row");
                QThread::msleep(20);
            }
            monitor.close();
        } catch (const std::exception &e) {
            watchError = errorText(e);
        }
        server.stop();
        stopped = true;
    });

    TDialogLog dialogs({Yes});
    TDbConnection conx;
    conx.setDatabase(path);
    conx.open();
    TDbStatement q1(conx);
    TChangeoverRun run({conx, q1, nodes({Bar}), store, kNewVID, kSiteID},
                       [](const QString &, const QString &, qint32) { return true; });
    QString told;
    try {
        run.run();
    } catch (const EPosError &e) {
        told = e.message();
    }
    watcher.join();
    ASSERT_EQ(watchError, QString());
    ASSERT_TRUE(stopped);

    // The error handler shows this: nothing changed, and the trigger is still off.
    EXPECT_TRUE(told.startsWith("No VAT code was changed, and the department trigger TAU_DEPT is still inactive."))
        << told.toStdString();
    EXPECT_FALSE(dialogs.seen.contains(kDone));

    server.start();
    EXPECT_EQ(rows(path), baselineRows());
    EXPECT_EQ(departmentLogRows(path), 0);
    EXPECT_FALSE(departmentTriggerActive(path)); // as the operator was told
    server.stop();
}

} // namespace
