// Whether a change record's database is the connection's: the same file however the
// path leads there, the same host and path for a server's database, and never a
// different database.
#include "catalogue/changeover/SameDatabase.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SameDatabase, ComparesTheDatabaseNotTheText)
{
    // Real files: a/pos.fdb and b/pos.fdb, a link to the first and a link to its folder.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("b"));
    writeFile(dir.filePath("a/pos.fdb"), "one");
    writeFile(dir.filePath("b/pos.fdb"), "other");
    ASSERT_TRUE(QFile::link(dir.filePath("a/pos.fdb"), dir.filePath("pos-link.fdb")));
    ASSERT_TRUE(QFile::link(dir.filePath("a"), dir.filePath("a-link")));

    struct Case
    {
        QString recorded, connected;
        bool same;
    };
    const QString d = dir.path();
    const QString pos = d + "/a/pos.fdb";
    const Case cases[] = {
        {pos, pos, true},
        {d + "/a/../a/pos.fdb", pos, true},
        {d + "/a/./pos.fdb", pos, true},
        {d + "//a//pos.fdb", pos, true},
        {d + "/pos-link.fdb", pos, true},
        {d + "/a-link/pos.fdb", pos, true},
        {d + "/b/pos.fdb", pos, false},
        {d + "/b/../a/../b/pos.fdb", pos, false},
        {d + "/a/POS.fdb", pos, false},
        {d + "/gone/pos.fdb", pos, false},
        {pos, d + "/gone/pos.fdb", false},
        {"C:\\Data\\pos.fdb", "c:/DATA/Sub/../POS.FDB", true},
        {"C:\\Data\\pos.fdb", "D:\\Data\\pos.fdb", false},
        {"shop:/data/pos.fdb", "shop:/data/./old/../pos.fdb", true},
        {"SHOP:/data/pos.fdb", "shop:/data/pos.fdb", true},
        {"shop:/data/pos.fdb", "till:/data/pos.fdb", false},
        {"shop:/data/pos.fdb", "shop:/data/POS.fdb", false},
        {"shop:/data/pos.fdb", "/data/pos.fdb", false},
        {"shop:C:\\Data\\POS.FDB", "Shop:c:/data/x/../pos.fdb", true},
        {"shop:C:\\Data\\pos.fdb", "shop:D:\\Data\\pos.fdb", false},
        {"shop/3051:C:\\pos.fdb", "shop/3050:C:\\pos.fdb", false},
        {"shop:" + pos, "shop:" + d + "/pos-link.fdb", false}, // the server's files are not looked at here
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.recorded + " | " + c.connected).toStdString());
        EXPECT_EQ(sameDatabase(c.recorded, c.connected), c.same);
        EXPECT_EQ(sameDatabase(c.connected, c.recorded), c.same);
    }
}

} // namespace
