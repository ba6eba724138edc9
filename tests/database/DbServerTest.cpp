// The same adapter through the Firebird server on loopback, with the program's login.
#include "tests/database/DbTestFixture.h"

namespace {

TEST(DbServer, ConnectsThroughLoopbackWithTheProgramsLogin)
{
    TTestDatabase db(
        {QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (1, 'Café & Crêpes €')")});
    TDbConnection conx;
    conx.setDatabase(db.serverPath());
    conx.open();
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select DESCRIPTION from TBL_DEPARTMENTS where DEPT_ID = :ID"));
    q.setInt(0, 1);
    q.open();
    EXPECT_EQ(q.field(QStringLiteral("DESCRIPTION")).asText(), QStringLiteral("Café & Crêpes €"));
    q.close();

    q.setSQL(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = :V where DEPT_ID = :ID"));
    q.setInt(0, 7);
    q.setInt(1, 1);
    q.execute();
    conx.commit();
    q.execute(); // again after the commit, on the server too
    conx.commit();
    q.setSQL(QStringLiteral("select count(*) from TBL_DEPT_LOG"));
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 2);
}

TEST(DbServer, RefusedLoginAndMissingFileCarryTheServersMessage)
{
    TTestDatabase db;
    TDbConnection conx;
    conx.setDatabase(db.serverPath());
    conx.setLogin({QStringLiteral("sysdba"), QStringLiteral("wrong")});
    const QString refused = errorOf([&] { conx.open(); });
    EXPECT_TRUE(refused.contains(QStringLiteral("user name and password"))) << refused.toStdString();

    conx.setLogin(TDbLogin::builtIn());
    conx.setDatabase(QStringLiteral("127.0.0.1:/nonexistent-folder/none.fdb"));
    const QString missing = errorOf([&] { conx.open(); });
    EXPECT_TRUE(missing.contains(QStringLiteral("/nonexistent-folder/none.fdb"))) << missing.toStdString();
}

} // namespace
