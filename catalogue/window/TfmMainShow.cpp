// The show sequence: connection, the department trigger's check, VAT codes, the entry
// lines, the tree and the selection's seed, all behind the splash window; then what the
// operator must know when nothing can be changed.
#include "catalogue/window/TfmMain.h"

#include "catalogue/core/Selection.h"
#include "catalogue/data/ShowData.h"
#include "catalogue/runs/LastUsedDatabase.h"
#include "catalogue/runs/TriggerRecovery.h"
#include "catalogue/window/DepartmentNodes.h"
#include "dialogs/AdvDialogs.h"
#include "dialogs/TfmSplash.h"
#include "util/Errors.h"

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
    try {
        showDatabase();
    } catch (const std::exception &e) {
        fRefusal = QStringLiteral("Nothing can be changed: the database could not be read when the program "
                                  "started.\r\n\r\n")
            + errorText(e);
        throw;
    }
    if (!fRefusal.isEmpty())
        InformationDlg(fRefusal);
}

void TfmMain::showDatabase()
{
    TSplashScope splash(this);
    try {
        openLastUsedDatabase(conx);
        offerToSwitchDepartmentTriggerOn(conx, q1);
        const TVatResolution codes = resolveVatCodes(conx, q1);
        fSiteID = codes.siteID;
        newVID = codes.newVID;
        v62Plus = codes.v62Plus;
        if (!codes.hasOldCode())
            fRefusal = kNoOldCodeText;

        const TShowData data = readShowData(q1, codes);
        tv->clear();
        buildTree(data.nodes);
        fSelection->clear();
        seedSelection(*fSelection, data.nodes);
        selectFirstNode();
    } catch (...) {
        endReading(conx, false);
        throw;
    }
    endReading(conx, true);
}

void TfmMain::buildTree(const std::vector<TShowNode> &shown)
{
    std::vector<QTreeWidgetItem *> nodes;
    nodes.reserve(shown.size());
    for (const TShowNode &planned : shown) {
        const int parent = planned.node.parent;
        auto *node = parent < 0 ? new QTreeWidgetItem(tv) : new QTreeWidgetItem(nodes[parent]);
        initDepartmentNode(node, planned.node);
        nodes.push_back(node);
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
