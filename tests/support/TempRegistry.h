#pragma once
// A registry of the test's own: hive files in a fresh folder that
// PORDANE_REGISTRY_DIR names until the object goes.
#include "tests/support/EnvGuard.h"

#include <QTemporaryDir>

class TempRegistry
{
public:
    TempRegistry() : fEnv("PORDANE_REGISTRY_DIR", fDir.path().toLocal8Bit().toStdString()) {}

    bool isValid() const { return fDir.isValid(); }
    QString path() const { return fDir.path(); }
    QString filePath(const QString &name) const { return fDir.filePath(name); }

private:
    QTemporaryDir fDir;
    EnvGuard fEnv;
};
