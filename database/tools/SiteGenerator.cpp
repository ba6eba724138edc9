#include "database/tools/SiteGenerator.h"

#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/tools/SiteNames.h"
#include "util/Errors.h"

#include <QSet>
#include <QStringList>

#include <map>
#include <vector>

namespace {

// One node of the department tree as products are filed under it.
struct TNode
{
    int deptId = 0;
    int subDept = 0;
    int l3Id = 0;
    int vatId = 0;
    TSiteKind kind = TSiteKind::Food;
};

int usualVat(TSiteKind kind)
{
    switch (kind) {
    case TSiteKind::Food:
        return SiteVat::Nine;
    case TSiteKind::Drink:
        return SiteVat::Standard;
    case TSiteKind::Voucher:
        return SiteVat::Zero;
    }
    return SiteVat::Standard;
}

void writeSetupAndVatCodes(TDbConnection &connection, const TSiteOptions &options)
{
    TDbStatement q(connection);
    q.setSQL(QStringLiteral("insert into TBL_SETUP (SETUP_ID, STX, SITE_NAME) values (1, :STX, :NAME)"));
    q.setInt(0, options.siteNumber ^ 0x3A91E27D);
    q.setText(1, options.siteName);
    q.execute();

    q.setSQL(QStringLiteral("insert into TBL_VAT_CODES (VAT_ID, DESCRIPTION, RATE, VALID_FROM, VALID_TO,"
                            " IS_ACTIVE, VAT_TYPE) values (:ID, :DSC, :R, :D1, :D2, :ACTIVE, :T)"));
    const struct
    {
        int id;
        const char *description;
        const char *rate;
        const char *from;
        const char *to;
        const char *active;
        int type;
    } codes[] = {
        {SiteVat::Standard, "23% Standard", "23", "2012-01-01", "2999-12-31", "Y", 1},
        {SiteVat::OldReduced, "13.5% Reduced", "13.5", "2003-01-01", "2020-10-31", "N", 3},
        {SiteVat::Nine, "9% Hospitality", "9", "2020-11-01", "2999-12-31", "Y", 5},
        {SiteVat::Zero, "0% Zero Rated", "0", "2000-01-01", "2999-12-31", "Y", 4},
    };
    for (const auto &code : codes) {
        q.setInt(0, code.id);
        q.setText(1, QString::fromUtf8(code.description));
        q.setText(2, QString::fromUtf8(code.rate)); // exact, the way the back office keys it in
        q.setText(3, QString::fromUtf8(code.from));
        q.setText(4, QString::fromUtf8(code.to));
        q.setText(5, QString::fromUtf8(code.active));
        q.setInt(6, code.type);
        q.execute();
    }
    connection.executeImmediate(QStringLiteral("alter sequence GEN_VAT restart with %1").arg(SiteVat::Zero));
}

// The three levels: about one sixth first level, one third second, the rest third.
std::vector<TNode> writeDepartments(TDbConnection &connection, const TSiteOptions &options, TSiteSummary &summary)
{
    const int total = qMax(1, options.departments);
    const int firstLevel = qMax(1, (total + 3) / 6);
    const int secondLevel = total > 1 ? qMax(1, total / 3) : 0;
    const int thirdLevel = qMax(0, total - firstLevel - secondLevel);

    std::vector<TNode> nodes;
    TDbStatement dept(connection);
    dept.setSQL(QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE,"
                               " REPORT_GROUP) values (:ID, :DSC, :V, :PV, :ACTIVE, :RG)"));
    std::vector<TNode> firsts;
    for (int i = 0; i < firstLevel; ++i) {
        const TSiteDepartmentName name = SiteNames::department(i);
        TNode node;
        node.deptId = i + 1;
        node.kind = name.kind;
        node.vatId = usualVat(name.kind);
        // Vouchers are reported apart (report group 1); one department in twenty is retired.
        const bool voucher = name.kind == TSiteKind::Voucher && i < 18;
        dept.setInt(0, node.deptId);
        dept.setText(1, name.name);
        dept.setInt(2, node.vatId);
        dept.setInt(3, node.vatId);
        dept.setText(4, i > 0 && i % 20 == 19 ? QStringLiteral("N") : QStringLiteral("Y"));
        dept.setInt(5, voucher ? 1 : 2 + i % 4);
        dept.execute();
        firsts.push_back(node);
    }

    TDbStatement sub(connection);
    sub.setSQL(QStringLiteral("insert into TBL_SUB_DEPARTMENTS (SUB_DEPT, DEPT_ID, DESCRIPTION, SALES_VID,"
                              " PURCH_VID, IS_ACTIVE) values (:ID, :DEPT, :DSC, :V, :V, :ACTIVE)"));
    std::vector<TNode> seconds;
    for (int i = 0; i < secondLevel; ++i) {
        TNode node = firsts[i % firsts.size()];
        node.subDept = i + 1;
        sub.setInt(0, node.subDept);
        sub.setInt(1, node.deptId);
        sub.setText(2,
                    SiteNames::subDepartment(node.kind, i % static_cast<int>(firsts.size()),
                                             i / static_cast<int>(firsts.size())));
        sub.setInt(3, node.vatId);
        sub.setInt(4, node.vatId);
        sub.setText(5, i % 25 == 24 ? QStringLiteral("N") : QStringLiteral("Y"));
        sub.execute();
        seconds.push_back(node);
    }

    TDbStatement l3(connection);
    l3.setSQL(QStringLiteral("insert into TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID,"
                             " IS_ACTIVE) values (:ID, :L2, :DSC, :V, :V, 'Y')"));
    std::vector<TNode> thirds;
    for (int i = 0; i < thirdLevel && !seconds.empty(); ++i) {
        TNode node = seconds[i % seconds.size()];
        node.l3Id = i + 1;
        l3.setInt(0, node.l3Id);
        l3.setInt(1, node.subDept);
        l3.setText(2,
                   SiteNames::thirdLevel(i % static_cast<int>(seconds.size()), i / static_cast<int>(seconds.size())));
        l3.setInt(3, node.vatId);
        l3.setInt(4, node.vatId);
        l3.execute();
        thirds.push_back(node);
    }

    summary.departments = static_cast<int>(firsts.size());
    summary.subDepartments = static_cast<int>(seconds.size());
    summary.thirdLevels = static_cast<int>(thirds.size());
    nodes.insert(nodes.end(), firsts.begin(), firsts.end());
    nodes.insert(nodes.end(), seconds.begin(), seconds.end());
    nodes.insert(nodes.end(), thirds.begin(), thirds.end());
    return nodes;
}

int productVat(const TNode &node, const TSiteOptions &options, TSiteRandom &random)
{
    if (options.nineShare >= 0.0)
        return random.chance(options.nineShare) ? SiteVat::Nine
                                                : (random.chance(0.9) ? SiteVat::Standard : SiteVat::Zero);
    // Mostly the department's own code, with the odd exception both ways.
    if (random.chance(0.08))
        return node.vatId == SiteVat::Nine ? SiteVat::Standard : SiteVat::Nine;
    return node.vatId;
}

// A till lists a name once per department as a rule; a few draws find an unused one
// while the pool lasts, and a large site takes repeats after that.
QString distinctName(QSet<QString> &used, TSiteKind kind, TSiteRandom &random)
{
    QString name;
    for (int draw = 0; draw < 12; ++draw) {
        name = SiteNames::product(kind, random);
        if (!used.contains(name))
            break;
    }
    used.insert(name);
    return name;
}

// A node picked at random, passing over departments whose names are used up (a
// voucher department sells a handful of vouchers, not hundreds).
const TNode &roomyNode(const std::vector<TNode> &nodes, const std::map<int, QSet<QString>> &namesByDepartment,
                       TSiteRandom &random)
{
    const TNode *node = nullptr;
    for (int draw = 0; draw < 12; ++draw) {
        node = &nodes[random.below(static_cast<int>(nodes.size()))];
        const auto names = namesByDepartment.find(node->deptId);
        if (names == namesByDepartment.end() || names->second.size() < SiteNames::productNamesOfKind(node->kind) / 2)
            break;
    }
    return *node;
}

void writeProducts(TDbConnection &connection, const TSiteOptions &options, const std::vector<TNode> &nodes,
                   TSiteRandom &random, TSiteSummary &summary)
{
    std::map<int, QSet<QString>> namesByDepartment;
    TDbStatement q(connection);
    q.setSQL(QStringLiteral("insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT, L3DID, PRICE)"
                            " values (:SID, :DSC, :V, :DEPT, :SUB, :L3, :PRICE)"));
    for (int i = 0; i < options.products; ++i) {
        const TNode &node = roomyNode(nodes, namesByDepartment, random);
        const int vat = productVat(node, options, random);
        q.setInt(0, i + 1);
        q.setText(1, distinctName(namesByDepartment[node.deptId], node.kind, random));
        q.setInt(2, vat);
        q.setInt(3, node.deptId);
        q.setInt(4, node.subDept);
        q.setInt(5, node.l3Id);
        q.setText(6, QStringLiteral("%1.%2").arg(2 + random.below(38)).arg(random.below(20) * 5, 2, 10, QChar(u'0')));
        q.execute();
        if (vat == SiteVat::Nine)
            ++summary.productsAtNine;
    }
    summary.products = options.products;
}

// A site restored from a backup has fresh index statistics; one loaded into empty
// tables has none, and the optimizer would then walk the few-valued VAT index for
// every department query, which no real till database makes it do.
void refreshIndexStatistics(TDbConnection &connection)
{
    QStringList names;
    TDbStatement q(connection);
    q.setSQL(QStringLiteral("select RDB$INDEX_NAME from RDB$INDICES where coalesce(RDB$SYSTEM_FLAG, 0) = 0"));
    for (q.open(); !q.eof(); q.next())
        names << q.field(0).asTrimmedText();
    q.close();
    for (const QString &name : names)
        connection.executeImmediate(QStringLiteral("set statistics index %1").arg(name));
}

} // namespace

TSiteSummary generateSite(TDbConnection &connection, const TSiteOptions &options)
{
    if (options.departments < 1 || options.departments >= 100000)
        throw EPosError(QStringLiteral("The number of departments must be from 1 to 99999"));
    if (options.products < 0)
        throw EPosError(QStringLiteral("The number of products cannot be negative"));
    TSiteRandom random(options.seed);
    TSiteSummary summary;
    connection.startTransaction();
    try {
        writeSetupAndVatCodes(connection, options);
        const std::vector<TNode> nodes = writeDepartments(connection, options, summary);
        writeProducts(connection, options, nodes, random, summary);
        connection.commit();
    } catch (...) {
        connection.rollback();
        throw;
    }
    connection.startTransaction();
    refreshIndexStatistics(connection);
    connection.commit();
    return summary;
}
