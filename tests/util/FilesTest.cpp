// Folder names, the running executable and file sizes.
#include "util/Files.h"
#include "tests/support/QStringPrinter.h"
#include "tests/util/UtilsFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST_F(Utils, IncludeBackslashEndsWithTheSeparatorAndCreatesOnRequest)
{
    const QString sep = QDir::separator();
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString base = temp.path();

    EXPECT_EQ(IncludeBackslash(base + sep + "Pos", false), base + sep + "Pos" + sep);
    EXPECT_EQ(IncludeBackslash(base + sep + "Pos" + sep, false), base + sep + "Pos" + sep);
    EXPECT_EQ(IncludeBackslash("", false), sep);
    EXPECT_FALSE(QFileInfo::exists(base + sep + "Pos"));

    const QString nested = base + sep + "a" + sep + "b" + sep + "c";
    EXPECT_EQ(IncludeBackslash(nested, true), nested + sep);
    EXPECT_TRUE(QFileInfo(nested).isDir());

    // a folder that cannot be made is not reported
    QFile blocker(base + sep + "file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(IncludeBackslash(blocker.fileName() + sep + "sub", true), blocker.fileName() + sep + "sub" + sep);
    EXPECT_FALSE(QFileInfo::exists(blocker.fileName() + sep + "sub"));
}

TEST(ModuleFile, NamesTheRunningExecutableWithOrWithoutAnApplication)
{
    const QString withoutApplication = ModuleFileName();
    const QFileInfo info(withoutApplication);
    EXPECT_TRUE(info.isAbsolute());
    EXPECT_TRUE(info.isExecutable());
    EXPECT_EQ(info.fileName(), "util_test");

    int argc = 1;
    char name[] = "util_test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    EXPECT_EQ(ModuleFileName(), withoutApplication);
}

class FileSize : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }
    QString path(const QString &name) const { return temp.filePath(name); }
    void makeFile(const QString &name, qint64 size)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(size));
    }
    QTemporaryDir temp;
};

TEST_F(FileSize, GivesTheSizeOfTheFirstMatchOrMinusOne)
{
    makeFile("b.fbk", 300);
    makeFile("a.fbk", 1234);
    makeFile("empty.txt", 0);
    QDir(temp.path()).mkdir("folder.fbk.d");

    EXPECT_EQ(FileSizeOf(path("a.fbk")), 1234);
    EXPECT_EQ(FileSizeOf(path("empty.txt")), 0);
    EXPECT_EQ(FileSizeOf(path("missing.fbk")), -1);
    EXPECT_EQ(FileSizeOf(path("*.fbk")), 1234);
    EXPECT_EQ(FileSizeOf(path("b.fb?")), 300);
    EXPECT_EQ(FileSizeOf(path("*.zip")), -1);
    EXPECT_EQ(FileSizeOf(path("nowhere/*.fbk")), -1);
    EXPECT_EQ(FileSizeOf(path("folder.fbk.d")), 0);
}

TEST_F(FileSize, KeepsTheLow32BitsAsASignedNumber)
{
    // sparse files: no disk space is used
    makeFile("over4g", (qint64(1) << 32) + 10);
    makeFile("over2g", qint64(3) << 30);
    EXPECT_EQ(FileSizeOf(path("over4g")), 10);
    EXPECT_EQ(FileSizeOf(path("over2g")), -(qint64(1) << 30));
}

} // namespace
