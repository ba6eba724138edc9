#pragma once
// Fixes the program's clock for one test and lets it run again however the test
// ends. Without a time it only takes the clock back at the end, for tests that
// fix it themselves part-way.
#include "util/Clock.h"

class ClockGuard
{
public:
    ClockGuard() = default;
    explicit ClockGuard(const QDateTime &fixed) { Clock::setNow(fixed); }
    ~ClockGuard() { Clock::reset(); }
    ClockGuard(const ClockGuard &) = delete;
    ClockGuard &operator=(const ClockGuard &) = delete;
};
