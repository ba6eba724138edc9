#pragma once
// A session with a Firebird services manager: backup, restore and shutdown of a
// database, with the service's own messages read line by line.
#include "database/DbLogin.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace Firebird {
class IService;
}

// Where a database is reached: the services manager to attach and the database
// path as that manager sees it. "host:path" goes through the server on host; any
// other path (a drive-letter path included) through the engine in this process.
struct TServiceTarget
{
    QString host; // empty: the engine in this process
    QString databasePath;

    static TServiceTarget forDatabase(const QString &path);
    // The same server for another file (a backup, a scratch database).
    TServiceTarget withPath(const QString &path) const { return {host, path}; }
    QString serviceName() const;
    // The database as a client attaches it.
    QString connectionString() const;
};

// The component's login to the database server, read afresh for every attachment and
// session: the site's, as the program's own connection has it (TDbLogin::forSite over
// the values of the last used database's entry). The engine in this process checks
// only the name.
TDbLogin ServiceLogin();

// Drops a database through its server (or the engine in this process) with the
// component's login; EPosError with Firebird's message when it cannot be attached,
// as when it is not there.
void DropDatabase(const QString &connectionString);

class TFbService
{
public:
    using LineSink = std::function<void(const QString &line)>;

    // Attaches to the target's services manager; EPosError with Firebird's message when refused.
    explicit TFbService(const TServiceTarget &target);
    ~TFbService();
    TFbService(const TFbService &) = delete;
    TFbService &operator=(const TFbService &) = delete;

    // Each runs its service to the end, passing every message line to sink; a
    // failure of the service arrives as EPosError with the service's message.
    // A running service cannot be stopped from outside, so callers check for a
    // cancel request between services.
    void backup(const QString &backupFile, const LineSink &sink);
    // A check copy that is thrown away needs its data, not its indexes: restoring it
    // with the indexes left inactive takes less than two thirds of the time.
    enum class TIndexes { Build, LeaveInactive };
    void restore(const QString &backupFile, const QString &databasePath, const LineSink &sink,
                 TIndexes indexes = TIndexes::Build);
    // Full shutdown, refused while anyone else is attached; and back online.
    void shutdownExclusive();
    void bringOnline();

private:
    void run(const std::vector<unsigned char> &spb, const LineSink &sink);
    // Runs one request of the session, its wait bounded as a database call's is.
    template <class Work>
    void request(Work &&work);

    TServiceTarget fTarget;
    Firebird::IService *fService = nullptr;
    std::vector<qintptr> fSockets; // the session's own, on a server's line
};
