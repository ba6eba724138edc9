#pragma once
// Stand-in backup control: backs the database up and proves the backup restorable.
#include "backup/standin/controls/TStowlineControl.h"

class TFmBackupBackup : public TStowlineControl
{
    Q_OBJECT
public:
    explicit TFmBackupBackup(QWidget *owner = nullptr);

protected:
    TJob makeJob() override;
    QString describeRun() const override;
    void jobSucceeded(const QString &writtenFile) override;
    bool startsOnShow() const override;
};
