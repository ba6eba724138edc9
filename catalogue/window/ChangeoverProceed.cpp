// The Proceed button: the changeover run over what the window holds.
#include "catalogue/runs/ChangeoverRun.h"
#include "catalogue/window/DepartmentNodes.h"
#include "catalogue/window/TfmMain.h"

#include <QAbstractItemModel>
#include <QTreeWidget>

namespace {

// The nodes under parent in display order, parents before children, collapsed branches
// included, read from the tree's model.
void addChangeoverNodes(const QAbstractItemModel &tree, const QModelIndex &parent, int depth,
                        QList<TChangeoverNode> &nodes)
{
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex node = tree.index(row, 0, parent);
        nodes.append({nodeId(node), depth, nodeMark(node) == nmTicked});
        addChangeoverNodes(tree, node, depth + 1, nodes);
    }
}

QList<TChangeoverNode> changeoverNodes(const QAbstractItemModel &tree)
{
    QList<TChangeoverNode> nodes;
    addChangeoverNodes(tree, QModelIndex(), 0, nodes);
    return nodes;
}

} // namespace

void TfmMain::ProceedClick()
{
    TChangeoverRun run({conx, q1, changeoverNodes(*tv->model()), selection(), newVID, fSiteID, fRefusal});
    const TChangeoverEnd end = run.run();
    if (end == TChangeoverEnd::WindowStays)
        return;
    fExitStatus = exitStatusAfter(end);
    close();
}
