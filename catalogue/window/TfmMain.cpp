#include "catalogue/window/TfmMain.h"

#include "catalogue/core/ProductTable.h"
#include "catalogue/core/SelectionStore.h"
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

// The store goes with the window.
TfmMain::~TfmMain() = default;

void TfmMain::FormCreate()
{
    fStore = std::make_unique<TSelectionStore>();
    il = makeStateImages();
    setUpTree();
    setUpGrid();
}

void TfmMain::setUpTree()
{
    fStateImages = new TImageDelegate(
        il, [](const QModelIndex &index) { return nodeMark(index); }, TImageDelegate::BeforeText, tv);
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

void TfmMain::setInAllSections(const QString &key, const QStringList &sectionNames, const QString &value)
{
    fStore->setInAllSections(key, sectionNames, value);
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
