// The settable clock.
#include "util/Clock.h"
#include "tests/support/QStringPrinter.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

TEST(ClockTest, FixedTimeUntilReset)
{
    const QDateTime fixed(QDate(2023, 9, 1), QTime(14, 5, 9));
    Clock::setNow(fixed);
    EXPECT_EQ(Clock::now(), fixed);
    Clock::reset();
    EXPECT_LE(qAbs(Clock::now().secsTo(QDateTime::currentDateTime())), 1);
}

} // namespace
