// The window reaching its database through the Firebird server on loopback, as the
// back office's server path names it.
#include "catalogue/core/ProductTable.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"

#include <QTreeWidget>

using namespace site;

namespace {

TEST_F(MainWindowTest, ShowsTheTreeThroughTheServer)
{
    LocaleGuard locale(commaLocale());
    TTestDatabase db({vat(1, "9", 5), dept(1, "Crêpes & Café €", 1), product(1, "Crème brûlée", 1, 1),
                      "alter sequence GEN_VAT restart with 5"});
    TShownMain &w = showOn(db.serverPath());
    ASSERT_EQ(w.error, QString());
    ASSERT_EQ(w.departmentTree()->topLevelItemCount(), 1);
    EXPECT_EQ(w.departmentTree()->topLevelItem(0)->text(0), QStringLiteral("Crêpes & Café €          9,00%"));
    EXPECT_EQ(w.productTable()->fullKey(0), QStringLiteral("1_Crème brûlée"));
    EXPECT_EQ(w.newVatID(), 6);
}

TEST_F(MainWindowTest, ALoginTheServerRefusesIsToldWithTheDatabaseAndWhatToCheck)
{
    TTestDatabase db({vat(1, "9", 5), dept(1, "Bar", 1)});
    TOrvoReg().WriteString(QStringLiteral("Database\\List\\TEST"), kDatabasePasswordValue,
                           QStringLiteral("Not-The-Password"), rmText);
    TShownMain &w = showOn(db.serverPath());
    EXPECT_TRUE(w.error.startsWith(
        QStringLiteral("The database \"%1\" could not be opened. Check that the database server \"127.0.0.1\" is "
                       "running")
            .arg(db.serverPath())))
        << w.error.toStdString();
    EXPECT_TRUE(w.error.contains(QStringLiteral("values DatabaseUser and DatabasePassword: check it too.\r\n\r\n")))
        << w.error.toStdString();
    EXPECT_FALSE(w.error.contains(QStringLiteral("Not-The-Password"))) << w.error.toStdString();
    EXPECT_EQ(w.departmentTree()->topLevelItemCount(), 0);
}

} // namespace
