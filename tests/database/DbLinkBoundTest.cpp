// Waits on a server are bounded: a server that accepts and never answers, and a line that
// goes dead under a request, end in a message naming the server within the bound instead
// of a program that hangs.
#include "database/LinkWatch.h"
#include "database/testing/relay/LoopbackRelay.h"
#include "tests/database/DbTestFixture.h"
#include "tests/database/SilentServer.h"

#include <QElapsedTimer>

namespace {

constexpr qint64 kSlackMs = 3000;
// The test run's server (scripts/firebird-server.sh), which serverPath() reaches.
constexpr std::uint16_t kTestServerPort = 3050;

// The message of work's failure, and that it came within the bound.
template <class Work>
QString failsWithin(int boundSeconds, Work &&work)
{
    QElapsedTimer waited;
    waited.start();
    const QString message = errorOf(std::forward<Work>(work));
    EXPECT_LT(waited.elapsed(), boundSeconds * 1000 + kSlackMs) << message.toStdString();
    return message;
}

TEST(DbLinkBound, AServerThatNeverAnswersIsNamedWithinTheConnectBound)
{
    TSilentServer server;
    const QString host = QStringLiteral("127.0.0.1/%1").arg(server.port());
    TDbConnection conx;
    conx.setDatabase(host + QStringLiteral(":/nowhere/site.fdb"));
    const QString message = failsWithin(kConnectTimeoutSeconds, [&] { conx.open(); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("The database server \"%1\" did not answer within %2 seconds: ")
                                       .arg(host)
                                       .arg(kConnectTimeoutSeconds)))
        << message.toStdString();
    EXPECT_FALSE(conx.isOpen());
}

// The line goes dead under each kind of request; each fails within the bound, saying
// which server was lost, and the connection can be closed at once afterwards.
TEST(DbLinkBound, ARequestOnADeadLineFailsWithinTheBoundNamingTheServer)
{
    struct Case
    {
        const char *name;
        std::function<void(TDbConnection &, TDbStatement &)> request;
    };
    const Case cases[] = {
        {"query", [](TDbConnection &, TDbStatement &q) { q.open(); }},
        {"commit", [](TDbConnection &conx, TDbStatement &) { conx.commit(); }},
    };
    TTestDatabase db({QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (1, 'Bar')")});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TLoopbackRelay relay(std::chrono::milliseconds(0), kTestServerPort);
        relay.start();
        const QString host = QStringLiteral("127.0.0.1/%1").arg(relay.port());
        TDbConnection conx;
        conx.setDatabase(host + u':' + db.path());
        conx.open();
        TDbStatement q(conx);
        q.setSQL(QStringLiteral("select DESCRIPTION from TBL_DEPARTMENTS"));
        q.prepare();
        relay.freeze();
        const QString message = failsWithin(kRequestSilenceSeconds, [&] { c.request(conx, q); });
        EXPECT_EQ(message,
                  QStringLiteral("The connection to the database server \"%1\" was lost: it gave no answer "
                                 "for %2 seconds.")
                      .arg(host)
                      .arg(kRequestSilenceSeconds));
        QElapsedTimer closing;
        closing.start();
        conx.close();
        EXPECT_LT(closing.elapsed(), kSlackMs);
    }
}

} // namespace
