// The database server stops while the changeover waits in the middle of its updates:
// once it runs again, nothing has changed, and the operator has been told what state
// the database is in.
#include "catalogue/runs/ChangeoverRun.h"
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
    TSelection selection = seededSelection({Bar});
    for (qint32 sid : {11, 13, 21})
        setProductTick(selection, sid);

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
    TChangeoverRun run({conx, q1, selection, kNewVID, kSiteID},
                       [](const QString &, const QString &, qint32) { return QString("/nowhere/backup.fbk"); });
    EXPECT_EQ(run.run(), TChangeoverEnd::Failed);
    watcher.join();
    ASSERT_EQ(watchError, QString());
    ASSERT_TRUE(stopped);

    // Nothing changed, the trigger is still off, and the program ends: its connection is gone.
    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[1].startsWith(
        "Error: No VAT code was changed, and the department trigger TAU_DEPT is still inactive."))
        << dialogs.seen[1].toStdString();
    EXPECT_TRUE(dialogs.seen[1].contains("start it again")) << dialogs.seen[1].toStdString();

    server.start();
    EXPECT_EQ(rows(path), baselineRows());
    EXPECT_EQ(departmentLogRows(path), 0);
    EXPECT_FALSE(departmentTriggerActive(path)); // as the operator was told
    server.stop();
}

// The server went away while the operator was ticking: no backup is made for an update
// that could not run, and the operator is told to start the program again.
TEST(ChangeoverServerStop, LostConnectionBeforeTheBackupMakesNone)
{
    TempRegistry registry;
    ClockGuard clock(QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7)));
    TTestDatabase db(siteSql());
    TPrivateServer server;
    server.start();
    TDbConnection conx;
    conx.setDatabase(server.pathOf(db.path()));
    conx.open();
    TDbStatement q1(conx);
    server.stop();

    TDialogLog dialogs({Yes});
    int backups = 0;
    const TSelection selection = seededSelection({Bar}); // the run holds it by reference
    TChangeoverRun run({conx, q1, selection, kNewVID, kSiteID}, [&](const QString &, const QString &, qint32) {
        ++backups;
        return QString("/nowhere/backup.fbk");
    });
    EXPECT_EQ(run.run(), TChangeoverEnd::Failed);

    EXPECT_EQ(backups, 0);
    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_EQ(dialogs.seen[0],
              confirmWith("Ticked: 1 department, 0 sub-departments, 0 third-level departments, 0 products."));
    EXPECT_TRUE(dialogs.seen[1].startsWith("Error: The connection to the database was lost: nothing was backed up "
                                           "and no VAT code was changed."))
        << dialogs.seen[1].toStdString();
    EXPECT_TRUE(dialogs.seen[1].contains("start it again")) << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()), baselineRows());
}

} // namespace
