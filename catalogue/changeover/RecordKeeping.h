#pragma once
// Keeping the record of a run that changed VAT codes: beside the run's backup, named in
// the main log, and one line for the operator's final message.
#include "catalogue/changeover/ChangeRecord.h"

struct TChangeoverOutcome;

// The program as a record names it: "Pordane 2023 <version>".
QString recordingProgram();

// Writes the record beside backupFile and logs where, and for a run whose commit failed
// that its outcome is unknown. When it cannot be written the codes have changed all the
// same (or may have): the main log then gets the record's text instead, and the line
// says so. Never throws.
QString keepChangeRecord(const TChangeRecord &record, const QString &backupFile);

// The record of a run's outcome on the database of the given server path and site, made
// now by this program as madeBy names the run, kept as keepChangeRecord keeps it.
QString keepRunRecord(const TChangeoverOutcome &outcome, const QString &database, qint32 siteID, const QString &madeBy,
                      const QString &backupFile);
