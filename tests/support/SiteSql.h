#pragma once
// Short builders of the INSERT statements that make up a test site.
#include <QByteArray>
#include <QString>

namespace site {

// Stands for SQL null where an integer column is given.
constexpr int kNull = -2147483647;

inline QString q(const QString &text)
{
    QString quoted = text;
    return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

inline QString orNull(int value)
{
    return value == kNull ? QStringLiteral("null") : QString::number(value);
}

inline QString vat(int id, const char *rate, int type, const char *from = "2000-01-01", const char *to = "2999-12-31",
                   const char *active = "Y")
{
    return QStringLiteral(
               "insert into TBL_VAT_CODES (VAT_ID, DESCRIPTION, RATE, VALID_FROM, VALID_TO, IS_ACTIVE, VAT_TYPE)"
               " values (%1, 'code %1', %2, '%3', '%4', '%5', %6)")
        .arg(id)
        .arg(QLatin1String(rate), QLatin1String(from), QLatin1String(to), QLatin1String(active))
        .arg(type);
}

inline QString dept(int id, const QString &description, int vatId, int reportGroup = 2, const char *active = "Y")
{
    return QStringLiteral(
               "insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE, REPORT_GROUP)"
               " values (%1, %2, %3, %3, '%4', %5)")
        .arg(id)
        .arg(q(description), orNull(vatId), QLatin1String(active), orNull(reportGroup));
}

inline QString sub(int id, int deptId, const QString &description, int vatId, const char *active = "Y")
{
    return QStringLiteral(
               "insert into TBL_SUB_DEPARTMENTS (SUB_DEPT, DEPT_ID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
               " values (%1, %2, %3, %4, %4, '%5')")
        .arg(id)
        .arg(deptId)
        .arg(q(description), orNull(vatId), QLatin1String(active));
}

inline QString l3(int id, int subId, const QString &description, int vatId, const char *active = "Y")
{
    return QStringLiteral("insert into TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
                          " values (%1, %2, %3, %4, %4, '%5')")
        .arg(id)
        .arg(subId)
        .arg(q(description), orNull(vatId), QLatin1String(active));
}

inline QString product(int sid, const QString &description, int vatId, int deptId, int subId = kNull, int l3Id = kNull)
{
    return QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT, L3DID)"
                          " values (%1, %2, %3, %4, %5, %6)")
        .arg(sid)
        .arg(q(description), orNull(vatId))
        .arg(deptId)
        .arg(orNull(subId), orNull(l3Id));
}

// Sets one row's DESCRIPTION to exactly these bytes, as a program without Unicode left
// them in a column in CHARACTER SET NONE.
inline QString storedBytes(const char *table, const char *idColumn, int id, const QByteArray &bytes)
{
    return QStringLiteral("update %1 set DESCRIPTION = x'%2' where %3 = %4")
        .arg(QLatin1String(table), QLatin1String(bytes.toHex()), QLatin1String(idColumn))
        .arg(id);
}

inline QString setup(int stx)
{
    return QStringLiteral("insert into TBL_SETUP (SETUP_ID, STX) values (1, %1)").arg(orNull(stx));
}

} // namespace site
