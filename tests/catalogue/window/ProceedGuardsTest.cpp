// What the window does when the database is not fit for a plain changeover: it could
// not be read, it has no 9 % code, its department trigger was left off; and a ticked
// branch that the operator never opened.
#include "catalogue/data/VatCodes.h"
#include "catalogue/runs/ChangeoverRun.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/SiteSql.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace changeover;

namespace {

class ProceedGuards : public MainWindowTest
{
protected:
    void pressProceed() { QTest::mouseClick(fWindow->findChild<QPushButton *>("btnProceed"), Qt::LeftButton); }
    // Backups would go below the database's own folder.
    static bool backupFolderMade(const QString &databasePath)
    {
        return QFileInfo::exists(QFileInfo(databasePath).absolutePath() + "/Backups");
    }
    void registerLocalPath(const QString &databasePath)
    {
        TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", databasePath, rmText);
    }

    ClockGuard fClock{QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7))};
};

TEST_F(ProceedGuards, AfterAFailedShowProceedRefusesWithItsReasonAndMakesNoFolder)
{
    for (const QString &path : {fRegistry.filePath("missing.fdb"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        registerLocalPath(fRegistry.filePath("missing.fdb"));
        TShownMain &w = showOn(path);
        ASSERT_FALSE(w.error.isEmpty());
        TDialogLog dialogs({Yes});

        pressProceed();

        ASSERT_EQ(dialogs.seen.size(), 1) << dialogs.seen.join("\n").toStdString();
        EXPECT_TRUE(dialogs.seen[0].startsWith("Error: Nothing can be changed")) << dialogs.seen[0].toStdString();
        EXPECT_TRUE(dialogs.seen[0].contains(w.error)) << dialogs.seen[0].toStdString();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(backupFolderMade(fRegistry.filePath("missing.fdb")));
    }
}

TEST_F(ProceedGuards, NoOldCodeIsToldNothingListedAndNothingChanged)
{
    using namespace site;
    // Without a 9 % code, departments without a code must not be listed as "9%" at 0.00%.
    TTestDatabase db({vat(2, "13.5", 3), dept(1, "No code", kNull), dept(2, "Zero", 0), product(1, "Stray", 0, 2)});
    registerLocalPath(db.path());
    TDialogLog dialogs({Yes});

    TShownMain &w = showOn(db);
    EXPECT_EQ(w.error, QString());
    EXPECT_EQ(dialogs.seen, QStringList{"Information: " + kNoOldCodeText});
    EXPECT_EQ(w.departmentTree()->topLevelItemCount(), 0);

    pressProceed();
    EXPECT_EQ(dialogs.seen, QStringList({"Information: " + kNoOldCodeText, "Error: " + kNoOldCodeText}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(backupFolderMade(db.path()));
}

TEST_F(ProceedGuards, ATriggerLeftOffIsOfferedAtStartAndSwitchedOn)
{
    TTestDatabase db(siteSql());
    db.run({"alter trigger TAU_DEPT inactive"});
    TDialogLog dialogs({Yes});

    TShownMain &w = showOn(db);

    EXPECT_EQ(w.error, QString());
    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[0].startsWith("Question: The department trigger TAU_DEPT is switched off."));
    EXPECT_EQ(dialogs.seen[1], "Information: The department trigger TAU_DEPT is switched on again.");
    EXPECT_TRUE(departmentTriggerActive(db.path()));
    EXPECT_EQ(w.departmentTree()->topLevelItemCount(), 2); // Bar and Kitchen, as always
}

// The tree opens collapsed; a department ticked without ever opening it still takes its
// sub-departments, third-level departments and products along.
TEST_F(ProceedGuards, ATickedBranchLeftCollapsedIsChangedWhole)
{
    TTestDatabase db(siteSql());
    registerLocalPath(db.path());
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());
    QTreeWidget *tv = w.departmentTree();
    QTreeWidgetItem *bar = tv->topLevelItem(0);
    ASSERT_FALSE(bar->isExpanded());
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, w.stateImageRect(bar).center());
    ASSERT_FALSE(bar->isExpanded());
    TDialogLog dialogs({Yes});

    pressProceed();

    ASSERT_EQ(dialogs.seen.size(), 2);
    EXPECT_EQ(dialogs.seen[0], confirmWith(kBarTicked));
    EXPECT_TRUE(dialogs.seen[1].contains("9 rows changed")) << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()),
              baselineWith({"D1 2/2", "S10 2/2", "S11 2/2", "T100 2/2", "P0 2", "P11 2", "P12 2", "P13 2", "P14 2"}));
}

} // namespace
