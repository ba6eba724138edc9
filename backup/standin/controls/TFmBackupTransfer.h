#pragma once
// Stand-in transfer control: hands a file over to the folder that the host names.
#include "backup/standin/controls/TStowlineControl.h"

class TFmBackupTransfer : public TStowlineControl
{
    Q_OBJECT
public:
    explicit TFmBackupTransfer(QWidget *owner = nullptr);

protected:
    TJob makeJob() override;
    QString describeRun() const override;
    bool startsOnShow() const override;
};
