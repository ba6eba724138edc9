#pragma once
// A fresh registry and program folder for each test: hives in a temporary
// folder named by PORDANE_REGISTRY_DIR, and a folder standing in for the one
// beside the executable.
#include "settings/uOrvoReg.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class AppSandbox
{
public:
    AppSandbox() : fOldRegistry(qgetenv("PORDANE_REGISTRY_DIR"))
    {
        QDir(fRoot.path()).mkpath(QStringLiteral("registry"));
        QDir(fRoot.path()).mkpath(QStringLiteral("program"));
        QDir(fRoot.path()).mkpath(QStringLiteral("suite"));
        qputenv("PORDANE_REGISTRY_DIR", path(QStringLiteral("registry")).toLocal8Bit());
    }
    ~AppSandbox()
    {
        if (fOldRegistry.isEmpty())
            qunsetenv("PORDANE_REGISTRY_DIR");
        else
            qputenv("PORDANE_REGISTRY_DIR", fOldRegistry);
    }

    QString path(const QString &relative) const { return fRoot.filePath(relative); }
    QString programFolder() const { return path(QStringLiteral("program")); }
    QString suiteFolder() const { return path(QStringLiteral("suite")); }

    void setSkin(const QString &skin) { TOrvoRegL().WriteString(QString(), QStringLiteral("Skin"), skin, rmText); }
    void setProgramFolder(const QString &folder)
    {
        TOrvoReg().WriteString(QString(), QStringLiteral("ProgramFolder"), folder, rmText);
    }

    // Writes a file below the sandbox, making its folders.
    QString writeFile(const QString &relative, const QByteArray &content) const
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return file;
    }

private:
    QTemporaryDir fRoot;
    QByteArray fOldRegistry;
};
