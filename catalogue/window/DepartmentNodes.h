#pragma once
// What a department node of the tree carries: its caption, its department id, its depth
// (level - 1) and a tooltip naming it in full. Its mark is the selection's: the tree
// shows it as the state image of that number.
#include <QString>
#include <QtGlobal>

class QModelIndex;
class QTreeWidgetItem;
struct TPlannedNode;

enum TNodeMark { nmUnticked = 1, nmTicked = 2 };

// Fills a new node from its plan: caption, id, and a tooltip with the whole
// description over the department's kind and id ("Department 5"), since captions cut
// descriptions to 20 columns and two departments may then look the same. A name the
// database does not hold (NULL) shows as "(no name)", in grey italics. Selectable
// but neither editable nor checkable, so nothing of Qt's own can change a mark.
void initDepartmentNode(QTreeWidgetItem *node, const TPlannedNode &planned);

qint32 nodeId(const QTreeWidgetItem *node);
// The id of the node shown at a model index of the tree.
qint32 nodeId(const QModelIndex &index);
int nodeDepth(const QTreeWidgetItem *node);
// The department's level: 1 department, 2 sub-department, 3 third-level department.
int nodeLevel(const QTreeWidgetItem *node);
// The level of the node shown at a model index of the tree.
int nodeLevel(const QModelIndex &index);
