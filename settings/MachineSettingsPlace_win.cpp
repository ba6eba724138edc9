#include "settings/MachineSettingsPlace.h"

#include "settings/uOrvoReg.h"

QString MachineKeyName()
{
    // The program reads the machine key in the registry's 32-bit view; this program is
    // 64-bit and so runs on 64-bit Windows only, where the registry editor shows that
    // view below SOFTWARE\WOW6432Node.
    QString key = kOrvoProductKey;
    key.replace(QStringLiteral("SOFTWARE\\"), QStringLiteral("SOFTWARE\\WOW6432Node\\"));
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + key;
}

QString MachineSettingsPlace()
{
    return QStringLiteral("settings key ") + MachineKeyName();
}
