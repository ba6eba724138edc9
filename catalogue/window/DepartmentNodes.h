#pragma once
// What a department node of the tree carries: its caption, its department id, its
// mark (1 not ticked, 2 ticked), its depth (level - 1) and a tooltip naming it in full.
#include <QString>
#include <QtGlobal>

class QModelIndex;
class QTreeWidgetItem;
struct TPlannedNode;

enum TNodeMark { nmUnticked = 1, nmTicked = 2 };

// Fills a new node from its plan: caption, id, mark 1, and a tooltip with the whole
// description over the department's kind and id ("Department 5"), since captions cut
// descriptions to 20 columns and two departments may then look the same. A name the
// database does not hold (NULL) shows as "(no name)", in grey italics. Selectable
// but neither editable nor checkable, so nothing of Qt's own can change a mark.
void initDepartmentNode(QTreeWidgetItem *node, const TPlannedNode &planned);

qint32 nodeId(const QTreeWidgetItem *node);
// The id of the node shown at a model index of the tree.
qint32 nodeId(const QModelIndex &index);
int nodeMark(const QTreeWidgetItem *node);
// The mark of the node shown at a model index of the tree.
int nodeMark(const QModelIndex &index);
void setNodeMark(QTreeWidgetItem *node, int mark);
int nodeDepth(const QTreeWidgetItem *node);
// The node's section of the selection store.
QString nodeSection(const QTreeWidgetItem *node);

// A node whose mark is first gets second and one whose mark is second gets first;
// any other mark, and no node, stay as they are.
void toggleMark(QTreeWidgetItem *node, int first, int second);
