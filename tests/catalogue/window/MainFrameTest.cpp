// The main window's frame: layout, captions, colours, keys and mouse.
#include "catalogue/window/TfmMainFrame.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The frame with its protected parts in reach, counting the calls of its hooks.
class Frame : public TfmMainFrame
{
public:
    using TfmMainFrame::btnClose;
    using TfmMainFrame::btnProceed;
    using TfmMainFrame::lb;
    using TfmMainFrame::pn01;
    using TfmMainFrame::pn02;
    using TfmMainFrame::pnButtonBar;
    using TfmMainFrame::pnTitle;
    using TfmMainFrame::Splitter1;
    using TfmMainFrame::tv;
    int shows = 0;
    int proceeds = 0;

protected:
    void FormShow() override { ++shows; }
    void ProceedClick() override { ++proceeds; }
};

QRect inWindow(const QWidget *w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

const QColor kBand(0, 64, 128);

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    Frame frame;
};

} // namespace

TEST_F(MainFrameTest, ControlsSitWhereTheLayoutPutsThem)
{
    EXPECT_EQ(frame.size(), QSize(758, 587));
    struct Case
    {
        const char *what;
        QWidget *w;
        QRect where;
    };
    const Case cases[] = {
        {"title band", frame.pnTitle, QRect(2, 2, 754, 40)},
        {"department header", frame.pn01, QRect(2, 44, 320, 40)},
        {"department tree", frame.tv, QRect(2, 84, 320, 524 - 84)},
        {"product header", frame.pn02, QRect(2 + 320 + 3, 44, 754 - 323, 40)},
        {"product grid", frame.lb, QRect(325, 84, 754 - 323, 524 - 84)},
        {"button bar", frame.pnButtonBar, QRect(2, 524, 754, 61)},
        {"Close", frame.btnClose, QRect(2 + 754 - 8 - 100, 524 + 8, 100, 45)},
        {"Proceed", frame.btnProceed, QRect(2 + 754 - 8 - 100 - 2 - 100, 524 + 8, 100, 45)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(inWindow(c.w), c.where);
    }
}

TEST_F(MainFrameTest, CaptionsColoursFontsAndWindowKind)
{
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Pordane 2023"));
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frame.pnTitle->text(), QStringLiteral("Pordane Hospitality"));
    EXPECT_EQ(frame.pn01->text(), QStringLiteral("   9% Departments"));
    EXPECT_EQ(frame.pn02->text(), QStringLiteral("   Products"));
    EXPECT_EQ(frame.btnClose->text(), QStringLiteral("Close"));
    EXPECT_EQ(frame.btnProceed->text(), QStringLiteral("Proceed"));
    EXPECT_TRUE(frame.pnTitle->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(frame.pn01->alignment() & Qt::AlignLeft);
    for (QWidget *band : {static_cast<QWidget *>(frame.pnTitle), static_cast<QWidget *>(frame.pn01),
                          static_cast<QWidget *>(frame.pn02), frame.pnButtonBar}) {
        SCOPED_TRACE(band->objectName().toStdString());
        EXPECT_EQ(band->palette().color(QPalette::Window), kBand);
        EXPECT_TRUE(band->autoFillBackground());
    }
    EXPECT_EQ(frame.font().pixelSize(), 13);
    EXPECT_EQ(frame.pnTitle->font().pixelSize(), 16);
    EXPECT_EQ(frame.pn01->font().pixelSize(), 16);
    for (QPushButton *b : {frame.btnClose, frame.btnProceed})
        EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(frame.btnClose->nextInFocusChain(), frame.btnProceed);
    EXPECT_EQ(frame.tv->indentation(), 23);
    EXPECT_TRUE(frame.tv->isHeaderHidden());
    EXPECT_FALSE(frame.lb->showGrid());
    EXPECT_EQ(frame.lb->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(frame.lb->editTriggers(), QAbstractItemView::NoEditTriggers);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE((frame.geometry().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(MainFrameTest, FormShowRunsOnceAndTheButtonsDoTheirWork)
{
    EXPECT_EQ(frame.shows, 1);
    frame.hide();
    frame.show();
    EXPECT_EQ(frame.shows, 1);

    QTest::mouseClick(frame.btnProceed, Qt::LeftButton);
    EXPECT_EQ(frame.proceeds, 1);
    EXPECT_TRUE(frame.isVisible());

    QTest::mouseClick(frame.btnClose, Qt::LeftButton);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, AnyMouseButtonOnTheTitleBandMovesTheWindow)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(int(button));
        const QPoint start = frame.pos();
        QTest::mousePress(frame.pnTitle, button, {}, QPoint(10, 10));
        QTest::mouseMove(frame.pnTitle, QPoint(40, 30));
        QTest::mouseRelease(frame.pnTitle, button, {}, QPoint(40, 30));
        EXPECT_EQ(frame.pos(), start + QPoint(30, 20));
    }
    // Elsewhere a press moves nothing.
    const QPoint start = frame.pos();
    QTest::mousePress(frame.pn01, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(frame.pn01, QPoint(40, 30));
    QTest::mouseRelease(frame.pn01, Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(frame.pos(), start);
}

TEST_F(MainFrameTest, DraggingTheSplitterResizesTheDepartmentPane)
{
    QSplitterHandle *handle = frame.Splitter1->handle(1);
    ASSERT_NE(handle, nullptr);
    const int before = frame.pn01->width();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 50));
    QTest::mouseMove(handle, QPoint(61, 50));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(61, 50));
    // The handle's grip reaches a pixel past the 3-pixel bar on each side.
    EXPECT_NEAR(frame.pn01->width(), before + 60, 2);
    EXPECT_EQ(inWindow(frame.pn02).x(), inWindow(frame.pn01).x() + frame.pn01->width() + 3);
}
