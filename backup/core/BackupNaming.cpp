#include "backup/core/BackupNaming.h"

#include "util/Clock.h"
#include "util/Files.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace {

const QChar sep = QDir::separator();

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == sep;
}

QString twoDigits(int n)
{
    return PadLeft(IntToText(n), 2, QLatin1Char('0'));
}

QString fourDigits(int n)
{
    return PadLeft(IntToText(n), 4, QLatin1Char('0'));
}

// The locale's short name of the month as a folder name. The name stands alone
// there, so its stand-alone form; a trailing full stop ("févr.") goes, because Windows
// drops it from folder names and the folder would not be the one the backup names;
// and English "Sept", which the locale data of some English locales give, is written
// "Sep", as Windows and the back office's own backups write it on every English
// locale, so that both platforms fill the same folders.
QString monthName(int month)
{
    const QLocale locale;
    QString name = locale.standaloneMonthName(month, QLocale::ShortFormat);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (locale.language() == QLocale::English && name == QLatin1String("Sept"))
        name = QStringLiteral("Sep");
    return name;
}

// "yyyy\mm-mmm".
QString monthFolder(const QDate &date)
{
    return fourDigits(date.year()) + sep + twoDigits(date.month()) + QLatin1Char('-') + monthName(date.month());
}

// "yymmddhhnnss".
QString timeStamp(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    return twoDigits(d.year() % 100) + twoDigits(d.month()) + twoDigits(d.day()) + twoDigits(h.hour())
        + twoDigits(h.minute()) + twoDigits(h.second());
}

QString backupsFolder(const QString &localDBPath, const QString &below)
{
    return BackupLocalFolder(localDBPath) + QStringLiteral("Backups") + sep + below;
}

// The folder with its separator, made when missing, followed by the file name.
QString inFolder(const QString &folder, const QString &fileName)
{
    return IncludeBackslash(folder, true) + fileName;
}

QString dailyFolder(const QString &localDBPath)
{
    // The folder's date and the file's time stamp are separate readings of the clock.
    return backupsFolder(localDBPath, QStringLiteral("Daily") + sep + monthFolder(Clock::now().date()));
}

} // namespace

QString BackupLocalFolder(const QString &localDBPath)
{
    for (int i = localDBPath.size() - 1; i >= 0; --i) {
        if (isSeparator(localDBPath.at(i)))
            return localDBPath.left(i + 1);
    }
    const bool drive = localDBPath.size() >= 2 && localDBPath.at(1) == QLatin1Char(':') && localDBPath.at(0).isLetter();
    return drive ? localDBPath.left(2) : QString();
}

QString DailyBackupName(const QString &localDBPath)
{
    const QString folder = dailyFolder(localDBPath);
    return inFolder(folder, timeStamp(Clock::now()));
}

QString ConventionalBackupName(TBackupClient client, TBackupMode mode, const QString &localDBPath, qint32 siteNo,
                               qint32 sqlVersion, const QDateTime &monthEndDate)
{
    if (client == bcTabbit)
        return DailyBackupName(localDBPath);
    const QString site = IntToText(siteNo) + QLatin1Char('-');
    switch (mode) {
    case bmSqlUpdate:
        return inFolder(backupsFolder(localDBPath, QStringLiteral("SQLUpdates")),
                        site + QStringLiteral("DBVer") + IntToText(sqlVersion));
    case bmMonthEnd:
        return inFolder(backupsFolder(localDBPath, QStringLiteral("MonthEnd")),
                        site + fourDigits(monthEndDate.date().year()) + QLatin1Char('-')
                            + twoDigits(monthEndDate.date().month()));
    default: {
        const QString folder = dailyFolder(localDBPath);
        return inFolder(folder, site + timeStamp(Clock::now()));
    }
    }
}

bool IsConventionalBackupName(const QString &fileName)
{
    // Site numbers and SQL versions as IntToText writes them; time stamps and
    // month-end dates as above.
    static const QRegularExpression made(QStringLiteral("^(?:(?:%1-)?[0-9]{12}|%1-DBVer%1|%1-[0-9]{4}-[0-9]{2})$")
                                             .arg(QStringLiteral("(?:0|-?[1-9][0-9]*)")));
    return made.match(fileName).hasMatch();
}
