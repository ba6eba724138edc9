#include "catalogue/changeover/TickCounts.h"

#include "catalogue/changeover/CountText.h"

QString tickCountsText(const TChangeoverPlan &plan)
{
    if (plan.products.isEmpty() && plan.departments[0].isEmpty() && plan.departments[1].isEmpty()
        && plan.departments[2].isEmpty())
        return QStringLiteral("Nothing is ticked: only the backup will be made.");
    return QStringLiteral("Ticked: %1, %2, %3, %4.")
        .arg(countText(plan.departments[0].size(), QStringLiteral("department"), QStringLiteral("departments")),
             countText(plan.departments[1].size(), QStringLiteral("sub-department"), QStringLiteral("sub-departments")),
             countText(plan.departments[2].size(), QStringLiteral("third-level department"),
                       QStringLiteral("third-level departments")),
             countText(plan.products.size(), QStringLiteral("product"), QStringLiteral("products")));
}
