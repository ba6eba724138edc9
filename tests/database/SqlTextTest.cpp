// Markers and terminators are found only where the server would read them as code.
#include "database/SqlText.h"

#include <gtest/gtest.h>

namespace {

struct MarkerCase
{
    const char *sql;
    const char *expectedSql;
    QStringList expectedNames;
};

TEST(DbSqlText, ReplacesMarkersOutsideLiteralsAndComments)
{
    const MarkerCase cases[] = {
        {"select * from T where A = :A and B = :A", "select * from T where A = ? and B = ?", {"A", "A"}},
        {"insert into T values (:ID, 'Tea :ID at 10:30')", "insert into T values (?, 'Tea :ID at 10:30')", {"ID"}},
        {"select 'it''s :X' from T where A=:Y", "select 'it''s :X' from T where A=?", {"Y"}},
        {"select \"odd:NAME\" from T where A = :K", "select \"odd:NAME\" from T where A = ?", {"K"}},
        {"select A -- :C is a comment\nfrom T where B = :B", "select A -- :C is a comment\nfrom T where B = ?", {"B"}},
        {"select /* :C\n:D */ A from T where B=:b_1$", "select /* :C\n:D */ A from T where B=?", {"b_1$"}},
        {"select A from T where B = ? and C = :C", "select A from T where B = ? and C = ?", {"", "C"}},
        {"select A from T where B = :1 or C = : D", "select A from T where B = :1 or C = : D", {}},
        {"select 'unterminated :X", "select 'unterminated :X", {}},
        // A block's body names its own variables with a colon: only its input list takes markers.
        {"execute block (V integer = :V, S varchar(10) = ?) as declare X int; begin X = :V; end",
         "execute block (V integer = ?, S varchar(10) = ?) as declare X int; begin X = :V; end",
         {"V", ""}},
        {" /* c */ EXECUTE\n BLOCK as begin update T set A = :A; end",
         " /* c */ EXECUTE\n BLOCK as begin update T set A = :A; end",
         {}},
        {"select A from execute_block_view where B = :B", "select A from execute_block_view where B = ?", {"B"}},
    };
    for (const MarkerCase &c : cases) {
        SCOPED_TRACE(c.sql);
        const TSqlParams parsed = replaceParamMarkers(QString::fromUtf8(c.sql));
        EXPECT_EQ(parsed.sql, QString::fromUtf8(c.expectedSql));
        EXPECT_EQ(parsed.names, c.expectedNames);
    }
}

TEST(DbSqlText, SplitsScriptsAtTheTerminatorInForce)
{
    const QString script = QStringLiteral("-- heading comment; not a statement\n"
                                          "create table T (A varchar(10));\n"
                                          "insert into T values ('a;b');  /* trailing; comment */\n"
                                          "SET TERM ^ ;\n"
                                          "create trigger X for T after insert as begin\n"
                                          "  insert into U values (1);\n"
                                          "end^\n"
                                          "set term ; ^\n"
                                          "commit;\n"
                                          "select 1 from rdb$database");
    const QStringList statements = splitSqlScript(script);
    ASSERT_EQ(statements.size(), 5) << statements.join(QStringLiteral("\n|\n")).toStdString();
    EXPECT_EQ(statements[0], QStringLiteral("create table T (A varchar(10))"));
    EXPECT_EQ(statements[1], QStringLiteral("insert into T values ('a;b')"));
    EXPECT_TRUE(statements[2].startsWith(QStringLiteral("create trigger X")));
    EXPECT_TRUE(statements[2].endsWith(QStringLiteral("insert into U values (1);\nend")));
    EXPECT_EQ(statements[3], QStringLiteral("commit"));
    EXPECT_EQ(statements[4], QStringLiteral("select 1 from rdb$database"));
}

} // namespace
