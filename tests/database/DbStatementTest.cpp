// Statements: markers set by position, prepared once, run again after commits,
// and every failure reported with the database's own words.
#include "tests/database/DbTestFixture.h"

namespace {

class DbStatement : public DbTest
{
protected:
    QStringList extraStatements() const override
    {
        return {QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT)"
                               " values (1, 'Tea', 5, 10, 10)"),
                QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT)"
                               " values (2, 'Coffee', 5, 10, 20)"),
                QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT)"
                               " values (3, 'Scone', 3, 20, 10)")};
    }
};

TEST_F(DbStatement, RepeatedNameTakesAPositionEachTime)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select SID from TBL_PRODUCTS where DEPT_ID = :D and SUB_DEPT = :D"));
    ASSERT_EQ(q.paramCount(), 2);
    EXPECT_EQ(q.paramName(0), QStringLiteral("D"));
    EXPECT_EQ(q.paramName(1), QStringLiteral("D"));
    const struct
    {
        int first, second, sid;
    } cases[] = {{10, 10, 1}, {10, 20, 2}, {20, 10, 3}, {20, 20, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sid);
        q.setInt(0, c.first);
        q.setInt(1, c.second);
        q.open();
        EXPECT_EQ(q.field(QStringLiteral("SID")).asInteger(), c.sid);
        q.close();
    }
}

TEST_F(DbStatement, MarkerInsideALiteralIsStoredAsWritten)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION) values (:SID, 'Tea :SID at 10:30')"));
    ASSERT_EQ(q.paramCount(), 1);
    q.setInt(0, 99);
    q.execute();
    EXPECT_EQ(q.rowsAffected(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select DESCRIPTION from TBL_PRODUCTS where SID = 99")),
              QStringLiteral("Tea :SID at 10:30"));
}

TEST_F(DbStatement, PreparedOnceRunsAgainAfterEachCommit)
{
    TDbStatement insert(conx);
    insert.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID) values (:SID, :DSC, :V)"));
    TDbStatement count(conx);
    count.setSQL(QStringLiteral("select count(*) from TBL_PRODUCTS where SID >= :FROM_SID"));
    count.setInt(0, 100);
    for (int sid = 100; sid < 103; ++sid) {
        insert.setInt(0, sid);
        insert.setText(1, QStringLiteral("Item %1").arg(sid));
        insert.setInt64(2, 5);
        insert.execute();
        conx.commit();
        EXPECT_FALSE(conx.inTransaction());
        EXPECT_TRUE(insert.isPrepared());
        count.open();
        EXPECT_EQ(count.field(0).asInteger(), sid - 99);
        count.close();
        conx.commit();
    }
}

TEST_F(DbStatement, CursorWalksRowsAndClosesItselfAfterTheLast)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select SID, DESCRIPTION from TBL_PRODUCTS where VAT_ID = :V order by SID"));
    q.setInt(0, 5);
    QStringList seen;
    for (q.open(); !q.eof(); q.next())
        seen << q.field(QStringLiteral("sid")).asText() + u'=' + q.field(QStringLiteral("DESCRIPTION")).asText();
    EXPECT_EQ(seen, QStringList({QStringLiteral("1=Tea"), QStringLiteral("2=Coffee")}));
    EXPECT_FALSE(q.isOpen());
    // Past the last row, and for no row at all, a field reads as null: 0 and empty text.
    EXPECT_TRUE(q.field(QStringLiteral("SID")).isNull());
    EXPECT_EQ(q.field(QStringLiteral("SID")).asInteger(), 0);
    EXPECT_EQ(q.field(QStringLiteral("DESCRIPTION")).asText(), QString());
}

TEST_F(DbStatement, NullsReadAsZeroAndEmpty)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, L3DID) values (:SID, :DSC, :L3)"));
    q.setInt(0, 50);
    q.setNull(1);
    q.setNull(2);
    q.execute();
    q.setSQL(QStringLiteral("select DESCRIPTION, L3DID, PRICE from TBL_PRODUCTS where SID = 50"));
    q.open();
    EXPECT_TRUE(q.field(QStringLiteral("DESCRIPTION")).isNull());
    EXPECT_EQ(q.field(QStringLiteral("DESCRIPTION")).asText(), QString());
    EXPECT_EQ(q.field(QStringLiteral("L3DID")).asInteger(), 0);
    EXPECT_EQ(q.field(QStringLiteral("PRICE")).asText(), QString());
    EXPECT_EQ(q.field(QStringLiteral("PRICE")).asDouble(), 0.0);
}

TEST_F(DbStatement, ReturningGivesItsRowOnExecute)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("update TBL_PRODUCTS set VAT_ID = :NEW_VID where SID = :SID returning SID, VAT_ID"));
    q.setInt(0, 7);
    q.setInt(1, 3);
    q.execute();
    EXPECT_EQ(q.field(QStringLiteral("VAT_ID")).asInteger(), 7);
    EXPECT_EQ(q.rowsAffected(), 1);
}

TEST_F(DbStatement, GeneratorStepsByOneAndRefusesOddNames)
{
    EXPECT_EQ(conx.nextGeneratorValue(QStringLiteral("GEN_VAT")), 1);
    EXPECT_EQ(conx.nextGeneratorValue(QStringLiteral("gen_vat")), 2);
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select next value for GEN_VAT from rdb$database"));
    q.open();
    EXPECT_EQ(q.field(0).asInt64(), 3);
    EXPECT_FALSE(
        errorOf([&] { conx.nextGeneratorValue(QStringLiteral("GEN_VAT, 1) from rdb$database --")); }).isEmpty());
}

TEST_F(DbStatement, MisuseIsRefusedBeforeAnythingRuns)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("delete from TBL_PRODUCTS where SID = :SID or DEPT_ID = :DEPT"));
    q.setInt(0, 1);
    EXPECT_TRUE(errorOf([&] { q.execute(); }).contains(QStringLiteral(":DEPT")));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_PRODUCTS")), QStringLiteral("3"));

    EXPECT_FALSE(errorOf([&] { q.setInt(2, 1); }).isEmpty());
    EXPECT_FALSE(errorOf([&] { q.setText(0, QString(40000, u'x')); }).isEmpty());

    q.setSQL(QStringLiteral("select SID from TBL_PRODUCTS"));
    EXPECT_FALSE(errorOf([&] { q.execute(); }).isEmpty());
    q.open();
    EXPECT_TRUE(errorOf([&] { q.field(QStringLiteral("NO_SUCH")); }).contains(QStringLiteral("NO_SUCH")));
    EXPECT_FALSE(errorOf([&] { q.field(1); }).isEmpty());
}

// The table of failures that come from the database itself: the message is Firebird's.
TEST_F(DbStatement, DatabaseErrorsCarryFirebirdsMessage)
{
    struct Case
    {
        QString sql;
        QStringList fragments;
    };
    const Case cases[] = {
        {QStringLiteral("select * from NO_SUCH_TABLE"),
         {QStringLiteral("Table unknown"), QStringLiteral("NO_SUCH_TABLE")}},
        {QStringLiteral("select NO_COLUMN from TBL_PRODUCTS"),
         {QStringLiteral("Column unknown"), QStringLiteral("NO_COLUMN")}},
        {QStringLiteral("select from where"), {QStringLiteral("Token unknown")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        TDbStatement q(conx);
        q.setSQL(c.sql);
        const QString message = errorOf([&] { q.open(); });
        for (const QString &fragment : c.fragments)
            EXPECT_TRUE(message.contains(fragment)) << message.toStdString();
    }
    const QString duplicate =
        errorOf([&] { conx.executeImmediate(QStringLiteral("insert into TBL_PRODUCTS (SID) values (1)")); });
    EXPECT_TRUE(duplicate.contains(QStringLiteral("violation of PRIMARY or UNIQUE KEY"))) << duplicate.toStdString();
}

TEST(DbConnect, OpeningWhatIsNotThereFailsWithTheDatabasesMessage)
{
    TDbConnection conx;
    EXPECT_FALSE(errorOf([&] { conx.open(); }).isEmpty()); // no path set
    conx.setDatabase(QStringLiteral("/nonexistent-folder/none.fdb"));
    const QString message = errorOf([&] { conx.open(); });
    EXPECT_TRUE(message.contains(QStringLiteral("/nonexistent-folder/none.fdb"))) << message.toStdString();
    EXPECT_FALSE(conx.isOpen());
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select 1 from rdb$database"));
    EXPECT_TRUE(errorOf([&] { q.open(); }).contains(QStringLiteral("not open")));
}

} // namespace
