#pragma once
// The main log running in a folder of the test's own for the test's life, and what it
// holds. The suites that use it link the log module.
#include "log/uLog.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

class TMainLogSandbox
{
public:
    TMainLogSandbox()
    {
        SetLogProgramFile(fDir.filePath("program/Pordane2023Hospitality"));
        LogModuleStart();
    }
    ~TMainLogSandbox()
    {
        LogModuleStop();
        SetLogProgramFile(QString());
    }
    TMainLogSandbox(const TMainLogSandbox &) = delete;
    TMainLogSandbox &operator=(const TMainLogSandbox &) = delete;

    // Every log file's text, read afresh.
    static QString text()
    {
        QString all;
        const QDir logs(LogFolder());
        for (const QString &name : filesBelow(logs.path()))
            all += QString::fromLocal8Bit(fileBytes(logs.filePath(name)));
        return all;
    }

private:
    QTemporaryDir fDir;
};
