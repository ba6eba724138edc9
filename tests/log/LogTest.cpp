// Weekly main log, debug files and tracing by debug level, written to real files.
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"
#include "util/Clock.h"
#include "util/Errors.h"
#include "util/Fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QDateTime changeover(QDate(2023, 9, 1), QTime(14, 5, 9));

// A program file in a temporary folder, a fresh registry and a fixed clock per test.
class Log : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registry.isValid());
        ASSERT_TRUE(programDir.isValid());
        UtilsModuleStart();
        SetLogProgramFile(programDir.filePath("Pordane2023Hospitality.exe"));
    }
    void TearDown() override
    {
        LogModuleStop();
        SetLogProgramFile(QString());
        UtilsModuleStop();
    }

    QString logPath(const QString &name) const { return programDir.filePath("logs/" + name); }
    QByteArray contents(const QString &name) const
    {
        return QFileInfo::exists(logPath(name)) ? fileBytes(logPath(name)) : QByteArray("<missing>");
    }
    static void setDebugLevel(int level) { TOrvoReg().WriteInteger("Debug", "DebugLevel", level); }

    TempRegistry registry;
    QTemporaryDir programDir;
    ClockGuard clock{changeover};
};

TEST_F(Log, StartCreatesTheFolderAndThisWeeksEmptyMainLog)
{
    ASSERT_FALSE(QFileInfo::exists(programDir.filePath("logs")));
    LogModuleStart();
    ASSERT_NE(gLog, nullptr);
    EXPECT_TRUE(QFileInfo(logPath("Pordane2023Hospitality_2023_35.log")).isFile());
    EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"), "");
}

TEST_F(Log, StartKeepsAnExistingMainLog)
{
    QDir().mkpath(programDir.filePath("logs"));
    writeFile(logPath("Pordane2023Hospitality_2023_35.log"), "earlier\r\n");

    LogModuleStart();
    EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"), "earlier\r\n");
}

TEST_F(Log, ASecondWriterIsRefusedSilentlyAndTheFirstStays)
{
    LogModuleStart();
    CLog *first = gLog;
    EXPECT_THROW(CLog::create(), EAbort);
    EXPECT_EQ(gLog, first);
    LogModuleStop();
    EXPECT_EQ(gLog, nullptr);
}

// The main log follows the ISO week and its year; debug files take the calendar year.
TEST_F(Log, FileNamesFollowTheWeekOfTheEntry)
{
    const struct
    {
        QDate date;
        const char *mainLog;
        const char *debugFile;
    } cases[] = {
        {QDate(2023, 9, 1), "Pordane2023Hospitality_2023_35.log", "sql_2023_35.log"},
        {QDate(2023, 9, 3), "Pordane2023Hospitality_2023_35.log", "sql_2023_35.log"}, // Sunday
        {QDate(2023, 9, 4), "Pordane2023Hospitality_2023_36.log", "sql_2023_36.log"}, // Monday
        {QDate(2021, 1, 1), "Pordane2023Hospitality_2020_53.log", "sql_2021_53.log"},
        {QDate(2020, 12, 31), "Pordane2023Hospitality_2020_53.log", "sql_2020_53.log"},
        {QDate(2023, 1, 1), "Pordane2023Hospitality_2022_52.log", "sql_2023_52.log"},
        {QDate(2024, 12, 30), "Pordane2023Hospitality_2025_01.log", "sql_2024_01.log"},
        {QDate(2026, 1, 5), "Pordane2023Hospitality_2026_02.log", "sql_2026_02.log"},
    };
    LogModuleStart();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        Clock::setNow(QDateTime(c.date, QTime(23, 59, 59)));
        gLog->logMessage("entry");
        EXPECT_TRUE(QFileInfo::exists(logPath(c.mainLog)));
        EXPECT_EQ(DebugLogFileName("sql.txt"), logPath(c.debugFile));
    }
}

TEST_F(Log, DebugFileNamesGetTheDatePartOnlyWithoutAnUnderscore)
{
    const struct
    {
        const char *given;
        const char *expected;
    } cases[] = {
        {"sql.txt", "sql_2023_35.log"},
        {"trace", "trace_2023_35.log"},
        {"archive.tar.gz", "archive.tar_2023_35.log"},
        {"trace.", "trace_2023_35.log"},
        {"my_trace.txt", "my_trace.txt"},
        {"my_trace", "my_trace"},
        // the program's own name, extension replaced
        {"", "Pordane2023Hospitality_2023_35.log"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(DebugLogFileName(c.given), logPath(c.expected));
    }
    EXPECT_TRUE(QFileInfo(programDir.filePath("logs")).isDir());
    EXPECT_EQ(LogFolder(), programDir.filePath("logs") + QDir::separator());
}

TEST_F(Log, MainEntriesAreStampedTrimmedAndIndented)
{
    LogModuleStart();
    const QByteArray stamp = "23-09-01 14:05:09 ";
    const QByteArray indent(18, ' ');
    const struct
    {
        QString text;
        QByteArray expected;
    } cases[] = {
        {"Line1\r\nLine2\r\n", stamp + "Line1\r\n" + indent + "Line2\r\n"},
        {"  padded \t", stamp + "padded\r\n"},
        {"lone\rCR", stamp + "lone\rCR\r\n"},
        {"only LF\nhere", stamp + "only LF\nhere\r\n"},
        {"", stamp + "\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QFile::remove(logPath("Pordane2023Hospitality_2023_35.log"));
        gLog->logMessage(c.text);
        EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"), c.expected);
    }
}

TEST_F(Log, EntriesAppendAndCrossIntoTheNextWeeksFile)
{
    LogModuleStart();
    Clock::setNow(QDateTime(QDate(2023, 9, 3), QTime(23, 59, 59)));
    gLog->logMessage("first");
    gLog->logMessage("second");
    Clock::setNow(QDateTime(QDate(2023, 9, 4), QTime(0, 0, 0)));
    gLog->logMessage("third");

    EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"),
              "23-09-03 23:59:59 first\r\n23-09-03 23:59:59 second\r\n");
    EXPECT_EQ(contents("Pordane2023Hospitality_2023_36.log"), "23-09-04 00:00:00 third\r\n");
}

TEST_F(Log, DebugFileEntriesKeepTheirTextAsGiven)
{
    LogModuleStart();
    EXPECT_TRUE(DebugLog("SELECT 1 ", 0, "sql.txt"));
    EXPECT_TRUE(DebugLog("A\r\nB", 0, "sql.txt"));
    EXPECT_TRUE(DebugLog(" own name", 0, "my_trace.txt"));

    EXPECT_EQ(contents("sql_2023_35.log"), "230901 140509: SELECT 1 \r\n230901 140509: \r\nA\r\nB\r\n");
    EXPECT_EQ(contents("my_trace.txt"), "230901 140509:  own name\r\n");
}

TEST_F(Log, DebugLogPassesALevelWhoseBitsAreAllEnabled)
{
    const struct
    {
        int debugLevel;
        int level;
        bool written;
    } cases[] = {
        {0, 32, false}, {33, 32, true}, {32, 33, false}, {0, 0, true}, {1, 0, true}, {-1, 96, true}, {64, 32, false},
    };
    LogModuleStart();
    for (const auto &c : cases) {
        SCOPED_TRACE("debug level " + std::to_string(c.debugLevel) + ", level " + std::to_string(c.level));
        setDebugLevel(c.debugLevel);
        QFile::remove(logPath("Pordane2023Hospitality_2023_35.log"));
        QFile::remove(logPath("sql_2023_35.log"));
        EXPECT_EQ(DebugLevelEnabled(c.level), c.written);
        EXPECT_TRUE(DebugLog("traced", c.level));
        EXPECT_TRUE(DebugLog("traced", c.level, "sql.txt"));
        EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"),
                  c.written ? QByteArray("23-09-01 14:05:09 traced\r\n") : QByteArray("<missing>"));
        EXPECT_EQ(contents("sql_2023_35.log"),
                  c.written ? QByteArray("230901 140509: traced\r\n") : QByteArray("<missing>"));
    }
}

TEST_F(Log, AMissingDebugLevelReadsAsZeroAndIsStored)
{
    EXPECT_EQ(GetDebugLevel(), 0);
    bool encoded = false;
    EXPECT_EQ(TOrvoReg().GetDataType("Debug", "DebugLevel", encoded), rdInteger);
    setDebugLevel(5);
    EXPECT_EQ(GetDebugLevel(), 5);
}

TEST_F(Log, DebugLevelOfTheWrongTypeMakesEveryDebugLogFalse)
{
    LogModuleStart();
    TOrvoReg().WriteString("Debug", "DebugLevel", "lots", rmText);
    EXPECT_FALSE(DebugLog("traced", 0));
    EXPECT_FALSE(DebugLog("traced", 0, "sql.txt"));
    EXPECT_EQ(contents("Pordane2023Hospitality_2023_35.log"), "");
}

TEST_F(Log, WithoutAWriterDebugLogDoesNothing)
{
    ASSERT_EQ(gLog, nullptr);
    EXPECT_TRUE(DebugLog("traced", 0));
    EXPECT_TRUE(DebugLog("traced", 0, "sql.txt"));
    EXPECT_FALSE(QFileInfo::exists(programDir.filePath("logs")));
}

TEST_F(Log, AnUnwritableFolderLosesMainEntriesAndFailsDebugFiles)
{
    // a plain file where the program's folder should be: no log folder can be made below it
    QFile blocker(programDir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetLogProgramFile(programDir.filePath("blocker/Pordane2023Hospitality.exe"));

    EXPECT_NO_THROW(LogModuleStart());
    ASSERT_NE(gLog, nullptr);
    EXPECT_NO_THROW(gLog->logMessage("lost"));
    EXPECT_TRUE(DebugLog("lost", 0));
    EXPECT_FALSE(DebugLog("lost", 0, "sql.txt"));
    EXPECT_FALSE(QFileInfo(programDir.filePath("blocker")).isDir());
}

// What checkWritable() says, run as a user without rights over files of others (root
// writes into read-only folders): in a child process that gives up root first.
QString checkWritableAsUnprivileged()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        constexpr uid_t nobody = 65534;
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(2);
        QByteArray said = "<no error>";
        try {
            CLog::checkWritable();
        } catch (const std::exception &e) {
            said = errorText(e).toUtf8();
        }
        const bool written = write(pipeEnds[1], said.constData(), size_t(said.size())) == said.size();
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(said) : QStringLiteral("<child failed>");
}

// Work that must be logged asks first whether it can be: each way the main log can be
// out of reach is named with the folder and the reason.
TEST_F(Log, CheckWritableNamesTheFolderAndWhyEntriesCannotReachIt)
{
    const QString programFolder = programDir.filePath("program");
    const QString logs = QDir::toNativeSeparators(programFolder + "/logs");
    struct Case
    {
        const char *name;
        std::function<void()> arrange;
        QString said;
    };
    const auto allowed = [&](QFileDevice::Permissions permissions) {
        return [&programFolder, permissions] { QFile::setPermissions(programFolder, permissions); };
    };
    const QFileDevice::Permissions readOnly =
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    const Case cases[] = {
        {"writable", allowed(QFileDevice::Permissions(0x7777)), "<no error>"},
        {"a file named logs", [&] { writeFile(programFolder + "/logs", "not a folder"); },
         "The log folder \"" + logs + "\" cannot be written: a file of that name is in the way."},
        {"a read-only program folder", allowed(readOnly),
         "The log folder \"" + logs + "\" cannot be written: Permission denied."},
        {"this week's log a folder", [&] { QDir().mkpath(programFolder + "/logs/Pordane2023Hospitality_2023_35.log"); },
         "The log folder \"" + logs + "\" cannot be written: Is a directory."},
    };
    // The unprivileged user may pass through the test's folder to the program's.
    QFile::setPermissions(programDir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::setPermissions(programFolder, QFileDevice::Permissions(0x7777));
        QDir(programFolder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(programFolder));
        SetLogProgramFile(programFolder + "/Pordane2023Hospitality.exe");
        c.arrange();
        EXPECT_EQ(checkWritableAsUnprivileged(), c.said);
    }
}

} // namespace
