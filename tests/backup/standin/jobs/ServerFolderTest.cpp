// The name the database server gets for a backup below the database's folder, when
// this machine reaches that folder otherwise than the server does.
#include "backup/standin/jobs/ServerFolder.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *what;
    const char *localDB;
    const char *serverDB;
    const char *localFile;
    const char *expected;
};

const Case cases[] = {
    {"Wine's Z: drive, server on Linux", "Z:\\srv\\pos\\site.fdb", "/srv/pos/site.fdb",
     "Z:/srv/pos/Backups/Daily/2026/12-Dec/42-261211090000.fbk.part",
     "/srv/pos/Backups/Daily/2026/12-Dec/42-261211090000.fbk.part"},
    {"a share of the server's drive", "\\\\TILL1\\Orvo\\Data\\ORVO.FDB", "C:\\Orvo\\Data\\ORVO.FDB",
     "//TILL1/Orvo/Data/Backups/Daily/2023/09-Sep/7-230901081530.fbk.part",
     "C:\\Orvo\\Data\\Backups\\Daily\\2023\\09-Sep\\7-230901081530.fbk.part"},
    {"a mapped drive, its letter in the other case", "O:\\Data\\ORVO.FDB", "D:\\Orvo\\Data\\ORVO.FDB",
     "o:/data/Backups/x.fbk", "D:\\Orvo\\Data\\Backups\\x.fbk"},
    {"spaces and letters beyond ASCII", "Z:\\Bäckerei Süd\\site.fdb", "/data/Bäckerei Süd/site.fdb",
     "Z:/Bäckerei Süd/Backups/Daily/x.fbk", "/data/Bäckerei Süd/Backups/Daily/x.fbk"},
    {"the same path on both sides", "/srv/pos/site.fdb", "/srv/pos/site.fdb", "/srv/pos/Backups/x.fbk",
     "/srv/pos/Backups/x.fbk"},
    {"a Linux path differs in case: not below", "/srv/pos/site.fdb", "/data/site.fdb", "/SRV/pos/Backups/x.fbk",
     "/SRV/pos/Backups/x.fbk"},
    {"a folder that merely starts alike", "/srv/pos/site.fdb", "/data/site.fdb", "/srv/pos2/x.fbk", "/srv/pos2/x.fbk"},
    {"a file named elsewhere is handed over as it is", "Z:\\srv\\pos\\site.fdb", "/srv/pos/site.fdb",
     "C:/Backups/x.fbk", "C:/Backups/x.fbk"},
    {"no local path", "", "/srv/pos/site.fdb", "Backups/x.fbk", "Backups/x.fbk"},
    {"a server path without a folder", "Z:\\srv\\pos\\site.fdb", "site", "Z:/srv/pos/Backups/x.fbk",
     "Z:/srv/pos/Backups/x.fbk"},
};

TEST(ServerFolder, NamesTheFileBelowTheServersFolderInTheServersForm)
{
    for (const Case &c : cases) {
        const TServerFolder server(QString::fromUtf8(c.localDB), QString::fromUtf8(c.serverDB));
        EXPECT_EQ(server.serverName(QString::fromUtf8(c.localFile)), QString::fromUtf8(c.expected)) << c.what;
    }
}

} // namespace
