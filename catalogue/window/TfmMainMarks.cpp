// Check marks: a click on a node's state image flips its mark; ticking a node ticks
// every product listed under it and marks all of its descendants.
#include "catalogue/window/TfmMain.h"

#include "catalogue/core/Selection.h"
#include "catalogue/window/DepartmentNodes.h"
#include "catalogue/window/ImageDelegate.h"

#include <QTreeWidget>

void TfmMain::tvClick(const QPoint &viewportPos)
{
    if (!fStateImages->hitsImage(tv, viewportPos))
        return;
    // The press on the node has made it the selected node.
    QTreeWidgetItem *node = tv->itemAt(viewportPos);
    if (tv->currentItem() != node)
        tv->setCurrentItem(node);
    const int clicked = selectionNode(node);
    if (clicked >= 0)
        fSelection->clickNode(clicked);
    tv->viewport()->update();
    // Unticking changes nothing else, so the product list stays as it is.
    if (clicked >= 0 && fSelection->isMarked(clicked))
        tvChange(tv, node);
}
