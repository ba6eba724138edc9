#pragma once
// Stand-in manager control: shows the backups kept below the database's folder.
#include "backup/standin/controls/TStowlineControl.h"
#include "backup/standin/jobs/BackupListing.h"

class QTreeWidget;

class TFmBackupManager : public TStowlineControl
{
    Q_OBJECT
public:
    explicit TFmBackupManager(QWidget *owner = nullptr);

    // The backups of the last listing.
    const QList<TBackupEntry> &backups() const { return fBackups; }

protected:
    TJob makeJob() override;
    QString describeRun() const override;
    void jobSucceeded(const QString &summary) override;
    bool startsOnShow() const override { return true; }
    bool closesOnSuccess() const override { return false; }

private:
    QTreeWidget *fList;
    std::shared_ptr<QList<TBackupEntry>> fFound;
    QList<TBackupEntry> fBackups;
};
