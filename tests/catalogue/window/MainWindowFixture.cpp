#include "tests/catalogue/window/MainWindowFixture.h"

#include "dialogs/TfmSplash.h"
#include "settings/uOrvoReg.h"

#include <QApplication>
#include <QTest>

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(fRegistry.isValid());
}

void MainWindowTest::TearDown()
{
    fWindow.reset();
}

TShownMain &MainWindowTest::showOn(const QString &databasePath)
{
    {
        TOrvoReg reg;
        reg.SetlastUsedDB(QStringLiteral("TEST"));
        reg.WriteString(QStringLiteral("Database\\List\\TEST"), QStringLiteral("ServerPath"), databasePath, 0);
    }
    fWindow = std::make_unique<TShownMain>();
    fWindow->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(fWindow.get()));
    return *fWindow;
}

bool MainWindowTest::splashAlive()
{
    for (QWidget *w : QApplication::allWidgets())
        if (qobject_cast<TfmSplash *>(w))
            return true;
    return false;
}
