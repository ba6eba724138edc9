#include "backup/standin/controls/TStowlineResult.h"

TStowlineResult::TStowlineResult(TStowlineProperties &properties, TDispId modalResultId)
    : fProperties(properties), fModalResultId(modalResultId)
{
    fProperties.declare(modalResultId, QStringLiteral("ModalResult"), qint32(smrRunning), true);
}

bool TStowlineResult::hasEnded() const
{
    return fProperties.intValue(fModalResultId) != smrRunning;
}

void TStowlineResult::end(qint32 result)
{
    fProperties.store(fModalResultId, result);
}

qint32 TStowlineResult::resultOnClose() const
{
    if (fSucceeded)
        return smrSucceeded;
    return fFailed ? smrFailed : smrCancelled;
}

TStowlineResult::TAfterFailure TStowlineResult::afterFailure(int unattendedWait) const
{
    if (!fAutoStarted)
        return TAfterFailure::Retry;
    return unattendedWait <= 0 ? TAfterFailure::EndNow : TAfterFailure::EndAfterWait;
}
