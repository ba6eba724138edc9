#pragma once
// The program's client of the backup component: hosts one of the component's
// controls at a time in a borderless modal window, hands it its parameters, and
// polls it every 100 ms until it reports a result.
#include "backup/core/BackupKinds.h"
#include "backup/core/Stowline_TLB.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <memory>

class QTimer;
class TBackup;

class TBackupForm : public QDialog
{
    Q_OBJECT
public:
    explicit TBackupForm(TBackup *owner);

    QTimer *Timer1;
    TBackup *Backup; // the owning client; not owned

    // Sets the client area to the given size.
    void setClientSize(int width, int height);

    void Timer1Timer();

    // Escape and close requests are refused: only the control's result ends the
    // host, so its work is never dropped half-way without its own cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
};

class TBackup
{
public:
    // isVisible has no effect.
    explicit TBackup(bool isVisible = true);
    virtual ~TBackup();
    TBackup(const TBackup &) = delete;
    TBackup &operator=(const TBackup &) = delete;

    // True when the backup was made; backupFileName then holds the file written,
    // else it is emptied (LastCancelled then tells whether the operator cancelled it).
    bool Backup(TBackupClient backupClient, TBackupMode backupMode, const QString &remoteDBPath,
                const QString &localDBPath, QString &backupFileName, qint32 siteNo, bool canClearLiveSales,
                qint32 sqlVersion, const QDateTime &monthEndDate, bool autoMode, qint32 extBackupMethod,
                const QString &extBackupCommand);
    // True when the restore was made; backupFileName gets what the control holds either way.
    bool Restore(TBackupClient backupClient, const QString &localDBPath, QString &backupFileName, bool autoMode);
    // Shows the backups of the database; errors are shown, not raised.
    void Manager(TBackupClient backupClient, const QString &remoteDBPath, const QString &localDBPath);
    // True when the data reached the host; says so (or not) in a dialog.
    bool SendDataForReview(TBackupClient backupClient, TBackupMode backupMode, qint32 siteNo,
                           const QString &remoteDBPath, const QString &localDBPath, const QString &host,
                           const QString &user, const QString &pass);
    // Compresses the database by a backup restored over it; true when both worked.
    bool Sweep(TBackupClient backupClient, const QString &remoteDBPath, const QString &localDBPath, bool autoStart);

    // Whether the operator cancelled the last operation, rather than it failing or
    // succeeding.
    bool LastCancelled() const { return fLastResult == smrCancelled; }

    // The control being polled: the first set of bb, br, bm, bt, and the dispatch id
    // of its ModalResult; null when none is set.
    IStowlineControl *PolledControl(TDispId &modalResultId) const;

    TBackupForm *f;
    std::unique_ptr<IStowlineControl> bb;
    std::unique_ptr<IStowlineControl> br;
    std::unique_ptr<IStowlineControl> bm;
    std::unique_ptr<IStowlineControl> bt;

private:
    class THosted;

    int fLastResult = smrRunning; // the host window's modal result of the last operation
};
