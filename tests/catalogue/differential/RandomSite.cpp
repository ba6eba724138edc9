#include "tests/catalogue/differential/RandomSite.h"

#include "tests/support/SiteSql.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

using site::kNull;
using site::orNull;
using site::q;

namespace {

// The new code the program creates takes GEN_VAT's next value; the generator starts
// past every id a code is given here, and rows may already point at that id.
constexpr int kGeneratorStart = 500;
constexpr int kCreatedCode = kGeneratorStart + 1;

// Words chosen for ties and near-ties: case pairs, accents and signs WIN1252 holds,
// underscores (the key's separator), a quote, and blanks at either end.
const std::vector<QString> kWords = {
    QStringLiteral("apple"),   QStringLiteral("Apple"),     QStringLiteral("APPLE"),   QStringLiteral("Soup"),
    QStringLiteral("soup"),    QStringLiteral("Café"),      QStringLiteral("Cafe"),    QStringLiteral("crème brûlée"),
    QStringLiteral("Müsli"),   QStringLiteral("Weißbier"),  QStringLiteral("€5 deal"), QStringLiteral("Rock’n’roll"),
    QStringLiteral("O'Brien"), QStringLiteral("half_pint"), QStringLiteral("Bread"),   QStringLiteral("bread "),
    QStringLiteral(" Tea"),    QStringLiteral("Éclair"),    QStringLiteral("eclair"),  QStringLiteral("Äpfel"),
    QStringLiteral("10 pack"), QStringLiteral("2 for 1"),   QStringLiteral("Zest"),    QStringLiteral("_under")};

struct Department
{
    qint32 id;
    qint32 parent; // kNull for none
};

// Random values are drawn one statement each, never two in one call's arguments, so
// that no compiler's order of evaluating arguments changes the site of a seed.
class TRandomSite
{
public:
    TRandomSite(quint32 seed, TSiteSize size) : fRandom(seed), fSize(size) {}

    QStringList sql()
    {
        addSetup();
        addCodes();
        addDepartments();
        addSubDepartments();
        addThirdLevel();
        addProducts();
        addDepartmentLog();
        return fSql;
    }

private:
    bool chance(int percent) { return between(0, 99) < percent; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(fRandom); }
    template <class T>
    const T &pick(const std::vector<T> &items)
    {
        return items[size_t(between(0, int(items.size()) - 1))];
    }

    // Mostly small ids, so that the levels share numbers; now and then six digits or
    // more, 0 or negative. The small range grows with the rows, so that it never runs out.
    qint32 freshId(std::set<qint32> &used)
    {
        for (;;) {
            const int kind = between(0, 99);
            qint32 id = kind < 4 ? pick(std::vector<qint32>{0, -1, -2, -99, -100000})
                : kind < 12      ? pick(std::vector<qint32>{99999, 100000, 100001, 123456, 2000000000})
                                 : between(1, std::max(300, 2 * int(used.size())));
            if (used.insert(id).second)
                return id;
        }
    }

    // An id no row of the list has, for a broken chain.
    qint32 missingId(const std::vector<Department> &rows)
    {
        for (;;) {
            const qint32 id = between(-5, 400);
            bool taken = false;
            for (const Department &row : rows)
                taken = taken || row.id == id;
            if (!taken)
                return id;
        }
    }

    // As an SQL literal: null or empty now and then.
    QString descriptionLiteral(int maxLength)
    {
        if (chance(3))
            return QStringLiteral("null");
        if (chance(2))
            return QStringLiteral("''");
        QStringList words;
        const int count = chance(20) ? between(5, 9) : between(1, 3);
        for (int i = 0; i < count; ++i)
            words << pick(kWords);
        return q(words.join(QLatin1Char(' ')).left(maxLength));
    }

    void addSetup()
    {
        const int kind = between(0, 9);
        if (kind < 8)
            fSql << site::setup(between(-1000000, 1000000));
        else if (kind < 9)
            fSql << site::setup(kNull);
    }

    void addCode(qint32 id, const char *rate, int type, const char *const (&validity)[2], const char *active)
    {
        fSql << site::vat(id, rate, type, validity[0], validity[1], active);
        fCodes.push_back(id);
    }

    // A code in force of type 3 with an id of 0 or less reads as none: the program would
    // create the new code again on every read, so those ids stay positive.
    qint32 positiveId(std::set<qint32> &used)
    {
        qint32 id = 0;
        do {
            id = freshId(used);
        } while (id <= 0);
        return id;
    }

    // The old code may be missing, 0, or joined by an inactive twin or by a second active
    // one; the new code in force may be missing (the program then creates it), expired, or
    // joined by an inactive twin.
    void addCodes()
    {
        fSql << QStringLiteral("alter sequence GEN_VAT restart with %1").arg(kGeneratorStart);
        std::set<qint32> used = {kGeneratorStart, kCreatedCode, kCreatedCode + 1};
        const char *current[] = {"2000-01-01", "2999-12-31"};
        // A large site always has the old code, so that its ticks run past a chunk of ids.
        if (fSize == TSiteSize::Large || chance(85)) {
            const qint32 old = chance(10) && used.insert(0).second ? 0 : freshId(used);
            addCode(old, "9", 5, current, "Y");
            fOld.push_back(old);
            if (chance(25)) {
                const qint32 twin = freshId(used);
                addCode(twin, chance(50) ? "9" : "0", 5, current, "N");
            }
            if (chance(50)) {
                const qint32 second = freshId(used);
                addCode(second, "9", 5, current, "Y");
                fOld.push_back(second);
            }
        }
        if (chance(55)) {
            fNew = positiveId(used);
            addCode(fNew, "13.5", 3, current, "Y");
            if (chance(20))
                addCode(positiveId(used), "13.5", 3, current, "N");
        }
        if (chance(40)) {
            const char *expired[] = {"2012-01-01", "2022-12-31"};
            addCode(freshId(used), "13.5", 3, expired, "Y");
        }
        const std::vector<const char *> rates = {"23",     "0",    "4.8",  "12.3456", "0.005",
                                                 "1234.5", "null", "-2.5", "13.5"};
        for (int i = between(1, 4); i > 0; --i) {
            const qint32 id = freshId(used);
            const char *rate = pick(rates);
            const int type = pick(std::vector<int>{1, 2, 4});
            addCode(id, rate, type, current, chance(80) ? "Y" : "N");
        }
        fMissingCode = freshId(used);
    }

    // A code for a row, an old one about oldPercent in a hundred.
    qint32 vatId(int oldPercent)
    {
        if (!fOld.empty() && chance(oldPercent))
            return pick(fOld);
        const int kind = between(0, 99);
        if (kind < 20)
            return fNew;
        if (kind < 55)
            return pick(fCodes);
        if (kind < 75)
            return kNull;
        if (kind < 85)
            return 0;
        if (kind < 92)
            return fMissingCode;
        return kCreatedCode;
    }

    const char *activeFlag()
    {
        const int kind = between(0, 99);
        return kind < 80 ? "'Y'" : kind < 92 ? "'N'" : kind < 96 ? "'y'" : "null";
    }

    void addDepartments()
    {
        std::set<qint32> used;
        for (int i = between(3, 12); i > 0; --i) {
            const qint32 id = freshId(used);
            const QString description = descriptionLiteral(40);
            const qint32 vid = vatId(45);
            const qint32 purchase = chance(70) ? vid : vatId(45);
            // A large site's departments are all listed, so that most of its products are too.
            const bool listed = fSize == TSiteSize::Large;
            const char *active = listed ? "'Y'" : activeFlag();
            const qint32 reportGroup = listed ? 2 : pick(std::vector<qint32>{2, 2, 2, 2, 2, 2, 1, kNull, 0, 3});
            fSql << QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE,"
                                   " REPORT_GROUP) values (%1, %2, %3, %4, %5, %6)")
                        .arg(id)
                        .arg(description, orNull(vid), orNull(purchase), QLatin1String(active), orNull(reportGroup));
            fDepartments.push_back({id, kNull});
        }
    }

    // A parent among the rows most of the time, else one that does not exist or null.
    qint32 parentAmong(const std::vector<Department> &rows)
    {
        const int kind = between(0, 99);
        if (kind < 85 && !rows.empty())
            return pick(rows).id;
        return kind < 95 ? missingId(rows) : kNull;
    }

    void addLevelRows(const QString &table, const QString &idColumn, const QString &parentColumn,
                      const std::vector<Department> &parents, std::vector<Department> &rows, int most)
    {
        std::set<qint32> used;
        for (int i = between(0, most); i > 0; --i) {
            const qint32 id = freshId(used);
            const qint32 parent = parentAmong(parents);
            const QString description = descriptionLiteral(40);
            const qint32 vid = vatId(45);
            const qint32 purchase = chance(70) ? vid : vatId(45);
            const char *active = activeFlag();
            fSql << QStringLiteral("insert into %1 (%2, %3, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
                                   " values (%4, %5, %6, %7, %8, %9)")
                        .arg(table, idColumn, parentColumn)
                        .arg(id)
                        .arg(orNull(parent), description, orNull(vid), orNull(purchase), QLatin1String(active));
            rows.push_back({id, parent});
        }
    }

    void addSubDepartments()
    {
        addLevelRows(QStringLiteral("TBL_SUB_DEPARTMENTS"), QStringLiteral("SUB_DEPT"), QStringLiteral("DEPT_ID"),
                     fDepartments, fSubDepartments, 20);
    }

    // Older sites lack the third level; some carry a view of its name instead, which is
    // no table and so no third level either.
    void addThirdLevel()
    {
        const int kind = between(0, 99);
        if (kind < 75) {
            addLevelRows(QStringLiteral("TBL_L3DEPARTMENTS"), QStringLiteral("L3DID"), QStringLiteral("L2DID"),
                         fSubDepartments, fThirdLevels, 25);
            return;
        }
        fSql << QStringLiteral("drop table TBL_L3DEPARTMENTS");
        if (kind < 88)
            fSql << QStringLiteral("create view TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID,"
                                   " IS_ACTIVE) as select SUB_DEPT, SUB_DEPT, DESCRIPTION, SALES_VID, PURCH_VID,"
                                   " IS_ACTIVE from TBL_SUB_DEPARTMENTS");
        for (int i = between(0, 6); i > 0; --i) {
            const qint32 id = between(-3, 300);
            const qint32 parent = chance(50) ? kNull : between(-3, 300);
            fThirdLevels.push_back({id, parent});
        }
    }

    // Which department row a product is filed under on one level: a real one mostly,
    // one that does not exist now and then, or none (null, 0, negative).
    qint32 filing(const std::vector<Department> &rows)
    {
        const int kind = between(0, 99);
        if (kind < 75 && !rows.empty())
            return pick(rows).id;
        if (kind < 82)
            return missingId(rows);
        return pick(std::vector<qint32>{kNull, kNull, 0, -1});
    }

    // Filed at the department, the sub-department or the third level; the levels above
    // mostly follow the chain, sometimes not.
    void addProducts()
    {
        std::set<qint32> used;
        std::map<qint32, std::vector<QString>> descriptions; // literals by department
        const bool large = fSize == TSiteSize::Large;
        for (int i = large ? between(2200, 2800) : between(20, 350); i > 0; --i) {
            const qint32 sid = freshId(used);
            const int level = between(1, 3);
            qint32 l3 = level == 3 ? filing(fThirdLevels) : pick(std::vector<qint32>{kNull, kNull, kNull, 0, -1});
            qint32 sub = level >= 2 ? filing(fSubDepartments) : pick(std::vector<qint32>{kNull, kNull, 0, -5});
            if (level == 3 && chance(85))
                sub = parentOf(fThirdLevels, l3, sub);
            qint32 dept = filing(fDepartments);
            if (level >= 2 && chance(85))
                dept = parentOf(fSubDepartments, sub, dept);
            if (dept == kNull)
                dept = 0;

            // Ties within a department: another product's description again.
            std::vector<QString> &sameDepartment = descriptions[dept];
            const QString text = !sameDepartment.empty() && chance(25) ? pick(sameDepartment) : descriptionLiteral(80);
            sameDepartment.push_back(text);

            const qint32 vid = vatId(large ? 85 : 60);
            const QString price =
                chance(70) ? QString::number(between(0, 99999) / 100.0, 'f', 2) : QStringLiteral("null");
            fSql << QStringLiteral(
                        "insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT, L3DID, PRICE)"
                        " values (%1, %2, %3, %4, %5, %6, %7)")
                        .arg(sid)
                        .arg(text, orNull(vid))
                        .arg(dept)
                        .arg(orNull(sub), orNull(l3), price);
        }
    }

    static qint32 parentOf(const std::vector<Department> &rows, qint32 id, qint32 otherwise)
    {
        for (const Department &row : rows)
            if (row.id == id && row.parent != kNull)
                return row.parent;
        return otherwise;
    }

    // Rows the trigger logged before; the changeover must leave them alone.
    void addDepartmentLog()
    {
        for (int i = between(0, 3); i > 0; --i) {
            const qint32 department = pick(fDepartments).id;
            const qint32 oldVid = vatId(50);
            const qint32 newVid = vatId(50);
            fSql << QStringLiteral("insert into TBL_DEPT_LOG (LOG_ID, DEPT_ID, OLD_VAT_ID, NEW_VAT_ID, CHANGED_AT)"
                                   " values (next value for GEN_DEPT_LOG, %1, %2, %3, '2023-0%4-15 10:00:00')")
                        .arg(department)
                        .arg(orNull(oldVid), orNull(newVid))
                        .arg(between(1, 8));
        }
    }

    std::mt19937 fRandom;
    TSiteSize fSize;
    QStringList fSql;
    std::vector<qint32> fCodes;
    std::vector<qint32> fOld;
    qint32 fNew = kCreatedCode;
    qint32 fMissingCode = kNull;
    std::vector<Department> fDepartments;
    std::vector<Department> fSubDepartments;
    std::vector<Department> fThirdLevels;
};

} // namespace

QStringList randomSiteSql(quint32 seed, TSiteSize size)
{
    return TRandomSite(seed, size).sql();
}
