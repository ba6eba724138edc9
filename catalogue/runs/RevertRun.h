#pragma once
// "Pordane2023Hospitality --revert <record>": puts back what a change record lists, on
// the database that the back-office settings name, after the same backup as the
// changeover, and keeps a record of its own so that a revert can be reverted too.
#include "catalogue/runs/ChangeoverRun.h"

class TRevertRun
{
public:
    explicit TRevertRun(QString recordPath, TChangeoverBackup backup = backupBeforeChangeover);

    // Tells every outcome in a dialog. The program's exit code: 0 when the rows were put
    // back or the operator chose not to go on (answered No, or cancelled the backup), 1
    // when the record was refused or anything failed.
    int run();

private:
    QString fRecordPath;
    TChangeoverBackup fBackup;
};
