// pordane-make-site --register: registry hives for a till database the generator did
// not make, found by the program's own lookup, with the database file left as it was.
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TMakeSiteRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

TMakeSiteRun makeSite(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MAKE_SITE), arguments);
    TMakeSiteRun run;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "pordane-make-site did not finish: " << process.errorString().toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// A small site of the back office's own making.
QStringList tillRows()
{
    return {site::setup(4217 ^ 0x3A91E27D), site::vat(1, "23", 1), site::vat(3, "9", 5),
            site::dept(1, QStringLiteral("Food"), 3), site::product(1, QStringLiteral("Soup of the day"), 3, 1)};
}

// The registry editor's export of the 32-bit view's key on a 64-bit back-office PC:
// UTF-16LE with a byte-order mark, the key below WOW6432Node, Windows paths.
QByteArray backOfficeExport()
{
    const QString text =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo]\r\n"
                       "\"Kelloffice\"=dword:00000001\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo\\Database]\r\n"
                       "\"DefaultDatabase\"=\"MAIN\"\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo\\Database\\List]\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo\\Database\\List\\MAIN]\r\n"
                       "\"Colour\"=dword:000000ff\r\n"
                       "\"LocalPath\"=\"C:\\\\Orvo\\\\Data\\\\MAIN.FDB\"\r\n"
                       "\"ServerPath\"=\"BOSERVER:C:\\\\Orvo\\\\Data\\\\MAIN.FDB\"\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo\\Database\\List\\TRAINING]\r\n"
                       "\"ServerPath\"=\"BOSERVER:C:\\\\Orvo\\\\Data\\\\TRAINING.FDB\"\r\n\r\n");
    QStringEncoder utf16le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return utf16le.encode(text);
}

TEST(RegisterSite, TheProgramFindsTheRegisteredDatabaseWhichStaysAsItWas)
{
    for (const bool viaServer : {false, true}) {
        SCOPED_TRACE(viaServer ? "--server" : "the file");
        const TTestDatabase db(tillRows());
        const QByteArray before = fileBytes(db.path());
        ASSERT_FALSE(before.isEmpty());
        QTemporaryDir hives;
        ASSERT_TRUE(hives.isValid());

        QStringList arguments = {QStringLiteral("--register"), db.path(),
                                 QStringLiteral("--name"),     QStringLiteral("shop"),
                                 QStringLiteral("--out"),      hives.path()};
        if (viaServer)
            arguments << QStringLiteral("--server");
        const TMakeSiteRun run = makeSite(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("PORDANE_REGISTRY_DIR=") + hives.path())) << run.out.toStdString();
        EXPECT_TRUE(fileBytes(db.path()) == before) << "the database file changed";

        EnvGuard registry("PORDANE_REGISTRY_DIR", hives.path().toLocal8Bit().toStdString());
        TOrvoReg reg;
        EXPECT_EQ(reg.GetlastUsedDB(), QStringLiteral("SHOP"));
        EXPECT_EQ(reg.getLastUsedDBPath(true), viaServer ? db.serverPath() : db.path());
        EXPECT_EQ(reg.getLastUsedDBPath(false), db.path());
        if (!viaServer) {
            TDbConnection conx;
            conx.setDatabase(reg.getLastUsedDBPath(true));
            conx.open();
            TDbStatement query(conx);
            query.setSQL(QStringLiteral("select DESCRIPTION from TBL_PRODUCTS"));
            query.open();
            EXPECT_EQ(query.field(0).asText(), QStringLiteral("Soup of the day"));
        }
    }
}

TEST(RegisterSite, WhatIsNoTillDatabaseIsRefusedSayingWhyAndNoHiveIsWritten)
{
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    const QString text = files.filePath(QStringLiteral("notes.fdb"));
    writeFile(text, QByteArray("Till totals, Monday\n").repeated(1000));
    const TTestDatabase bare({QStringLiteral("create table TBL_PRODUCTS (SID integer)"),
                              QStringLiteral("create table TBL_DEPARTMENTS (DEPT_ID integer)")},
                             TTestDatabase::Schema::Empty);
    const TTestDatabase till(tillRows());
    const QString missing = files.filePath(QStringLiteral("missing.fdb"));

    struct Case
    {
        const char *what;
        QString file;
        QStringList more;
        QString message;
        bool firebirdExplains; // Firebird's own words follow the message
    };
    const Case cases[] = {
        {"no such file", missing, {}, QStringLiteral("There is no database file %1").arg(missing), false},
        {"a folder", files.path(), {}, QStringLiteral("%1 is a folder, not a database file").arg(files.path()), false},
        {"a text file", text, {}, QStringLiteral("%1 cannot be opened as a Firebird database: ").arg(text), true},
        {"a database without the program's tables",
         bare.path(),
         {},
         QStringLiteral("%1 is not a till database of the back office: it has no table TBL_SETUP, TBL_VAT_CODES")
             .arg(bare.path()),
         false},
        {"an option that makes a site",
         till.path(),
         {QStringLiteral("--products"), QStringLiteral("10")},
         QStringLiteral("--products makes a site; it cannot go with --register"),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray before = fileBytes(c.file);
        const QString hives = QDir(files.path()).filePath(QStringLiteral("hives"));
        const TMakeSiteRun run =
            makeSite(QStringList{QStringLiteral("--register"), c.file, QStringLiteral("--out"), hives} + c.more);
        EXPECT_EQ(run.exitCode, 1);
        const QString prefix = QStringLiteral("pordane-make-site: ") + c.message;
        if (c.firebirdExplains) {
            EXPECT_TRUE(run.err.startsWith(prefix)) << run.err.toStdString();
            EXPECT_TRUE(run.err.mid(prefix.size()).contains(c.file)) << "names the file, not the copy it opened";
        } else {
            EXPECT_EQ(run.err, prefix + QLatin1Char('\n'));
        }
        EXPECT_FALSE(QFileInfo::exists(hives)) << "no hive is written";
        EXPECT_TRUE(fileBytes(c.file) == before);
    }
}

TEST(RegisterSite, AnExportedMachineHiveKeepsItsSettingsAndItsEntryMovesOnlyWithReplace)
{
    const TTestDatabase db(tillRows());
    QTemporaryDir hives;
    ASSERT_TRUE(hives.isValid());
    const QString machineHive = hives.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg"));
    writeFile(machineHive, backOfficeExport());
    EnvGuard registry("PORDANE_REGISTRY_DIR", hives.path().toLocal8Bit().toStdString());
    EXPECT_EQ(TOrvoReg().getLastUsedDBPath(true), QStringLiteral("BOSERVER:C:\\Orvo\\Data\\MAIN.FDB"))
        << "the export is read as it came";

    const QStringList arguments = {QStringLiteral("--register"), db.path(),
                                   QStringLiteral("--name"),     QStringLiteral("MAIN"),
                                   QStringLiteral("--out"),      hives.path()};
    const QByteArray exported = fileBytes(machineHive);
    TMakeSiteRun run = makeSite(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              QStringLiteral("pordane-make-site: The hives in %1 already list MAIN for "
                             "C:\\Orvo\\Data\\MAIN.FDB; pass --replace to point MAIN at %2 instead\n")
                  .arg(hives.path(), db.path()));
    EXPECT_TRUE(fileBytes(machineHive) == exported);

    run = makeSite(arguments + QStringList{QStringLiteral("--replace")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = makeSite(arguments);
    EXPECT_EQ(run.exitCode, 0) << "the entry names this database now: " << run.err.toStdString();

    TOrvoReg reg;
    EXPECT_EQ(reg.getLastUsedDBPath(true), db.path());
    EXPECT_EQ(reg.ReadInteger(QString(), QStringLiteral("Kelloffice"), 0), 1);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Database\\List\\MAIN"), QStringLiteral("Colour"), 0), 0xff);
    EXPECT_EQ(
        reg.ReadString(QStringLiteral("Database\\List\\TRAINING"), QStringLiteral("ServerPath"), QString(), rmText),
        QStringLiteral("BOSERVER:C:\\Orvo\\Data\\TRAINING.FDB"));
}

TEST(RegisterSite, ANewEntryLeavesTheOtherEntriesAndTheUsersChoices)
{
    const TTestDatabase db(tillRows());
    QTemporaryDir hives;
    ASSERT_TRUE(hives.isValid());
    TMakeSiteRun run =
        makeSite({QStringLiteral("--name"), QStringLiteral("demo"), QStringLiteral("--products"), QStringLiteral("20"),
                  QStringLiteral("--departments"), QStringLiteral("5"), QStringLiteral("--skin"),
                  QStringLiteral("Harbour.style"), QStringLiteral("--out"), hives.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    run = makeSite({QStringLiteral("--register"), db.path(), QStringLiteral("--out"), hives.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    EnvGuard registry("PORDANE_REGISTRY_DIR", hives.path().toLocal8Bit().toStdString());
    TOrvoReg reg;
    EXPECT_EQ(reg.GetlastUsedDB(), QStringLiteral("TEST")) << "named after the file";
    EXPECT_EQ(reg.getLastUsedDBPath(true), db.path());
    EXPECT_EQ(reg.ReadString(QStringLiteral("Database\\List\\DEMO"), QStringLiteral("LocalPath"), QString(), rmText),
              QDir(hives.path()).filePath(QStringLiteral("demo.fdb")));
    EXPECT_EQ(ReadUserSetting(QStringLiteral("Skin"), QString(), QString()), QStringLiteral("Harbour.style"));
}

} // namespace
