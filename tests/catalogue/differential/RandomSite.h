#pragma once
// Random sites for the differential tests, as the SQL run after the schema: department
// trees three levels deep with broken chains, inactive and excluded rows, odd ids and
// codes, products filed at every level, and descriptions that tie, run long, mix case
// or leave ASCII. The same seed always gives the same site.
#include <QStringList>
#include <QtGlobal>

// Small sites hold up to a few hundred products; large ones one to two thousand, mostly at
// the old code under listed departments, so that a changeover of many ticked products
// needs more than one statement's worth of ids.
enum class TSiteSize { Small, Large };

QStringList randomSiteSql(quint32 seed, TSiteSize size);
