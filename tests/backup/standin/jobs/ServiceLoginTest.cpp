// The verified backup (the services manager's backup and restore, and the attachments
// that count and drop the check copy) logs in with the site's login, as the program's
// own connection does: through a Firebird server of the test's own whose SYSDBA
// password is not the built-in one.
#include "backup/standin/jobs/BackupJob.h"
#include "settings/uOrvoReg.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/catalogue/changeover/PrivateServer.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/TempRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace backuptest;

namespace {

const QString kServerPassword = QStringLiteral("Harbour-Light-7");

class QuietProgress : public TJobProgress
{
public:
    void step(const QString &) override {}
    void message(const QString &) override {}
    void percent(int) override {}
    bool cancelRequested() const override { return false; }
};

TEST(ServiceLogin, TheVerifiedBackupLogsInWithTheLoginOfTheSettingsOrElseOfTheEnvironment)
{
    TPrivateServer server;
    server.start();
    server.setSysdbaPassword(kServerPassword);
    const TTestDatabase db(
        {QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (1, 'Café & Crêpes €')")});
    const QString serverPath = server.pathOf(db.path());
    const std::string password = kServerPassword.toStdString();
    const struct Case
    {
        const char *what;
        QString settingsPassword;
        std::string environmentUser;
        std::string environmentPassword;
        bool backedUp;
    } cases[] = {
        {"the password in the settings, a wrong one in the environment", kServerPassword, "SYSDBA", "wrong", true},
        {"the login in the environment", {}, "SYSDBA", password, true},
        {"the built-in login", {}, "", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempRegistry registry;
        TOrvoReg reg;
        reg.SetlastUsedDB(QStringLiteral("MAIN"));
        reg.WriteString(QStringLiteral("Database\\List\\MAIN"), QStringLiteral("ServerPath"), serverPath, rmText);
        reg.WriteString(QStringLiteral("Database\\List\\MAIN"), kDatabasePasswordValue, c.settingsPassword, rmText);
        EnvGuard user("ISC_USER", c.environmentUser);
        EnvGuard password("ISC_PASSWORD", c.environmentPassword);
        LogFolderGuard logs;
        QuietProgress progress;

        QString written;
        QString failure;
        try {
            written = RunVerifiedBackup(serverPath, db.path(), registry.filePath(QStringLiteral("site")), progress);
        } catch (const EPosError &e) {
            failure = e.message();
        }
        if (c.backedUp) {
            EXPECT_EQ(failure, QString());
            EXPECT_TRUE(QFileInfo::exists(written));
            // The check copy was dropped through the same login: only the backup is left.
            EXPECT_EQ(QDir(registry.path()).entryList({QStringLiteral("*.fdb"), QStringLiteral("*.fbk")}, QDir::Files),
                      QStringList{QStringLiteral("site.fbk")});
        } else {
            EXPECT_TRUE(failure.contains(QStringLiteral("user name and password"))) << failure.toStdString();
            EXPECT_FALSE(failure.contains(QStringLiteral("quillsong"))) << failure.toStdString();
        }
    }
}

} // namespace
