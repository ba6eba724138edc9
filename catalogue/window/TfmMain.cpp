#include "catalogue/window/TfmMain.h"

#include "catalogue/core/ProductTable.h"
#include "catalogue/core/Selection.h"
#include "catalogue/window/DepartmentNodes.h"
#include "catalogue/window/ImageDelegate.h"
#include "catalogue/window/StateImages.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTreeWidget>

TfmMain::TfmMain(QWidget *parent) : TfmMainFrame(parent)
{
    FormCreate();
}

// The selection goes with the window.
TfmMain::~TfmMain() = default;

void TfmMain::FormCreate()
{
    fSelection = std::make_unique<TSelection>();
    il = makeStateImages();
    setUpTree();
    setUpGrid();
}

void TfmMain::setUpTree()
{
    fStateImages = new TImageDelegate(
        il, [this](const QModelIndex &index) { return markOf(fSelection->nodeOf(nodeLevel(index), nodeId(index))); },
        TImageDelegate::BeforeText, tv);
    tv->setItemDelegate(fStateImages);
    tv->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(tv, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) { tvChange(tv, current); });
    tv->viewport()->installEventFilter(this);
}

QString TfmMain::productsTitle() const
{
    return pn02->text();
}

QRect TfmMain::stateImageRect(QTreeWidgetItem *node) const
{
    return fStateImages->imageRect(tv->visualItemRect(node));
}

int TfmMain::selectionNode(const QTreeWidgetItem *node) const
{
    return node ? fSelection->nodeOf(nodeLevel(node), nodeId(node)) : -1;
}

int TfmMain::nodeMark(const QTreeWidgetItem *node) const
{
    return markOf(selectionNode(node));
}

int TfmMain::markOf(int selectionNode) const
{
    return selectionNode >= 0 && fSelection->isMarked(selectionNode) ? nmTicked : nmUnticked;
}

bool TfmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tv->viewport()) {
        // A double click is one click, as the tree control reports it: the release
        // that ends it must not flip the mark back.
        if (event->type() == QEvent::MouseButtonDblClick) {
            fAfterDoubleClick = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const bool secondOfDouble = fAfterDoubleClick;
            fAfterDoubleClick = false;
            if (mouse->button() == Qt::LeftButton && !secondOfDouble)
                tvClick(mouse->position().toPoint());
        }
    }
    return TfmMainFrame::eventFilter(watched, event);
}
