#pragma once
// The rewrite at the heart of the changeover: every ticked department node and every
// product ticked in any node's section moves to the new VAT code.
#include "DbStatement.h"

#include <QList>
#include <QSet>
#include <QtGlobal>

class TDbConnection;
class TSelectionStore;

// One node of the department tree as the rewrite needs it, in display order.
struct TChangeoverNode
{
    qint32 id = 0;
    int depth = 0; // 0 department, 1 sub-department, 2 third-level department
    bool ticked = false;
};

// Runs the row updates in the connection's current transaction (started on demand).
// Each statement is prepared on its first use and then executed once per row: a site
// without the third level never prepares the statement of a table it lacks.
class TChangeoverWalk
{
public:
    TChangeoverWalk(TDbConnection &conx, qint32 newVID);

    // Nodes in display order: a ticked node rewrites its own department row; then
    // every key of the node's section whose value counts as ticked rewrites that
    // product, whether the node is ticked or not. A product ticked in several sections
    // is rewritten once: the same values again would only cost time.
    void run(const QList<TChangeoverNode> &nodes, const TSelectionStore &store);

private:
    void updateDepartment(const TChangeoverNode &node);
    void updateProduct(qint32 sid);
    TDbStatement &departmentStatement(int depth);

    qint32 fNewVID;
    TDbStatement fDepartments;
    TDbStatement fSubDepartments;
    TDbStatement fThirdLevels;
    TDbStatement fProducts;
    QSet<qint32> fProductsDone;
};

// The product number a selection key stands for: its text before the first "_" (the
// whole key without one). False when that is not a whole number that fits 32 bits; such
// a key stands for no product.
bool changeoverProductSid(const QString &key, qint32 &sid);
