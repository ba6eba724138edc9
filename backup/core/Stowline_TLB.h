#pragma once
// The backup component as its client sees it: four controls, each reached only
// through automation-style property access by dispatch id and one method, so that
// a host of the real ActiveX controls and our own stand-ins are interchangeable.
#include <QString>
#include <QtGlobal>
#include <variant>

class QWidget;

using TDispId = int;

// A property value as automation carries it: integers, enumerations and flags
// (0 or 1) as 32-bit integers, texts as wide strings.
using TOleValue = std::variant<qint32, QString>;

// The integer or the text held; a value of the other kind raises EPosError.
qint32 OleInt(const TOleValue &value);
QString OleText(const TOleValue &value);

// ModalResult of every control: 0 while the work runs, 1 for success, any other
// value for failure. Our controls report a failure as 2 and the operator's cancel as 3,
// so that the client can tell the operator which of the two it was.
enum TStowlineModalResult : qint32 {
    smrRunning = 0,
    smrSucceeded = 1,
    smrFailed = 2,
    smrCancelled = 3,
};

// Dispatch ids of each control's dual interface.
namespace IFmBackupBackup {
enum : TDispId {
    ModalResult = 229,
    BackupClient = 230,
    BackupMode = 231,
    RemoteDBPath = 232,
    LocalDBPath = 233,
    BackupFileName = 234,
    AllowClearLiveSales = 235,
    AutoStart = 236,
    ExternalBackupMethod = 237,
    ExternalBackupCommand = 238,
};
}

namespace IFmBackupRestore {
enum : TDispId {
    AutoStart = 230,
    LocalDBPath = 231,
    ModalResult = 232,
    BackupClient = 233,
    BackupFileName = 234,
    // The one method: lets the operator pick the backup to restore.
    FormShow = 201,
};
}

namespace IFmBackupManager {
enum : TDispId {
    BackupClient = 229,
    LocalDBPath = 230,
    RemoteDBPath = 231,
    ModalResult = 232,
};
}

namespace IFmBackupTransfer {
enum : TDispId {
    BackupClient = 229,
    TransferFileName = 230,
    ModalResult = 232,
    RemoteFileName = 233,
    RemoteHost = 234,
    RemoteUser = 235,
    RemotePass = 236,
    BackupMode = 237,
    RemoteDBPath = 238,
    AutoStart = 239,
};
}

// The component's controls (its registered classes).
enum class TStowlineClass {
    FmBackupBackup,
    FmBackupRestore,
    FmBackupManager,
    FmBackupTransfer,
};

// What a host needs of any of the controls.
class IStowlineControl
{
public:
    virtual ~IStowlineControl() = default;

    // Property access by dispatch id; an unknown id or a value of the wrong kind
    // raises EPosError, as a failed IDispatch call does.
    virtual void SetProperty(TDispId id, const TOleValue &value) = 0;
    virtual TOleValue GetProperty(TDispId id) const = 0;
    // Calls a method without arguments; a failure result raises EPosError.
    virtual void Invoke(TDispId method) = 0;

    // The control's designed size.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Places the control in the host's client area, filling it; null takes it out again.
    virtual void EmbedIn(QWidget *host) = 0;
};
