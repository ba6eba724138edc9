// Values as they come out of the database: WIN1252 text through the UTF8 connection,
// text in CHARACTER SET NONE, CHAR padding, exact NUMERIC text, dates.
#include "tests/database/DbTestFixture.h"
#include "tests/support/QStringPrinter.h"

#include <cmath>

namespace {

class DbField : public DbTest
{
protected:
    QStringList extraStatements() const override
    {
        return {
            QStringLiteral("create table T_CODES (ID integer, CODE char(5) character set WIN1252)"),
            QStringLiteral("insert into T_CODES values (1, 'AB')"),
            QStringLiteral("insert into T_CODES values (2, 'é€')"),
            QStringLiteral("create table T_NONE (V varchar(24) character set none, C char(24) character set none)"),
            QStringLiteral("insert into T_NONE values ('', '')"),
            // Written through the test's own UTF8 connection, as SET NAMES UTF8 would.
            QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (1, 'Crème brûlée & Café €')")};
    }
};

TEST_F(DbField, Win1252TextRoundTripsAccentsAndTheEuroSign)
{
    const QString text = QStringLiteral("Bière Blonde, Œufs & Jägermeister €4½");
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION) values (:SID, :DSC)"));
    q.setInt(0, 1);
    q.setText(1, text);
    q.execute();

    q.setSQL(QStringLiteral("select DESCRIPTION, octet_length(DESCRIPTION) as BYTES from TBL_PRODUCTS where SID = 1"));
    q.open();
    EXPECT_EQ(q.field(QStringLiteral("DESCRIPTION")).asText(), text);
    // Stored one byte per character: the column really holds WIN1252.
    EXPECT_EQ(q.field(QStringLiteral("BYTES")).asInteger(), text.size());
    EXPECT_EQ(scalar(QStringLiteral("select DESCRIPTION from TBL_DEPARTMENTS where DEPT_ID = 1")),
              QStringLiteral("Crème brûlée & Café €"));
    // Found again when given as a parameter.
    q.setSQL(QStringLiteral("select count(*) from TBL_DEPARTMENTS where DESCRIPTION = :D"));
    q.setText(0, QStringLiteral("Crème brûlée & Café €"));
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 1);
}

TEST_F(DbField, CharacterTheColumnCannotHoldIsAnErrorAndNothingIsWritten)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION) values (:SID, :DSC)"));
    q.setInt(0, 2);
    q.setText(1, QStringLiteral("Ωmega 茶"));
    const QString message = errorOf([&] { q.execute(); });
    EXPECT_TRUE(message.contains(QStringLiteral("transliterate"), Qt::CaseInsensitive)) << message.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TBL_PRODUCTS")), QStringLiteral("0"));
}

// NONE text is handed on as stored: UTF-8 where it is valid UTF-8, else the Windows-1252
// of old back offices, and never the replacement character.
TEST_F(DbField, TextInCharacterSetNoneIsUtf8WhenValidElseWindows1252)
{
    struct Case
    {
        const char *name;
        QByteArray stored;
        QString text;
    };
    const Case cases[] = {
        {"ascii", "Soup of the day", QStringLiteral("Soup of the day")},
        {"utf8", "Caf\xC3\xA9 cr\xC3\xA8me \xE2\x82\xAC", QStringLiteral("Café crème €")},
        {"1252",
         "Caf\xE9 cr\xE8me br\xFBl\xE9"
         "e",
         QStringLiteral("Café crème brûlée")},
        {"1252EuroAndOe",
         "\x80"
         "5 b\x9C"
         "uf \x8C"
         "uvre \x85",
         QStringLiteral("€5 bœuf Œuvre …")},
        // Undefined in 1252: the same code points as Latin-1.
        {"1252Undefined",
         "a\x81\x8D\x8F\x90\x9D"
         "b",
         QStringLiteral("a\u0081\u008D\u008F\u0090\u009Db")},
        // One valid UTF-8 sequence does not make the rest UTF-8.
        {"mixed",
         "Cr\xC3\xA8me br\xFBl\xE9"
         "e",
         QStringLiteral("CrÃ¨me brûlée")},
        {"cutUtf8", "Caf\xC3", QStringLiteral("CafÃ")},
        {"utf8Surrogate", "x\xED\xA0\x80", QStringLiteral("xí\u00A0€")},
    };
    TDbStatement q(conx);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        conx.executeImmediate(
            QStringLiteral("update T_NONE set V = x'%1', C = x'%1'").arg(QLatin1String(c.stored.toHex())));
        q.setSQL(QStringLiteral("select V, C from T_NONE"));
        q.open();
        EXPECT_EQ(q.field(0).asText(), c.text);
        EXPECT_EQ(q.field(1).asTrimmedText(), c.text);
        // CHAR pads NONE with blanks to its width in bytes.
        EXPECT_EQ(q.field(1).asText(), c.text + QString(24 - int(c.stored.size()), u' '));
        q.close();
    }
}

TEST_F(DbField, CharKeepsItsDeclaredWidthUnlessTrimmed)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select CODE from T_CODES order by ID"));
    q.open();
    EXPECT_EQ(q.field(0).asText(), QStringLiteral("AB   "));
    EXPECT_EQ(q.field(0).asTrimmedText(), QStringLiteral("AB"));
    q.next();
    EXPECT_EQ(q.field(0).asText(), QStringLiteral("é€   "));
    EXPECT_EQ(q.field(0).asTrimmedText(), QStringLiteral("é€"));
}

TEST_F(DbField, NumericReadsAsExactText)
{
    struct Case
    {
        const char *stored;
        QString text;
        double real;
        qint32 whole;
    };
    const Case cases[] = {
        {"13.5", QStringLiteral("13.5"), 13.5, 14},
        {"9", QStringLiteral("9"), 9.0, 9},
        {"0", QStringLiteral("0"), 0.0, 0},
        {"0.0001", QStringLiteral("0.0001"), 0.0001, 0},
        {"-0.5", QStringLiteral("-0.5"), -0.5, -1},
        {"-12.3456", QStringLiteral("-12.3456"), -12.3456, -12},
        {"12345678901.2345", QStringLiteral("12345678901.2345"), 12345678901.2345, 0},
        {"0.1", QStringLiteral("0.1"), 0.1, 0},
    };
    int id = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        conx.executeImmediate(QStringLiteral("insert into TBL_VAT_CODES (VAT_ID, RATE) values (%1, %2)")
                                  .arg(++id)
                                  .arg(QLatin1String(c.stored)));
        TDbStatement q(conx);
        q.setSQL(QStringLiteral("select RATE from TBL_VAT_CODES where VAT_ID = :ID"));
        q.setInt(0, id);
        q.open();
        const TDbField rate = q.field(QStringLiteral("RATE"));
        EXPECT_TRUE(rate.isNumber());
        EXPECT_EQ(rate.asText(), c.text);
        EXPECT_DOUBLE_EQ(rate.asDouble(), c.real);
        if (std::abs(c.real) < 1e6)
            EXPECT_EQ(rate.asInteger(), c.whole);
        else
            EXPECT_FALSE(errorOf([&] { rate.asInteger(); }).isEmpty()); // too big for 32 bits
    }
}

TEST_F(DbField, DoubleAndDateTextParametersAreConvertedByTheDatabase)
{
    TDbStatement q(conx);
    q.setSQL(QStringLiteral(
        "insert into TBL_VAT_CODES (VAT_ID, DESCRIPTION, RATE, VALID_FROM, VALID_TO, IS_ACTIVE, VAT_TYPE)"
        " values (:ID, :DSC, :R, :D1, :D2, 'Y', 3)"));
    q.setInt(0, 1);
    q.setText(1, QStringLiteral("13.50 RDC"));
    q.setDouble(2, 13.5);
    q.setText(3, QStringLiteral("2023-09-01"));
    q.setText(4, QStringLiteral("2999-12-31"));
    q.execute();

    q.setSQL(QStringLiteral("select * from TBL_VAT_CODES where VAT_TYPE = 3 and :D1 between VALID_FROM and VALID_TO"));
    q.setText(0, QStringLiteral("2023-09-01"));
    q.open();
    EXPECT_EQ(q.field(QStringLiteral("RATE")).asText(), QStringLiteral("13.5"));
    EXPECT_EQ(q.field(QStringLiteral("VALID_FROM")).asText(), QStringLiteral("2023-09-01"));
    EXPECT_EQ(q.field(QStringLiteral("VALID_TO")).asText(), QStringLiteral("2999-12-31"));
    EXPECT_EQ(q.field(QStringLiteral("IS_ACTIVE")).asText(), QStringLiteral("Y"));
    q.setText(0, QStringLiteral("2023-08-31"));
    q.open();
    EXPECT_TRUE(q.eof());

    q.setSQL(QStringLiteral("select DESCRIPTION from TBL_VAT_CODES"));
    q.open();
    EXPECT_FALSE(q.field(0).isNumber());
    EXPECT_FALSE(errorOf([&] { q.field(0).asInteger(); }).isEmpty()); // "13.50 RDC" is no number
}

} // namespace
