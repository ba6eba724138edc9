#include "log/uLog.h"

#include "settings/uOrvoReg.h"
#include "util/Clock.h"
#include "util/Errors.h"
#include "util/Files.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <filesystem>
#include <system_error>

CLog *gLog = nullptr;

namespace {

const QString crlf = QStringLiteral("\r\n");
// Continuation lines start under the first character of the text, after the stamp.
constexpr int entryIndent = 18;

QString &programFileOverride()
{
    static QString programFile;
    return programFile;
}

QString programFile(const QString &given)
{
    if (!given.isEmpty())
        return given;
    if (!programFileOverride().isEmpty())
        return programFileOverride();
    return ModuleFileName();
}

QString logFolder(const QString &programFilePath)
{
    const QString folder = IncludeBackslash(QFileInfo(programFilePath).absolutePath(), false);
    return IncludeBackslash(folder + QStringLiteral("logs"), true);
}

QString twoDigits(int number)
{
    return PadLeft(IntToText(number), 2, QLatin1Char('0'));
}

// Leading and trailing blanks and control characters removed.
QString trimmed(const QString &text)
{
    int begin = 0;
    int end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

// Appends text to a file in the system's 8-bit encoding, creating the file when
// missing; false unless every byte reached the file.
bool appendToFile(const QString &fileName, const QString &text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QStringEncoder encode(QStringConverter::System);
    const QByteArray bytes = encode(text);
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

QString mainEntry(const QString &text, const QDateTime &time)
{
    QString message = text;
    message.replace(crlf, crlf + QString(entryIndent, QLatin1Char(' ')));
    // Fixed separators, so that log readers see the same layout on every machine.
    return time.toString(QStringLiteral("yy-MM-dd HH:mm:ss")) + QLatin1Char(' ') + trimmed(message) + crlf;
}

QString debugEntry(const QString &text, const QDateTime &time)
{
    const QString lead = text.contains(QLatin1Char('\r')) ? QStringLiteral(": \r\n") : QStringLiteral(": ");
    return time.toString(QStringLiteral("yyMMdd HHmmss")) + lead + text + crlf;
}

} // namespace

CLog *CLog::create()
{
    try {
        const QString fileName = LogFileName();
        if (!QFileInfo::exists(fileName)) {
            QFile file(fileName);
            // NewOnly: another copy of the program may have written its first entry meanwhile.
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                file.close();
        }
    } catch (...) {
        // The folder or file may be unavailable; entries then fail on their own.
    }
    if (gLog)
        throw EAbort();
    gLog = new CLog();
    return gLog;
}

void CLog::Destroy()
{
    if (this != gLog)
        throw EAbort();
    gLog = nullptr;
    delete this;
}

void CLog::logMessage(const QString &text)
{
    try {
        appendToFile(LogFileName(), mainEntry(text, Clock::now()));
    } catch (...) {
        // A lost entry must never disturb the work being logged.
    }
}

QString CLog::LogFileName(const QString &programFilePath)
{
    const QString program = programFile(programFilePath);
    int weekYear = 0;
    const int week = Clock::now().date().weekNumber(&weekYear);
    return logFolder(program) + QFileInfo(program).completeBaseName() + QLatin1Char('_')
        + PadLeft(IntToText(weekYear), 4, QLatin1Char('0')) + QLatin1Char('_') + twoDigits(week)
        + QStringLiteral(".log");
}

void CLog::checkWritable()
{
    const QString folder = QDir::cleanPath(LogFolder());
    QString reason;
    const QFileInfo found(folder);
    if (found.exists() && !found.isDir()) {
        reason = QStringLiteral("a file of that name is in the way");
    } else if (!found.isDir()) {
        // LogFolder() tried to make it and keeps no reason; ask once more for the system's.
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
        reason = error ? QString::fromLocal8Bit(error.message().c_str()) : QString();
    }
    if (reason.isEmpty()) {
        QFile file(LogFileName());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            reason = file.errorString();
    }
    if (!reason.isEmpty())
        throw EPosError(QStringLiteral("The log folder \"%1\" cannot be written: %2.")
                            .arg(QDir::toNativeSeparators(folder), reason));
}

void LogModuleStart()
{
    CLog::create();
}

void LogModuleStop()
{
    if (gLog)
        gLog->Destroy();
}

bool DebugLog(const QString &text, int level, const QString &fileName)
{
    if (!gLog)
        return true;
    try {
        if (!DebugLevelEnabled(level))
            return true;
        if (fileName.isEmpty()) {
            gLog->logMessage(text);
            return true;
        }
        return appendToFile(DebugLogFileName(fileName), debugEntry(text, Clock::now()));
    } catch (...) {
        return false;
    }
}

int GetDebugLevel()
{
    TOrvoReg reg;
    return reg.ReadInteger(QStringLiteral("Debug"), QStringLiteral("DebugLevel"), 0);
}

bool DebugLevelEnabled(int level)
{
    return (level & GetDebugLevel()) == level;
}

QString LogFolder()
{
    return logFolder(programFile(QString()));
}

QString DebugLogFileName(const QString &fileName)
{
    const QString folder = LogFolder();
    const bool ownName = fileName.isEmpty();
    const QString name = ownName ? QFileInfo(programFile(QString())).fileName() : fileName;
    if (!ownName && name.contains(QLatin1Char('_')))
        return folder + name;

    const QDate today = Clock::now().date();
    const QString datePart = QLatin1Char('_') + PadLeft(IntToText(today.year()), 4, QLatin1Char('0')) + QLatin1Char('_')
        + twoDigits(today.weekNumber()) + QStringLiteral(".log");
    const QFileInfo info(name);
    const QString suffix = info.suffix();
    const QString withoutExtension =
        suffix.isEmpty() && !name.endsWith(QLatin1Char('.')) ? name : name.left(name.size() - suffix.size() - 1);
    return folder + withoutExtension + datePart;
}

void SetLogProgramFile(const QString &programFilePath)
{
    programFileOverride() = programFilePath;
}
