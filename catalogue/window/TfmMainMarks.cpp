// Check marks: a click on a node's state image flips its mark; ticking a node ticks
// every product listed under it and marks all of its descendants.
#include "catalogue/window/TfmMain.h"

#include "catalogue/core/SelectionStore.h"
#include "catalogue/window/DepartmentNodes.h"
#include "catalogue/window/ImageDelegate.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

void TfmMain::tvClick(const QPoint &viewportPos)
{
    if (!fStateImages->hitsImage(tv, viewportPos))
        return;
    // The press on the node has made it the selected node.
    QTreeWidgetItem *node = tv->itemAt(viewportPos);
    if (tv->currentItem() != node)
        tv->setCurrentItem(node);
    toggleMark(node, nmUnticked, nmTicked);
    if (!node || nodeMark(node) != nmTicked) {
        tv->viewport()->update();
        return;
    }

    const QStringList sections = fStore->sections();
    const QString yes = QStringLiteral("Y");
    for (const QString &key : fStore->keys(nodeSection(node)))
        setInAllSections(key, sections, yes);

    const int depth = nodeDepth(node);
    QTreeWidgetItemIterator it(node);
    for (++it; *it && nodeDepth(*it) > depth; ++it)
        setNodeMark(*it, nmTicked);

    tv->viewport()->update();
    tvChange(tv, node);
}
