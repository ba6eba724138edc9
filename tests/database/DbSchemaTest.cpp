// The schema the program works on, and the list of user tables it asks for.
#include "tests/database/DbTestFixture.h"

namespace {

class DbSchema : public DbTest
{
protected:
    QStringList extraStatements() const override
    {
        return {
            QStringLiteral("create view V_ACTIVE_DEPARTMENTS as select * from TBL_DEPARTMENTS where IS_ACTIVE = 'Y'"),
            QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID) values (1, 'Bar', 5)")};
    }
};

TEST_F(DbSchema, UserTablesArePlainTablesOnly)
{
    const QStringList tables = conx.userTables();
    for (const char *name :
         {"TBL_SETUP", "TBL_VAT_CODES", "TBL_DEPARTMENTS", "TBL_SUB_DEPARTMENTS", "TBL_L3DEPARTMENTS", "TBL_PRODUCTS"})
        EXPECT_TRUE(tables.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(tables.contains(QStringLiteral("V_ACTIVE_DEPARTMENTS")));
    for (const QString &table : tables)
        EXPECT_FALSE(table.startsWith(QStringLiteral("RDB$")) || table.startsWith(QStringLiteral("MON$")))
            << table.toStdString();
}

TEST_F(DbSchema, ThirdLevelAsAViewIsNoTable)
{
    conx.close();
    db->run({QStringLiteral("drop table TBL_L3DEPARTMENTS"),
             QStringLiteral("create view TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION) as"
                            " select SUB_DEPT, DEPT_ID, DESCRIPTION from TBL_SUB_DEPARTMENTS")});
    conx.open();
    EXPECT_FALSE(conx.userTables().contains(QStringLiteral("TBL_L3DEPARTMENTS")));
}

TEST_F(DbSchema, DepartmentTriggerLogsUpdatesWhileActive)
{
    conx.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 7 where DEPT_ID = 1"));
    EXPECT_EQ(scalar(QStringLiteral("select NEW_VAT_ID from TBL_DEPT_LOG")), QStringLiteral("7"));

    conx.executeImmediate(QStringLiteral("alter trigger TAU_DEPT inactive"));
    conx.commit();
    conx.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 8 where DEPT_ID = 1"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPT_LOG")), QStringLiteral("1"));
}

TEST_F(DbSchema, ScriptsKeepProcedureVariablesAndCommitAsTheyGo)
{
    conx.close();
    db->runScript(QStringLiteral("SET NAMES UTF8;\n"
                                 "create table T_TOTALS (N integer, NOTE varchar(20) character set WIN1252);\n"
                                 "SET TERM ^ ;\n"
                                 "create procedure P_COUNT returns (TOTAL integer) as\n"
                                 "begin\n"
                                 "  select count(*) from TBL_DEPARTMENTS into :TOTAL; -- a variable, not a marker\n"
                                 "  suspend;\n"
                                 "end^\n"
                                 "SET TERM ; ^\n"
                                 "insert into T_TOTALS select TOTAL, 'Café ; €' from P_COUNT;\n"));
    conx.open();
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select N, NOTE from T_TOTALS"));
    q.open();
    EXPECT_EQ(q.field(QStringLiteral("N")).asInteger(), 1);
    EXPECT_EQ(q.field(QStringLiteral("NOTE")).asText(), QStringLiteral("Café ; €"));
}

TEST(DbSchemaEmpty, EmptyDatabaseHasNoUserTables)
{
    TTestDatabase db({QStringLiteral("create table T_ONLY (A integer)")}, TTestDatabase::Schema::Empty);
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    EXPECT_EQ(conx.userTables(), QStringList{QStringLiteral("T_ONLY")});
}

} // namespace
