#pragma once
// A fresh registry and program folder for each test: hives in a temporary
// folder named by PORDANE_REGISTRY_DIR, and a folder standing in for the one
// beside the executable.
#include "settings/uOrvoReg.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

class AppSandbox
{
public:
    AppSandbox() : fRegistry("PORDANE_REGISTRY_DIR", path(QStringLiteral("registry")).toLocal8Bit().toStdString())
    {
        QDir(fRoot.path()).mkpath(QStringLiteral("registry"));
        QDir(fRoot.path()).mkpath(QStringLiteral("program"));
        QDir(fRoot.path()).mkpath(QStringLiteral("suite"));
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
        ::writeFile(file, content);
        return file;
    }

private:
    QTemporaryDir fRoot;
    EnvGuard fRegistry;
};
