// The Proceed button: the changeover run over what the window holds.
#include "ChangeoverRun.h"
#include "DepartmentNodes.h"
#include "TfmMain.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// Every node in display order, parents before children, collapsed branches included.
QList<TChangeoverNode> changeoverNodes(QTreeWidget *tree)
{
    QList<TChangeoverNode> nodes;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        nodes.append({nodeId(*it), nodeDepth(*it), nodeMark(*it) == nmTicked});
    return nodes;
}

} // namespace

void TfmMain::ProceedClick()
{
    TChangeoverRun run({conx, q1, changeoverNodes(tv), selection(), newVID, fSiteID});
    if (run.run() == TChangeoverEnd::CloseWindow)
        close();
}
