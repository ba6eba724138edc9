#include "util/Clock.h"

#include <optional>

namespace {
std::optional<QDateTime> &fixedTime()
{
    static std::optional<QDateTime> fixed;
    return fixed;
}
} // namespace

QDateTime Clock::now()
{
    return fixedTime() ? *fixedTime() : QDateTime::currentDateTime();
}

void Clock::setNow(const QDateTime &fixed)
{
    fixedTime() = fixed;
}

void Clock::reset()
{
    fixedTime().reset();
}
