// The folder convention for backup files and the compression report, with a fixed clock.
#include "backup/core/BackupNaming.h"
#include "backup/core/SweepReport.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FixedTimeAndLocale : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(fDir.isValid()); }
    QString dbPath() const { return fDir.filePath(QStringLiteral("Data/POS.FDB")); }
    QString dataFolder() const { return fDir.filePath(QStringLiteral("Data/")); }

    ClockGuard fClock{QDateTime(QDate(2023, 9, 1), QTime(8, 15, 30))};
    LocaleGuard fLocale{QLocale(QLocale::English, QLocale::UnitedStates)};
    QTemporaryDir fDir;
};

TEST(BackupLocalFolder, IsThePathUpToItsLastSeparatorOrDrive)
{
    const struct
    {
        const char *path;
        const char *folder;
    } cases[] = {
        {"/srv/pos/POS.FDB", "/srv/pos/"}, {"/POS.FDB", "/"}, {"POS.FDB", ""}, {"", ""}, {"C:POS.FDB", "C:"},
        {"data/POS.FDB", "data/"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(BackupLocalFolder(QString::fromLatin1(c.path)), QString::fromLatin1(c.folder));
    }
}

TEST_F(FixedTimeAndLocale, NamesFollowTheConventionAndTheFoldersAreMade)
{
    const QDateTime august(QDate(2023, 8, 31), QTime(23, 0));
    const struct
    {
        const char *what;
        TBackupClient client;
        TBackupMode mode;
        const char *expected; // below the database's folder
    } cases[] = {
        {"daily", bcBrisko, bmStandard, "Backups/Daily/2023/09-Sep/7-230901081530"},
        {"any other mode is daily", bcBrisko, bmRequest, "Backups/Daily/2023/09-Sep/7-230901081530"},
        {"SQL update", bcBrisko, bmSqlUpdate, "Backups/SQLUpdates/7-DBVer45"},
        {"month end", bcBrisko, bmMonthEnd, "Backups/MonthEnd/7-2023-08"},
        {"second client, any mode", bcTabbit, bmMonthEnd, "Backups/Daily/2023/09-Sep/230901081530"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = ConventionalBackupName(c.client, c.mode, dbPath(), 7, 45, august);
        EXPECT_EQ(name, dataFolder() + QString::fromLatin1(c.expected));
        EXPECT_TRUE(QFileInfo(name).absoluteDir().exists());
    }
}

// The folder names are the same whichever platform's locale data gives them: no
// trailing full stop (Windows drops it from a folder's name), and English "Sep"
// where newer locale data says "Sept".
TEST_F(FixedTimeAndLocale, TheMonthFolderUsesTheLocalesShortMonthName)
{
    const struct
    {
        QLocale locale;
        QDate date;
        const char *folder;
    } cases[] = {
        {QLocale(QLocale::French, QLocale::France), QDate(2024, 2, 5), "2024/02-févr"},
        {QLocale(QLocale::English, QLocale::UnitedStates), QDate(2023, 9, 1), "2023/09-Sep"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), QDate(2023, 9, 1), "2023/09-Sep"},
        {QLocale(QLocale::English, QLocale::Ireland), QDate(2023, 9, 1), "2023/09-Sep"},
        {QLocale(QLocale::English, QLocale::Ireland), QDate(2026, 12, 11), "2026/12-Dec"},
        {QLocale(QLocale::German, QLocale::Germany), QDate(2023, 9, 1), "2023/09-Sep"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.folder);
        QLocale::setDefault(c.locale);
        Clock::setNow(QDateTime(c.date, QTime(14, 3, 7)));
        const QString name = DailyBackupName(dbPath());
        EXPECT_EQ(QFileInfo(name).path(),
                  dataFolder() + QStringLiteral("Backups/Daily/") + QString::fromUtf8(c.folder));
        EXPECT_TRUE(QFileInfo(name).absoluteDir().exists());
    }
}

TEST_F(FixedTimeAndLocale, AnEmptyLocalPathWorksBelowTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(fDir.path()));
    const QString name = ConventionalBackupName(bcBrisko, bmStandard, QString(), 12, 0, QDateTime());
    const bool made = QFileInfo::exists(fDir.filePath(QStringLiteral("Backups/Daily/2023/09-Sep")));
    QDir::setCurrent(previous);
    EXPECT_EQ(name, QStringLiteral("Backups/Daily/2023/09-Sep/12-230901081530"));
    EXPECT_TRUE(made);
}

TEST_F(FixedTimeAndLocale, EveryNameTheConventionGivesIsRecognisedAndNothingElse)
{
    const QDateTime monthEnd(QDate(2023, 8, 31), QTime(23, 0));
    QStringList given{QFileInfo(DailyBackupName(dbPath())).fileName()};
    for (TBackupClient client : {bcBrisko, bcTabbit})
        for (TBackupMode mode : {bmStandard, bmSqlUpdate, bmMonthEnd, bmRequest, bmAutomatic, bmSendGDB, bmSendFiles})
            for (qint32 number : {0, 7, 12345, -3})
                given << QFileInfo(ConventionalBackupName(client, mode, dbPath(), number, number, monthEnd)).fileName();
    for (const QString &name : given) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(IsConventionalBackupName(name));
    }

    for (const char *other : {"", "notes", "7-230901081530.fbk", "7-23090108153", "7-2309010815301", "07-230901081530",
                              "-0-230901081530", "7_230901081530", " 7-230901081530", "7-dbver45", "7-DBVer", "DBVer45",
                              "7-DBVer045", "7-2023-8", "7-23-08", "x-2023-08", "copy of 230901081530"}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(IsConventionalBackupName(QString::fromLatin1(other)));
    }
}

TEST(SweepReport, ShowsSizesInMebibytesAndTheRateInTheLocalesForm)
{
    const struct
    {
        const char *what;
        qint64 oldSize;
        qint64 newSize;
        const char *sizes; // old size, new size, rate
    } cases[] = {
        {"halved", 4 * 1048576, 2 * 1048576, "4,00|2,00|50,00"},
        {"grew", 1048576, 1572864, "1,00|1,50|-50,00"},
        {"empty old file: no division by zero", 0, 1048576, "0,00|1,00|0,00"},
        {"old file missing: no division by zero", -1, 1048576, "0,00|1,00|0,00"},
        {"thousands", qint64(1500) * 1048576, qint64(1200) * 1048576, "1.500,00|1.200,00|20,00"},
    };
    LocaleGuard locale(commaLocale());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList parts = QString::fromLatin1(c.sizes).split(QLatin1Char('|'));
        EXPECT_EQ(SweepReportText(c.oldSize, c.newSize),
                  QStringLiteral("Database compression successful.\r\n\r\nOld size: %1MB\r\nNew size: %2MB\r\n"
                                 "Compression Rate: %3%")
                      .arg(parts[0], parts[1], parts[2]));
    }
}

} // namespace
