// Database calls made on the application's thread keep its window painting and
// refuse its closing while they wait, and still hand back their result or failure.
#include "database/ServedWait.h"
#include "database/DbConnection.h"
#include "database/testing/TestDatabase.h"
#include "tests/database/DbTestFixture.h"
#include "tests/database/SilentServer.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

class TPaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

class ServedWait : public DbTest
{
protected:
    QStringList extraStatements() const override
    {
        return {QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID) values (1, 'Bar', 5)")};
    }

    // A call that waits until this test's connection lets go of a row it holds, which a
    // timer of the application's thread does after 600 ms: the call can only end early
    // when that thread serves its events meanwhile. The call's failure, if any.
    QString waitOnHeldRow()
    {
        conx.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 3 where DEPT_ID = 1"));
        QTimer::singleShot(600, [this] { conx.rollback(); });
        TDbConnection other;
        other.setDatabase(db->path());
        other.open();
        TDbTransactionOptions options;
        options.lockTimeoutSeconds = 10;
        other.startTransaction(options);
        try {
            other.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 9 where DEPT_ID = 1"));
            other.commit();
        } catch (const EPosError &e) {
            return e.message();
        }
        return {};
    }
};

TEST_F(ServedWait, TheWindowPaintsWhileACallWaitsAndTheCallEndsAsItWould)
{
    const TSilentServer silent;
    const struct Case
    {
        const char *name;
        std::function<QString()> wait;
        const char *failure; // empty: the call succeeds
        int frames;          // at least, of a frame every 20 ms
    } cases[] = {
        {"a row held until a timer lets it go", [&] { return waitOnHeldRow(); }, "", 5},
        {"an attach to a server that never answers",
         [&] {
             TDbConnection unanswered;
             unanswered.setDatabase(QStringLiteral("127.0.0.1/%1:/nowhere/site.fdb").arg(silent.port()));
             return errorOf([&] { unanswered.open(); });
         },
         "did not answer within", 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPaintCounter window;
        window.show();
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &window, [&] { window.update(); });
        repaint.start(20);
        window.paints = 0;

        const QString failure = c.wait();

        EXPECT_EQ(failure.isEmpty(), !*c.failure) << failure.toStdString();
        EXPECT_TRUE(failure.contains(QLatin1String(c.failure))) << failure.toStdString();
        EXPECT_GE(window.paints, c.frames);
    }
}

TEST_F(ServedWait, AWindowIsNotClosedWhileACallWaits)
{
    QWidget window;
    window.show();
    QTimer::singleShot(300, &window, [&] { window.windowHandle()->close(); });
    EXPECT_EQ(waitOnHeldRow(), QString());
    EXPECT_TRUE(window.isVisible());

    window.windowHandle()->close(); // outside a call, the same request closes it
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ServedWait, ResultsComeBackAndOtherThreadsRunInPlace)
{
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), QStringLiteral("1"));

    const std::thread::id caller = std::this_thread::get_id();
    EXPECT_NE(runServingEventsFor([] { return std::this_thread::get_id(); }), caller);
    std::thread elsewhere([] {
        const std::thread::id self = std::this_thread::get_id();
        EXPECT_EQ(runServingEventsFor([] { return std::this_thread::get_id(); }), self);
    });
    elsewhere.join();
}

} // namespace
