// Proceed through the main window: ticks made by clicks, the real question and report
// dialogs answered by pressing their buttons, the stand-in backup run for real, the
// database checked row by row afterwards, and the program's exit status.
#include "app/StartSequence.h"
#include "catalogue/core/ProductTable.h"
#include "catalogue/runs/ChangeoverRun.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/BackupWindow.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/NextDialogs.h"
#include "tests/support/SiteSql.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <optional>

using namespace changeover;

namespace {

// Presses the first button ("Yes" or "OK") of the next message dialog, as the operator
// would, noting its text (without the breaks the label may put into a long path);
// other modal windows (the backup's) are left to run.
NextDialogs::Answer pressFirstButton(QStringList &seen)
{
    return answerAs<TMessageForm>([&seen](TMessageForm *form) {
        seen << form->MsgLabel->text().remove(QChar(0x200B));
        QTest::mouseClick(form->buttons().first(), Qt::LeftButton);
    });
}

// A dialog's text as its label shows it: without the kind, lines broken by LF alone.
QString shown(const QString &logged)
{
    return logged.section(QStringLiteral(": "), 1).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

class ChangeoverWindow : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fDb = std::make_unique<TTestDatabase>(siteSql());
        // Backups go below the database's own folder.
        TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", fDb->path(), rmText);
        showOn(*fDb);
        ASSERT_EQ(fWindow->error, QString());
        tv = fWindow->departmentTree();
        tv->expandAll();
    }
    QTreeWidgetItem *node(const QString &caption) const
    {
        const auto found = tv->findItems(caption, Qt::MatchStartsWith | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void clickStateImage(QTreeWidgetItem *item)
    {
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, fWindow->stateImageRect(item).center());
    }
    void clickTick(const QString &key)
    {
        TProductTable *table = fWindow->productTable();
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->fullKey(row) != key)
                continue;
            QTableView *lb = fWindow->productGrid();
            QTest::mouseClick(lb->viewport(), Qt::LeftButton, {},
                              lb->visualRect(table->index(row, TProductTable::CHECKED)).center());
            return;
        }
        ADD_FAILURE() << "no row for " << key.toStdString();
    }
    void pressProceed() { QTest::mouseClick(fWindow->findChild<QPushButton *>("btnProceed"), Qt::LeftButton); }
    QString backupFolder() const { return QFileInfo(fDb->path()).absolutePath() + "/Backups"; }
    // Files below the database's backup folders.
    QStringList backupFiles() const { return filesBelow(backupFolder()); }

    ClockGuard fClock;
    std::unique_ptr<TTestDatabase> fDb;
    QTreeWidget *tv = nullptr;
};

TEST_F(ChangeoverWindow, ProceedBacksUpRewritesWhatIsTickedAndCloses)
{
    Clock::setNow(QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7)));
    // Beer and its Lager below it, with their products; then Pils taken back out, and
    // Soup ticked alone under the unticked Kitchen.
    clickStateImage(node("Beer"));
    clickTick("12_Pils");
    tv->setCurrentItem(node("Kitchen"));
    clickTick("21_Soup");

    QStringList seen;
    {
        NextDialogs operatorAtDialogs({pressFirstButton(seen), pressFirstButton(seen)});
        pressProceed();
    }

    EXPECT_FALSE(fWindow->isVisible());
    EXPECT_EQ(rows(fDb->path()), baselineWith({"S10 2/2", "T100 2/2", "P11 2", "P21 2"}));
    EXPECT_TRUE(departmentTriggerActive(fDb->path()));
    // The standard daily backup of site 7, named by the time of the run, and the record beside it.
    const QStringList files = backupFiles();
    ASSERT_EQ(
        files,
        QStringList({"Daily/2023/09-Sep/7-230905140307.fbk", "Daily/2023/09-Sep/7-230905140307.fbk.changes.csv"}));
    EXPECT_EQ(seen,
              QStringList({shown(confirmWith("Ticked: 0 departments, 1 sub-department, 1 third-level "
                                             "department, 2 products.")),
                           shown(doneWith(4, backupFolder() + "/" + files[0]))}));
}

TEST_F(ChangeoverWindow, StaysOpenUntilAllowedAndConfirmed)
{
    clickStateImage(node("Bar"));
    TDialogLog dialogs;

    Clock::setNow(changeoverMoment().addMSecs(-1));
    pressProceed();
    EXPECT_EQ(dialogs.seen, QStringList{kTooEarly});
    EXPECT_TRUE(fWindow->isVisible());

    Clock::setNow(changeoverMoment());
    dialogs.answer({No});
    pressProceed();
    EXPECT_EQ(dialogs.seen, QStringList({kTooEarly, confirmWith(kBarTicked)}));
    EXPECT_TRUE(fWindow->isVisible());
    EXPECT_EQ(rows(fDb->path()), baselineRows());
    EXPECT_TRUE(backupFiles().isEmpty());

    // The ticks are still there, and Proceed still works.
    dialogs.answer({Yes});
    pressProceed();
    ASSERT_EQ(backupFiles().size(), 2);
    EXPECT_EQ(dialogs.seen,
              QStringList({kTooEarly, confirmWith(kBarTicked), confirmWith(kBarTicked),
                           doneWith(9, backupFolder() + "/" + backupFiles().first())}));
    EXPECT_FALSE(fWindow->isVisible());
    EXPECT_EQ(rows(fDb->path()),
              baselineWith({"D1 2/2", "S10 2/2", "S11 2/2", "T100 2/2", "P0 2", "P11 2", "P12 2", "P13 2", "P14 2"}));
}

// How the program ends after Proceed, run as the program runs its main window: 0 when
// the changes were made or the operator chose not to go on, 1 when the backup failed.
TEST_F(ChangeoverWindow, TheProgramEndsWithTheStatusOfItsChangeover)
{
    enum class Backup { Works, NameTaken, Cancelled };
    struct Case
    {
        const char *name;
        Answer answer;
        Backup backup;
        QString told;
        int status;
    };
    const Case cases[] = {
        {"Done", Yes, Backup::Works, "Information: Done.", 0},
        {"BackupFailed", Yes, Backup::NameTaken, kBackupFailed, 1},
        {"BackupCancelled", Yes, Backup::Cancelled, kBackupCancelled, 0},
        {"NotConfirmedThenClosed", No, Backup::Works, confirmWith(kBarTicked), 0},
    };
    Clock::setNow(QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7)));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fDb = std::make_unique<TTestDatabase>(siteSql());
        TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", fDb->path(), rmText);
        showOn(*fDb);
        tv = fWindow->departmentTree();
        clickStateImage(node("Bar"));
        if (c.backup == Backup::NameTaken) {
            QDir().mkpath(backupFolder() + "/Daily/2023/09-Sep");
            writeFile(backupFolder() + "/Daily/2023/09-Sep/7-230905140307.fbk", "planted");
        }
        TDialogLog dialogs({c.answer});
        std::optional<NextDialogs> backupWindow;
        if (c.backup == Backup::Cancelled)
            backupWindow.emplace(cancelRunningBackup());
        if (c.backup == Backup::NameTaken)
            backupWindow.emplace(closeFailedBackup());

        TShownMain *window = fWindow.get();
        const int status = RunMainWindow(*qApp, [&]() -> std::unique_ptr<QWidget> {
            QTimer::singleShot(0, window, [&] {
                QTest::mouseClick(window->findChild<QPushButton *>("btnProceed"), Qt::LeftButton);
                // The operator closes the window that stayed.
                if (window->isVisible())
                    window->close();
            });
            return std::move(fWindow);
        });
        backupWindow.reset();

        EXPECT_EQ(status, c.status);
        ASSERT_FALSE(dialogs.seen.isEmpty());
        EXPECT_TRUE(dialogs.seen.last().startsWith(c.told)) << dialogs.seen.last().toStdString();
        if (c.backup != Backup::Works || c.answer == No)
            EXPECT_EQ(rows(fDb->path()), baselineRows());
    }
}

// Sub-department 100012 and third-level department 12 would share one section if
// sections were numbered level x 100000 + id: ticking Gin would move Rum too, or Vodka,
// ticked under Spirits alone, would be missed by the update.
TEST_F(MainWindowTest, LargeIdsAreChangedApart)
{
    using namespace site;
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), sub(100012, 1, "Spirits", 1),
                      l3(12, 100012, "Gin", 1), product(1, "Dry gin", 1, 1, 100012, 12),
                      product(2, "Vodka", 1, 1, 100012), product(3, "Rum", 1, 1, 100012)});
    TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", db.path(), rmText);
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());
    QTreeWidget *tree = w.departmentTree();
    tree->expandAll();
    QTreeWidgetItem *spirits = tree->topLevelItem(0)->child(0);
    QTreeWidgetItem *gin = spirits->child(0);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, w.stateImageRect(gin).center());

    tree->setCurrentItem(spirits);
    TProductTable *table = w.productTable();
    ASSERT_EQ(table->fullKey(2), QStringLiteral("2_Vodka"));
    QTableView *lb = w.productGrid();
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {},
                      lb->visualRect(table->index(2, TProductTable::CHECKED)).center());

    ClockGuard clock(QDateTime(QDate(2023, 9, 5), QTime(9, 0)));
    TDialogLog dialogs({Yes});
    QTest::mouseClick(w.findChild<QPushButton *>("btnProceed"), Qt::LeftButton);

    ASSERT_EQ(dialogs.seen.size(), 2);
    EXPECT_EQ(dialogs.seen[0],
              confirmWith("Ticked: 0 departments, 0 sub-departments, 1 third-level department, 2 products."));
    EXPECT_TRUE(dialogs.seen[1].contains("3 rows changed")) << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()), QStringList({"D1 1/1", "S100012 1/1", "T12 2/2", "P1 2", "P2 2", "P3 1"}));
}

} // namespace
