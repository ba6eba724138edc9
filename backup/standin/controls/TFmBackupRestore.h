#pragma once
// Stand-in restore control: puts a backup in place of the database, safely.
#include "backup/standin/controls/TStowlineControl.h"

class QListWidget;

class TFmBackupRestore : public TStowlineControl
{
    Q_OBJECT
public:
    explicit TFmBackupRestore(QWidget *owner = nullptr);

    // FormShow: lists the backups of the database to choose from, newest chosen.
    void Invoke(TDispId method) override;

protected:
    TJob makeJob() override;
    QString describeRun() const override;
    bool startsOnShow() const override;

private:
    void FormShow();

    QListWidget *fChoice;
};
