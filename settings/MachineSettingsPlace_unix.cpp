#include "settings/MachineSettingsPlace.h"

#include "settings/store/HiveFile.h"

QString MachineSettingsPlace()
{
    return QStringLiteral("settings file ") + QString::fromStdString(hiveFilePath(RegRoot::LocalMachine));
}
