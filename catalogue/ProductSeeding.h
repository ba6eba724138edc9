#pragma once
// Seeds the selection store with a department node's products at the old code, unticked.
#include <QString>

class TDbStatement;
class TSelectionStore;

// The node's product query: by DEPT_ID on level 1 (and any unknown level), SUB_DEPT on
// level 2, L3DID on level 3, at the old code, ordered by description.
QString productStatementText(int level);

// Writes "N" for every product at the old code under the node's section, ordered by
// description. A department's statement selects on DEPT_ID alone and a sub-department's
// on SUB_DEPT alone, so their sections also hold the products filed further down:
// ticking a node ticks everything below it.
void seedNodeProducts(TDbStatement &q1, TSelectionStore &store, int level, qint32 id, qint32 oldVID);
