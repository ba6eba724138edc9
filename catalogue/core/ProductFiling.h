#pragma once
// Where the products at the old code are filed, read once for the whole site: which
// departments hold products filed at their own level (what decides that a department
// at another code is listed), and which products each tree node lists.
#include "catalogue/core/DepartmentPlan.h"

#include <QList>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

// A product at the old code with its department columns; a null column is no value.
struct TFiledProduct
{
    qint32 sid = 0;
    QString description;
    std::optional<qint32> deptId;
    std::optional<qint32> subDeptId;
    std::optional<qint32> l3Id;
};

// What a node lists of a product.
struct TProductRow
{
    qint32 sid = 0;
    QString description;
};

// Departments of each level that hold at least one product filed at that level: on level 1
// those not filed under a sub-department (SUB_DEPT null or 0 or less), on level 2 those not
// filed under a third-level department (L3DID null or 0 or less), on level 3 all.
class TOwnLevelHolders
{
public:
    explicit TOwnLevelHolders(const QList<TFiledProduct> &products);
    bool holds(int level, qint32 id) const;

private:
    QSet<qint32> fLevels[3];
};

// The products each planned node lists, in the order of the given list: on level 1 every
// product of the department (DEPT_ID), on level 2 of the sub-department (SUB_DEPT), on
// level 3 of the third-level department (L3DID), whatever else it is filed under. A
// product lists under a node only where the column holds the node's id, so a null never
// matches, not even a node of id 0.
std::vector<QList<TProductRow>> productsOfNodes(const std::vector<TPlannedNode> &plan,
                                                const QList<TFiledProduct> &products);
