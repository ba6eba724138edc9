#pragma once
// The operator's work on the tree before Proceed, at random, through the clicks the window
// passes on: a node's box (ticking a node ticks every product it lists and marks the nodes
// below it; unticking clears its own mark only) and a product's box (its tick under every
// node that lists it).
#include "catalogue/core/Selection.h"

// With startTicked every node is ticked before the clicks, as an operator moving nearly
// everything would; otherwise now and then all or nothing, mostly a handful of clicks.
TSelection randomTicks(const TSelection &seeded, quint32 seed, bool startTicked);
