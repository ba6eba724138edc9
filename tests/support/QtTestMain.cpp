// Entry point for tests that need widgets: a QApplication on the platform the
// environment names (offscreen under CTest), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // CTest lists the cases before it runs them, without the cases' environment:
    // the listing needs a platform too, and a machine without a display has none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
