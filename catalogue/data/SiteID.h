#pragma once
// The site's number, as the setup table keeps it.
#include <QtGlobal>

class TDbStatement;

// The site number, from the setup table.
qint32 readSiteID(TDbStatement &q1);
