#pragma once
// Handing a file over to the host that receives data for review.
#include "backup/standin/jobs/JobProgress.h"

#include <QString>

// The folder that a host names: an absolute folder path or a file:// address.
// Any other kind of host is refused with EPosError saying so.
QString TransferFolderOfHost(const QString &host);

// Copies the file into the host's folder, under remoteFileName or else its own
// name, through a temporary name so that a broken copy is never left looking
// whole; returns the copy's path.
QString RunTransfer(const QString &fileName, const QString &remoteFileName, const QString &host,
                    TJobProgress &progress);
