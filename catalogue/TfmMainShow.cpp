// The show sequence: connection and VAT codes, the entry lines, the tree and the
// store's seed, all behind the splash window.
#include "TfmMain.h"

#include "DepartmentNodes.h"
#include "DepartmentPlan.h"
#include "EntryCollector.h"
#include "EntryLines.h"
#include "ProductSeeding.h"
#include "SelectionStore.h"
#include "VatCodes.h"
#include "app/TfmSplash.h"

#include <QCoreApplication>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// Frees the splash window and brings the application to the front on every way out
// of the show sequence, failures included.
class TSplashScope
{
public:
    TSplashScope(QWidget *window) : fWindow(window), fSplash(std::make_unique<TfmSplash>())
    {
        fSplash->show();
        QCoreApplication::processEvents();
    }
    ~TSplashScope()
    {
        fSplash.reset();
        fWindow->raise();
        fWindow->activateWindow();
    }
    TSplashScope(const TSplashScope &) = delete;
    TSplashScope &operator=(const TSplashScope &) = delete;

private:
    QWidget *fWindow;
    std::unique_ptr<TfmSplash> fSplash;
};

// Ends the reading transaction, so that none stays open while the operator works and
// the changeover can start its own. A failed sequence rolls back quietly: its own
// error is the one to report.
void endReading(TDbConnection &conx, bool succeeded)
{
    if (!conx.isOpen() || !conx.inTransaction())
        return;
    if (succeeded) {
        conx.commit();
        return;
    }
    try {
        conx.rollback();
    } catch (const std::exception &) {
    }
}

} // namespace

void TfmMain::FormShow()
{
    useButtonFaceForActiveRow();
    TSplashScope splash(this);
    try {
        const TVatResolution codes = connectAndResolve(conx, q1);
        fSiteID = codes.siteID;
        newVID = codes.newVID;
        v62Plus = codes.v62Plus;

        QList<TEntryLine> lines = TEntryCollector(conx, q1, q2).collect(codes.oldVID, v62Plus);
        tv->clear();
        sortEntryLines(lines);
        buildTree(lines, codes.oldVID);
        selectFirstNode();
    } catch (...) {
        endReading(conx, false);
        throw;
    }
    endReading(conx, true);
}

void TfmMain::buildTree(const QList<TEntryLine> &sortedLines, qint32 oldVID)
{
    const std::vector<TPlannedNode> plan = planDepartmentTree(sortedLines);
    std::vector<QTreeWidgetItem *> nodes;
    nodes.reserve(plan.size());
    for (const TPlannedNode &planned : plan) {
        auto *node = planned.parent < 0 ? new QTreeWidgetItem(tv) : new QTreeWidgetItem(nodes[planned.parent]);
        initDepartmentNode(node, planned.caption, planned.id);
        nodes.push_back(node);
        seedNodeProducts(q1, *fStore, planned.level, planned.id, oldVID);
    }
}

void TfmMain::selectFirstNode()
{
    QTreeWidgetItem *first = tv->topLevelItem(0);
    if (!first)
        return;
    tv->setCurrentItem(first);
    for (QTreeWidgetItemIterator it(first); *it && (*it == first || nodeDepth(*it) > 0); ++it)
        (*it)->setExpanded(false);
}
