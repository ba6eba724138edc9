// The one transaction of a connection: commit, commit-retaining, rollback, and what
// closing the connection does to work not committed.
#include "tests/database/DbTestFixture.h"

namespace {

class DbTransaction : public DbTest
{
protected:
    QStringList extraStatements() const override
    {
        return {QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID) values (1, 'Bar', 5)"),
                QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID) values (2, 'Food', 5)")};
    }

    void insertDepartment(TDbConnection &connection, int id)
    {
        TDbStatement q(connection);
        q.setSQL(QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (:ID, 'New')"));
        q.setInt(0, id);
        q.execute();
    }

    // Counted on a second attachment, so only committed rows are seen.
    int committedDepartments()
    {
        TDbConnection other;
        other.setDatabase(db->path());
        other.open();
        TDbStatement q(other);
        q.setSQL(QStringLiteral("select count(*) from TBL_DEPARTMENTS"));
        q.open();
        return q.field(0).asInteger();
    }
};

TEST_F(DbTransaction, CommitRetainingPublishesAndKeepsCursorsOpen)
{
    TDbStatement walk(conx);
    walk.setSQL(QStringLiteral("select DEPT_ID from TBL_DEPARTMENTS order by DEPT_ID"));
    walk.open();
    insertDepartment(conx, 3);
    conx.commitRetaining();
    EXPECT_TRUE(conx.inTransaction());
    EXPECT_EQ(committedDepartments(), 3);
    ASSERT_TRUE(walk.isOpen());
    walk.next();
    EXPECT_EQ(walk.field(0).asInteger(), 2);
    conx.rollback(); // the retained part stays committed
    EXPECT_EQ(committedDepartments(), 3);
}

TEST_F(DbTransaction, RollbackUndoesAndClosesCursors)
{
    TDbStatement walk(conx);
    walk.setSQL(QStringLiteral("select DEPT_ID from TBL_DEPARTMENTS"));
    walk.open();
    insertDepartment(conx, 3);
    conx.rollback();
    EXPECT_FALSE(conx.inTransaction());
    EXPECT_FALSE(walk.isOpen());
    EXPECT_TRUE(walk.eof());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), QStringLiteral("2"));
}

TEST_F(DbTransaction, ClosingRollsBackAndStatementsServeTheReopenedConnection)
{
    TDbStatement insert(conx);
    insert.setSQL(QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID) values (:ID)"));
    insert.setInt(0, 3);
    insert.execute();
    conx.close();
    EXPECT_FALSE(insert.isPrepared());
    EXPECT_EQ(committedDepartments(), 2);

    conx.open();
    insert.execute(); // same text and values, prepared again on the new attachment
    conx.commit();
    EXPECT_EQ(committedDepartments(), 3);
}

TEST_F(DbTransaction, LockTimeoutTurnsAWaitIntoAnError)
{
    TDbStatement update(conx);
    update.setSQL(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 3 where DEPT_ID = 1"));
    update.execute(); // holds the row until this transaction ends

    TDbConnection other;
    other.setDatabase(db->path());
    other.open();
    TDbTransactionOptions options;
    options.lockTimeoutSeconds = 1;
    other.startTransaction(options);
    EXPECT_FALSE(errorOf([&] { other.startTransaction(); }).isEmpty()); // one at a time
    const QString message = errorOf(
        [&] { other.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 9 where DEPT_ID = 1")); });
    EXPECT_TRUE(message.contains(QStringLiteral("concurrent update"))) << message.toStdString();
    other.rollback();

    options.lockTimeoutSeconds = 0;
    other.startTransaction(options);
    EXPECT_TRUE(errorOf([&] {
                    other.executeImmediate(QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = 9 where DEPT_ID = 1"));
                }).contains(QStringLiteral("deadlock")));
}

TEST_F(DbTransaction, SnapshotDoesNotSeeLaterCommits)
{
    TDbTransactionOptions options;
    options.isolation = TDbTransactionOptions::Isolation::Snapshot;
    options.readOnly = true;
    conx.startTransaction(options);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), QStringLiteral("2"));
    {
        TDbConnection other;
        other.setDatabase(db->path());
        other.open();
        insertDepartment(other, 3);
        other.commit();
    }
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), QStringLiteral("2"));
    EXPECT_FALSE(errorOf([&] { insertDepartment(conx, 4); }).isEmpty()); // read only
    conx.commit();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_DEPARTMENTS")), QStringLiteral("3"));
}

} // namespace
