#pragma once
// What the operator is about to change, in one line of the confirmation.
#include "catalogue/changeover/ChangeoverPlan.h"

// "Ticked: 12 departments, 3 sub-departments, 0 third-level departments, 3,402 products."
// (numbers in the user's form), or "Nothing is ticked: only the backup will be made."
QString tickCountsText(const TChangeoverPlan &plan);
