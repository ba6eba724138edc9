#pragma once
// The kinds of client and backup that the backup component is told about; their
// ordinal values travel to the component as integers.

enum TBackupClient : int {
    bcBrisko = 0,
    bcTabbit = 1,
};

enum TBackupMode : int {
    bmStandard = 0,
    bmSqlUpdate = 1,
    bmMonthEnd = 2,
    bmRequest = 3,
    bmAutomatic = 4,
    bmSendGDB = 5,
    bmSendFiles = 6,
};
