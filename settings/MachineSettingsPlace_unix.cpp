#include "settings/MachineSettingsPlace.h"

#include "settings/store/HiveFile.h"
#include "settings/uOrvoReg.h"

QString MachineKeyName()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + kOrvoProductKey;
}

QString MachineSettingsPlace()
{
    return QStringLiteral("settings file ") + QString::fromStdString(hiveFilePath(RegRoot::LocalMachine));
}
