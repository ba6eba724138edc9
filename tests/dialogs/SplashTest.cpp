// The splash window shown while the departments load: layout and its animated indicator.
#include "dialogs/ActivityIndicator.h"
#include "dialogs/TfmSplash.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Splash, LayoutAndAnimatedIndicator)
{
    TfmSplash splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    EXPECT_EQ(splash.size(), QSize(463, 240));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.Label1->text(), QStringLiteral("Loading Departments"));
    EXPECT_EQ(splash.Label1->geometry(), QRect(32, 3, 463 - 35, 240 - 6));
    EXPECT_EQ(splash.font().pixelSize(), 32);

    TActivityIndicator *ind = splash.ActivityIndicator1;
    EXPECT_EQ(ind->pos(), QPoint(390, 96));
    EXPECT_EQ(ind->colour(), QColor(Qt::white));
    EXPECT_EQ(ind->frameDelay(), 100);
    EXPECT_TRUE(ind->animate());
    const int first = ind->frame();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ind->frame() != first; }, 2000));

    // White sectors are drawn on the window's own colour.
    const QImage shot = splash.grab(ind->geometry()).toImage();
    bool sawWhite = false;
    for (int y = 0; y < shot.height() && !sawWhite; ++y)
        for (int x = 0; x < shot.width() && !sawWhite; ++x)
            sawWhite = shot.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(sawWhite);
}

} // namespace
