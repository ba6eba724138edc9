// The change record as a file: what a spreadsheet is given, what reads back, and the
// records that must be refused before anything is put back.
#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/TickCounts.h"
#include "tests/support/FullFolder.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

TChangedRow changed(TChangedTable table, qint32 id, const QString &description, std::optional<qint32> oldSales,
                    std::optional<qint32> oldPurchase, std::optional<qint32> newSales,
                    std::optional<qint32> newPurchase)
{
    return {table, id, description, oldSales, oldPurchase, newSales, newPurchase};
}

TChangeRecord sampleRecord()
{
    TChangeRecord record;
    record.database = QStringLiteral("127.0.0.1:/srv/pos/shop, main.fdb");
    record.siteID = 7;
    record.time = QDateTime(QDate(2023, 9, 1), QTime(8, 30, 5));
    record.program = QStringLiteral("Pordane 2023 1.0");
    record.madeBy = QStringLiteral("Changeover");
    record.rows = {
        changed(TChangedTable::Department, 1, "Bar", 1, 1, 2, 2),
        changed(TChangedTable::SubDepartment, 10, "Beer, \"craft\"", std::nullopt, 3, 2, 2),
        changed(TChangedTable::ThirdLevel, 100, "Café crème", 1, std::nullopt, 2, 2),
        changed(TChangedTable::Product, -4, "=1+2", 1, std::nullopt, 2, std::nullopt),
        changed(TChangedTable::Product, 123456, " Soup ", 0, std::nullopt, 2, std::nullopt),
    };
    record.rates = {{0, "0"}, {1, "9"}, {2, "13.5"}, {3, "23"}};
    return record;
}

const QByteArray kSampleText = "\xEF\xBB\xBF"
                               "Pordane 2023 change record\r\n"
                               "Database,\"127.0.0.1:/srv/pos/shop, main.fdb\"\r\n"
                               "Site,7\r\n"
                               "Time,2023-09-01 08:30:05\r\n"
                               "Program,Pordane 2023 1.0\r\n"
                               "Made by,Changeover\r\n"
                               "Rows,5\r\n"
                               "Texts,\"As stored, line breaks included; an apostrophe before a text is not part "
                               "of it\"\r\n"
                               "Digest,ee8fa117ec95465de3845f29ed7b18b6504241868c4253e7f6f2af8cc625066b\r\n"
                               "\r\n"
                               "Table,Id,Description,Old sales code,Old sales rate,Old purchase code,New sales code,"
                               "New sales rate,New purchase code\r\n"
                               "Department,1,Bar,1,9,1,2,13.5,2\r\n"
                               "Sub-department,10,\"Beer, \"\"craft\"\"\",,,3,2,13.5,2\r\n"
                               "Third-level department,100,Caf\xC3\xA9 cr\xC3\xA8me,1,9,,2,13.5,2\r\n"
                               "Product,-4,\"'=1+2\",1,9,,2,13.5,\r\n"
                               "Product,123456,\" Soup \",0,0,,2,13.5,\r\n";

TEST(ChangeRecord, IsTheCsvASpreadsheetOpensAsItIs)
{
    EXPECT_EQ(changeRecordBytes(sampleRecord()), kSampleText);
}

TEST(ChangeRecord, ReadsBackWhatWasWritten)
{
    QTemporaryDir dir;
    const QString path = changeRecordPath(dir.filePath("7-230901083005.fbk"));
    EXPECT_TRUE(path.endsWith("7-230901083005.fbk.changes.csv"));
    writeChangeRecord(path, sampleRecord());
    EXPECT_FALSE(QFile::exists(path + ".tmp")); // nothing left beside it

    const TChangeRecord read = readChangeRecord(path);
    const TChangeRecord expected = sampleRecord();
    EXPECT_EQ(read.database, expected.database);
    EXPECT_EQ(read.siteID, 7);
    EXPECT_EQ(read.time, expected.time);
    EXPECT_EQ(read.program, expected.program);
    EXPECT_EQ(read.madeBy, expected.madeBy);
    EXPECT_EQ(read.rows, expected.rows); // "=1+2" too, its guard dropped
    EXPECT_TRUE(read.sealed);
}

// Every text reads back exactly as it was, while no field of the file opens with what a
// spreadsheet would run as a formula.
TEST(ChangeRecord, EveryTextReadsBackExactly)
{
    const struct
    {
        QString text;
        QByteArray written; // the field in the file
    } cases[] = {
        {"Two\r\nlines", "\"Two\r\nlines\""},
        {"Lone\rreturn", "\"Lone\rreturn\""},
        {"Line\nfeed", "\"Line\nfeed\""},
        {"\r\n", "\"'\r\n\""},
        {"Say \"hi\",\r\nthen go", "\"Say \"\"hi\"\",\r\nthen go\""},
        {"=1+2", "\"'=1+2\""},
        {"@home", "\"'@home\""},
        {"\tTab", "\"'\tTab\""},
        {"\r=1+2", "\"'\r=1+2\""},
        {"'quoted", "\"''quoted\""},
        {"''", "\"'''\""},
        {"-5", "-5"},
        {"It's", "It's"},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TChangeRecord record = sampleRecord();
        record.database = c.text;
        record.rows = {changed(TChangedTable::Product, 1, c.text, 1, std::nullopt, 2, std::nullopt)};
        const QByteArray bytes = changeRecordBytes(record);
        EXPECT_TRUE(bytes.contains("\r\nDatabase," + c.written + "\r\n")) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains("\r\nProduct,1," + c.written + ",1,9,,2,13.5,\r\n")) << bytes.toStdString();
        const TChangeRecord read = parseChangeRecord(bytes, "r.csv");
        EXPECT_EQ(read.database, c.text);
        EXPECT_EQ(read.rows, record.rows);
        EXPECT_TRUE(holdsRecordedDescription(read.rows[0], c.text));
    }
}

// The record of a run whose commit failed: one line more in its header, and the same
// digest of the same rows.
QByteArray unknownOutcomeText()
{
    QByteArray text = kSampleText;
    return text.insert(text.indexOf("Texts,"), "Outcome,Unknown (committing the changes failed)\r\n");
}

TEST(ChangeRecord, OfUnknownOutcomeSaysSoInItsHeaderAndReadsBack)
{
    TChangeRecord record = sampleRecord();
    record.outcomeUnknown = true;
    EXPECT_EQ(changeRecordBytes(record), unknownOutcomeText());

    const TChangeRecord read = parseChangeRecord(unknownOutcomeText(), "unknown.csv");
    EXPECT_TRUE(read.outcomeUnknown);
    EXPECT_TRUE(read.sealed);
    EXPECT_EQ(read.rows.size(), 5);
    EXPECT_FALSE(parseChangeRecord(kSampleText, "known.csv").outcomeUnknown);
}

TEST(ChangeRecord, SavedAgainBySpreadsheetStillReads)
{
    // Without the byte-order mark, LF line ends, every line padded with commas.
    QByteArray text = kSampleText.mid(3);
    text.replace("\r\n", ",,\n");
    const TChangeRecord read = parseChangeRecord(text, "again.csv");
    EXPECT_EQ(read.rows.size(), 5);
    EXPECT_TRUE(read.sealed);
}

// A record written before records kept texts exactly: the same without the line "Texts".
QByteArray olderText()
{
    QByteArray text = kSampleText;
    return text.remove(text.indexOf("Texts,"), text.indexOf("Digest,") - text.indexOf("Texts,"));
}

// A record written before records had a digest: the older one without its digest line.
QByteArray unsealedText()
{
    QByteArray text = olderText();
    return text.remove(text.indexOf("Digest,"), text.indexOf("\r\n\r\n") - text.indexOf("Digest,") + 2);
}

// An older record reads as it was written, its digest still holds, and its descriptions
// are compared with the database's as such a record wrote them.
TEST(ChangeRecord, AnOlderRecordStillReadsAndItsDigestHolds)
{
    const TChangeRecord read = parseChangeRecord(olderText(), "older.csv");
    EXPECT_TRUE(read.sealed);
    ASSERT_EQ(read.rows.size(), 5);
    for (const TChangedRow &row : read.rows)
        EXPECT_TRUE(row.descriptionFolded);
    EXPECT_EQ(read.rows[3].description, "'=1+2");

    const struct
    {
        QString recorded;
        QString now;
        bool same;
    } cases[] = {
        {"'=1+2", "=1+2", true},
        {"'=1+2", "=1+3", false},
        {"Two  lines", "Two\r\nlines", true},
        {"Two  lines", "Two  lines", true},
        {"Two lines", "Two\r\nlines", false},
        {"'quoted", "'quoted", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.recorded + " / " + c.now).toStdString());
        TChangedRow older = read.rows[3];
        older.description = c.recorded;
        EXPECT_EQ(holdsRecordedDescription(older, c.now), c.same);
    }
    // Read from a record written now, a row is compared exactly.
    TChangedRow exact = read.rows[3];
    exact.descriptionFolded = false;
    exact.description = "Two\r\nlines";
    EXPECT_TRUE(holdsRecordedDescription(exact, "Two\r\nlines"));
    EXPECT_FALSE(holdsRecordedDescription(exact, "Two  lines"));
    EXPECT_FALSE(holdsRecordedDescription(exact, "Two\nlines"));
}

TEST(ChangeRecord, WithoutADigestReadsOnlyWhenTheFileWasWrittenWithTheRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.changes.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(unsealedText());
    file.close();
    const QDateTime made(QDate(2023, 9, 1), QTime(8, 30, 5));
    struct WrittenAt
    {
        qint64 secondsAfter;
        bool taken;
    };
    for (const WrittenAt &written : {WrittenAt{0, true}, WrittenAt{2, true}, WrittenAt{4 * 60, true},
                                     WrittenAt{6 * 60, false}, WrittenAt{-3600, false}, WrittenAt{86400, false}}) {
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(made.addSecs(written.secondsAfter), QFileDevice::FileModificationTime));
        file.close();
        try {
            const TChangeRecord read = readChangeRecord(path);
            EXPECT_TRUE(written.taken) << written.secondsAfter;
            EXPECT_FALSE(read.sealed);
            EXPECT_EQ(read.rows.size(), 5);
        } catch (const std::exception &e) {
            EXPECT_FALSE(written.taken) << written.secondsAfter << ": " << e.what();
            EXPECT_TRUE(QString(e.what()).startsWith("The change record \"" + path
                                                     + "\" cannot be used: it has no "
                                                       "digest of its rows"))
                << e.what();
            EXPECT_TRUE(QString(e.what()).endsWith("the record was changed after it was written.")) << e.what();
        }
    }
}

struct RefusedCase
{
    const char *name;
    QByteArray bytes;
    const char *says; // after "line <n>: "
};

void PrintTo(const RefusedCase &c, std::ostream *os)
{
    *os << c.name;
}

QByteArray sampleWith(const QByteArray &from, const QByteArray &to)
{
    QByteArray text = kSampleText;
    return text.replace(from, to);
}

class RefusedRecord : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedRecord, NamesTheFileAndTheLine)
{
    const RefusedCase &c = GetParam();
    try {
        parseChangeRecord(c.bytes, "/records/r.csv");
        FAIL() << "accepted";
    } catch (const std::exception &e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_TRUE(message.startsWith("The change record \"/records/r.csv\" cannot be used: ")) << e.what();
        EXPECT_TRUE(message.contains(c.says)) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedRecord,
    ::testing::Values(
        RefusedCase{"Empty", "", "line 1: the file ends here"},
        RefusedCase{"Nonsense", "hello,world\r\n", "line 1: it does not begin"},
        RefusedCase{"CutAfterTheHeader", kSampleText.left(kSampleText.indexOf("Rows")), "line 7: the file ends here"},
        RefusedCase{"CutBeforeTheLastRow", kSampleText.left(kSampleText.indexOf("Product,123456")),
                    "line 15: the record names 5 rows but holds 4"},
        RefusedCase{"CutInsideAQuotedField", kSampleText.left(kSampleText.indexOf("craft")),
                    "line 13: a quoted field is not closed"},
        RefusedCase{"InUtf16", "\xFF\xFEP\0o\0", "line 1: the file is in UTF-16"},
        RefusedCase{"InAnotherEightBitEncoding", sampleWith("Caf\xC3\xA9", "Caf\xE9"),
                    "line 14: the text is not UTF-8"},
        RefusedCase{"SiteNotANumber", sampleWith("Site,7", "Site,seven"), "line 3: \"seven\" is not a site number"},
        RefusedCase{"TimeUnreadable", sampleWith("2023-09-01 08:30:05", "1 Sep 2023"), "line 4: \"1 Sep 2023\""},
        RefusedCase{"HeaderKeyRenamed", sampleWith("Made by,", "Author,"), "line 6: \"Made by,<value>\""},
        RefusedCase{"ColumnsChanged", sampleWith("Old sales rate", "Old rate"), "line 11: the column titles"},
        RefusedCase{"UnknownTable", sampleWith("Department,1", "Dept,1"), "line 12: \"Dept\" is not a table"},
        RefusedCase{"IdNotANumber", sampleWith("Department,1,", "Department,one,"), "line 12: \"one\" is not a row id"},
        RefusedCase{"CodeNotANumber", sampleWith("Bar,1,9", "Bar,x,9"), "line 12: \"x\" is not a sales code"},
        RefusedCase{"ProductWithAPurchaseCode", sampleWith("13.5,\r\nProduct,123456", "13.5,2\r\nProduct,123456"),
                    "line 15: a product has no purchase code"},
        RefusedCase{"ARowTooMany", kSampleText + "Product,5,Tea,1,9,,2,13.5,\r\n",
                    "line 17: the record names 5 rows but holds 6"},
        // Fewer fields than columns: a row cut short, never a row whose codes are empty.
        RefusedCase{"ARowShortOfFields", sampleWith("Product,123456,\" Soup \",0,0,,2,13.5,", "Product,1001,Soup"),
                    "line 16: it has 3 fields, not 9"},
        RefusedCase{"ARowShortOfFieldsWithoutADigest",
                    unsealedText().replace("Product,123456,\" Soup \",0,0,,2,13.5,", "Product,1001,Soup"),
                    "line 14: it has 3 fields, not 9"},
        // Edited since: every change to the rows, however it keeps the file whole.
        RefusedCase{"ACodeEdited", sampleWith("Bar,1,9,1,2", "Bar,3,9,1,2"),
                    "line 9: its rows do not match their digest: the record was changed after it was written"},
        RefusedCase{"ADescriptionEdited", sampleWith("Department,1,Bar,", "Department,1,Pub,"),
                    "line 9: its rows do not match their digest"},
        RefusedCase{"ARowRemovedAndTheCountMended",
                    sampleWith("Rows,5", "Rows,4").replace("Product,-4,\"'=1+2\",1,9,,2,13.5,\r\n", ""),
                    "line 9: its rows do not match their digest"},
        RefusedCase{"ADigestEdited", sampleWith("Digest,ee8f", "Digest,ee8e"),
                    "line 9: its rows do not match their digest"},
        RefusedCase{"ACodeEditedInARecordOfUnknownOutcome", unknownOutcomeText().replace("Bar,1,9,1,2", "Bar,3,9,1,2"),
                    "line 10: its rows do not match their digest"},
        RefusedCase{"AnOutcomeOtherThanUnknown", sampleWith("Texts,", "Outcome,Committed\r\nTexts,"),
                    "line 8: \"Outcome,Unknown (committing the changes failed)\" was expected"},
        RefusedCase{"ADigestEmptied",
                    sampleWith("ee8fa117ec95465de3845f29ed7b18b6504241868c4253e7f6f2af8cc625066b", ""),
                    "line 9: its rows do not match their digest"},
        RefusedCase{"TextsOtherThanExact", sampleWith("Texts,\"As stored", "Texts,\"Stored"),
                    "line 8: \"Texts,As stored, line breaks included; an apostrophe before a text is not part of "
                    "it\" was expected"},
        // A line break in a description saved again as another one is a changed description.
        RefusedCase{"ALineBreakInADescriptionChanged", sampleWith("Department,1,Bar,", "Department,1,\"B\nar\","),
                    "line 9: its rows do not match their digest"},
        RefusedCase{"AfterALineBreakInAFieldLinesCountOn",
                    sampleWith("Department,1,Bar,1,9,1,2,13.5,2", "Department,1,\"B\r\nar\",1,9,1,2,13.5,2\r\nDept,2"),
                    "line 14: it has 2 fields, not 9"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ChangeRecord, AMissingOrUnwritableFileIsNamed)
{
    EXPECT_THROW(
        {
            try {
                readChangeRecord("/no/such/record.csv");
            } catch (const std::exception &e) {
                EXPECT_STREQ(e.what(), "The change record \"/no/such/record.csv\" does not exist.");
                throw;
            }
        },
        std::exception);
    try {
        writeChangeRecord("/no/such/folder/record.csv", sampleRecord());
        FAIL() << "written";
    } catch (const std::exception &e) {
        EXPECT_TRUE(QString(e.what()).startsWith("The change record \"/no/such/folder/record.csv\" could not be "
                                                 "written: "))
            << e.what();
    }
}

QString writeError(const QString &path)
{
    try {
        writeChangeRecord(path, sampleRecord());
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(written)");
}

QString readError(const QString &path)
{
    try {
        readChangeRecord(path);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(read)");
}

// The disk took none of it: a record that is not whole must never be taken for written.
TEST(ChangeRecord, OnAFullDiskIsNotWrittenAndSaysSo)
{
    TFullFolder full;
    if (!full.available())
        GTEST_SKIP() << full.reason().toStdString();
    const QString path = full.filePath("7-230901083005.fbk.changes.csv");

    EXPECT_EQ(writeError(path),
              QStringLiteral("The change record \"%1\" could not be written: No space left on device").arg(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(path + ".tmp"));
}

// Whatever is at the record's name stays as it was: no file is replaced, no link followed.
TEST(ChangeRecord, NeverReplacesNorFollowsWhatIsAtItsName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("7-230901083005.fbk.changes.csv");
    const QString target = dir.filePath("elsewhere.csv");
    const struct
    {
        const char *what;
        std::function<void()> plant;
    } cases[] = {
        {"a file", [&] { writeFile(path, "planted"); }},
        {"a link to a file",
         [&] {
             writeFile(target, "planted");
             QFile::link(target, path);
         }},
        {"a link to no file", [&] { QFile::link(target, path); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.plant();
        const QByteArray targetBefore = fileBytes(target);

        EXPECT_EQ(writeError(path),
                  QStringLiteral("The change record \"%1\" could not be written: a file of that "
                                 "name is already there")
                      .arg(path));
        EXPECT_EQ(fileBytes(target), targetBefore);
        EXPECT_EQ(QFileInfo::exists(target), !targetBefore.isEmpty());
        if (QFileInfo(path).isSymLink())
            EXPECT_EQ(QFileInfo(path).symLinkTarget(), target);
        else
            EXPECT_EQ(fileBytes(path), "planted");
        QFile::remove(path);
        QFile::remove(target);
    }
}

// A record given to --revert that is no file: nothing waits on it, nor reads it without end.
TEST(ChangeRecord, OnlyAFileOfARecordsSizeIsRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = dir.filePath("large.csv");
    {
        QFile sparse(large);
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(64 * 1024 * 1024 + 1));
    }
    // Opened by a writer that comes late, the pipe lets a reader that waits on it go on,
    // so that a wait ends in a failure instead of a hang.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread lateWriter([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; }))
            return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    const QString notAFile = QStringLiteral(": it is not a file but a device, a pipe or a folder");
    const struct
    {
        QString path;
        QString error;
    } cases[] = {
        {"/dev/zero", "The change record \"/dev/zero\" could not be read" + notAFile},
        {fifo, "The change record \"" + fifo + "\" could not be read" + notAFile},
        {dir.path(), "The change record \"" + dir.path() + "\" could not be read" + notAFile},
        {large,
         "The change record \"" + large
             + "\" could not be read: it holds 67108865 bytes, more than the 64 MB a change record may hold"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(readError(c.path), c.error);
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_one();
    lateWriter.join();
}

struct CountsCase
{
    const char *name;
    std::array<int, 4> counts; // departments by level, products
    const char *text;
};

void PrintTo(const CountsCase &c, std::ostream *os)
{
    *os << c.name;
}

class TickCounts : public ::testing::TestWithParam<CountsCase>
{
};

TEST_P(TickCounts, SayWhatIsAboutToChange)
{
    LocaleGuard locale(englishLocale());
    const CountsCase &c = GetParam();
    TChangeoverPlan plan;
    for (int level = 0; level < 3; ++level)
        for (int i = 0; i < c.counts[level]; ++i)
            plan.departments[level].append(i);
    for (int i = 0; i < c.counts[3]; ++i)
        plan.products.append(i);
    EXPECT_EQ(tickCountsText(plan), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TickCounts,
    ::testing::Values(
        CountsCase{"Nothing", {0, 0, 0, 0}, "Nothing is ticked: only the backup will be made."},
        CountsCase{
            "OneOfEach", {1, 1, 1, 1}, "Ticked: 1 department, 1 sub-department, 1 third-level department, 1 product."},
        CountsCase{"ProductsAlone",
                   {0, 0, 0, 3402},
                   "Ticked: 0 departments, 0 sub-departments, 0 third-level departments, 3,402 products."},
        CountsCase{"DepartmentsAlone",
                   {12, 3, 0, 0},
                   "Ticked: 12 departments, 3 sub-departments, 0 third-level departments, 0 products."}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
