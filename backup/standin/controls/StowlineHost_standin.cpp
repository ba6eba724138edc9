// The stand-in component: our own controls, created in this process; they need
// no apartment.
#include "backup/core/StowlineHost.h"

#include "backup/standin/controls/TFmBackupBackup.h"
#include "backup/standin/controls/TFmBackupManager.h"
#include "backup/standin/controls/TFmBackupRestore.h"
#include "backup/standin/controls/TFmBackupTransfer.h"

void StowlineApartmentEnter()
{
}

void StowlineApartmentLeave()
{
}

std::unique_ptr<IStowlineControl> CreateStowlineControl(TStowlineClass control, QWidget *owner)
{
    switch (control) {
    case TStowlineClass::FmBackupBackup:
        return std::make_unique<TFmBackupBackup>(owner);
    case TStowlineClass::FmBackupRestore:
        return std::make_unique<TFmBackupRestore>(owner);
    case TStowlineClass::FmBackupManager:
        return std::make_unique<TFmBackupManager>(owner);
    case TStowlineClass::FmBackupTransfer:
        return std::make_unique<TFmBackupTransfer>(owner);
    }
    throw EPosError(QStringLiteral("The backup component has no such control."));
}
