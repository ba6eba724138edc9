#pragma once
// The one source of the current time, so that tests can fix it.
#include <QDateTime>

namespace Clock {
// The local time now, or the fixed time set by setNow.
QDateTime now();
// Fix the time that now() returns until reset().
void setNow(const QDateTime &fixed);
void reset();
} // namespace Clock
