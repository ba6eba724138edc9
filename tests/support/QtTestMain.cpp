// Entry point for tests that need widgets: a QApplication on the platform the
// environment names (offscreen under CTest), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
