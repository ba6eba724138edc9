#pragma once
// How the selection store names its sections and keys, in one place, so that the tree
// build, the product list, the marks and the changeover all agree.
#include <QString>
#include <QtGlobal>
#include <optional>

// Department levels: 1 department, 2 sub-department, 3 third-level department.
// A tree node's level is its depth + 1.
//
// Ids 0..99999 give the decimal text of level × 100000 + id (department 12 is "100012").
// Any other id would collide with another level's numbers there, so it gets
// level × 10^10 + id, which no 32-bit id of another level can reach and which never
// has the six digits of the short form.
QString sectionName(int level, qint32 id);

// A product's key: its SID, "_", its description exactly as stored. A description the
// database does not hold (NULL, a null QString) gives the SID alone, so that it stays
// apart from an empty one.
QString productKey(qint32 sid, const QString &description);
// The SID: the key's text before the first "_" (the whole key without one) as a whole
// number that fits 32 bits; nothing when it is not one, and such a key names no product.
std::optional<qint32> productSidOfKey(const QString &key);
// The description: everything after the first "_", underscores in it included; a null
// QString for a key without "_".
QString productDescriptionOfKey(const QString &key);
