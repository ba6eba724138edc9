#pragma once
// Weekly main log and level-filtered tracing, in "logs" beside the program.
#include <QString>

// The process-wide log writer; the one instance is gLog, from LogModuleStart to LogModuleStop.
class CLog
{
public:
    // Creates the log folder and this week's main log file, then registers the new
    // instance as gLog. A second instance is refused with EAbort.
    static CLog *create();
    // Releases the registered instance and clears gLog; any other instance is refused with EAbort.
    void Destroy();
    // Appends one time-stamped entry to this week's main log; failures lose the entry silently.
    void logMessage(const QString &text);
    // Throws EPosError naming the log folder and the system's reason when entries cannot
    // reach this week's main log: the folder cannot be made (a file of that name is in
    // the way, the program's folder is read-only) or the file cannot be opened to append
    // to. Needs no instance: the place is checked before work that must be logged.
    static void checkWritable();

    CLog(const CLog &) = delete;
    CLog &operator=(const CLog &) = delete;

private:
    CLog() = default;
    virtual ~CLog() = default;
    // The main log file name for a program file (empty: the running program); makes the folder.
    static QString LogFileName(const QString &programFile = QString());
};

extern CLog *gLog;

void LogModuleStart();
void LogModuleStop();

// Traces text when every bit of level is set in the debug level (level 0 always
// passes): into the main log, or into the debug file named fileName. False when the
// entry could not be written or the debug level could not be read.
bool DebugLog(const QString &text, int level, const QString &fileName = QString());
// The "DebugLevel" registry value of section "Debug", 0 (and stored) when missing.
int GetDebugLevel();
bool DebugLevelEnabled(int level);
// The log folder beside the program (made when missing), with a trailing separator.
QString LogFolder();
// Path of the debug file for a caller-given name (empty: the program's file name);
// names without "_" get the year and ISO week in place of their extension. Makes the folder.
QString DebugLogFileName(const QString &fileName);

// The program file whose folder and name the log files follow; empty (the default)
// means the running program. Lets a test keep its logs in a temporary folder.
void SetLogProgramFile(const QString &programFile);
