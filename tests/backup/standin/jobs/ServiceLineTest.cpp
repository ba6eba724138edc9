// A services manager session whose line goes dead under a request: the request ends
// within the bound on a request's silence, naming the server, and the session's own
// socket is the only one cut.
#include "backup/standin/jobs/FbService.h"
#include "database/DbConnection.h"
#include "database/LinkWatch.h"
#include "database/testing/TestDatabase.h"
#include "database/testing/relay/LoopbackRelay.h"
#include "util/Errors.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The test run's server (scripts/firebird-server.sh).
constexpr std::uint16_t kTestServerPort = 3050;
constexpr qint64 kSlackMs = 3000;

TEST(ServiceLine, ABackupOnALineGoneDeadEndsWithinTheBoundAndLeavesOtherConnectionsAlone)
{
    const TTestDatabase db;
    TDbConnection conx; // on the server directly, open before the session
    conx.setDatabase(db.serverPath());
    conx.open();

    TLoopbackRelay relay(std::chrono::milliseconds(0), kTestServerPort);
    relay.start();
    const QString relayed = QStringLiteral("127.0.0.1/%1:%2").arg(relay.port()).arg(db.path());
    const TServiceTarget target = TServiceTarget::forDatabase(relayed);
    TFbService service(target);
    relay.freeze();

    QElapsedTimer waited;
    waited.start();
    QString message;
    try {
        service.backup(QFileInfo(db.path()).absolutePath() + QStringLiteral("/dead-line.fbk"), [](const QString &) {});
        ADD_FAILURE() << "the backup ended on a dead line";
    } catch (const EPosError &e) {
        message = e.message();
    }
    EXPECT_LT(waited.elapsed(), kRequestSilenceSeconds * 1000 + kSlackMs);
    EXPECT_EQ(message, lostLinkText(relayed));

    conx.ping();
    EXPECT_TRUE(conx.isOpen());
}

} // namespace
