#pragma once
// What the operator is about to change, in one line of the confirmation.
#include "catalogue/changeover/ChangeoverPlan.h"

// "Ticked: 12 departments, 3 sub-departments, 0 third-level departments, 3,402 products."
// (numbers in the user's form), or "Nothing is ticked: only the backup will be made."
QString tickCountsText(const TChangeoverPlan &plan);

// "1 product", "3,402 products": a count and its noun, numbers in the user's form.
QString countText(qsizetype count, const QString &singular, const QString &plural);
