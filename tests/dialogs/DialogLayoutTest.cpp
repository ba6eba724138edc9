// Layout of the message dialog: sizes and places computed from the message,
// the icon and the buttons, and the bound the screen sets.
#include "dialogs/AdvDialogs.h"
#include "dialogs/MessageText.h"
#include "tests/support/QStringPrinter.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using messagetext::kLongestLine;
using messagetext::kLongestWord;

namespace {

int screenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

int oneLineHeight(const TMessageForm &form)
{
    return QFontMetrics(form.MsgLabel->font())
        .boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, QStringLiteral("X"))
        .height();
}

std::unique_ptr<TMessageForm> form(const QString &message, const QStringList &captions, int type,
                                   const QString &cbCaption = {})
{
    return CreateMessageForm(message, captions, type, QStringLiteral("Caption"), 40, false, false, false, cbCaption,
                             QStringLiteral("Dialogs"), QStringLiteral("Key"), 0);
}

struct SizeCase
{
    const char *what;
    QString message;
    QStringList captions;
    int type;
    // Expected client width; 0 means "computed from the label" (see the test).
    int width;
};

} // namespace

TEST(DialogLayout, ClientSizeFollowsTextAndButtonNeeds)
{
    const QString longCaption = QStringLiteral("&Restore the backup of last night");
    const QString wide = QString(QStringLiteral("word ")).repeated(400);
    const SizeCase cases[] = {
        {"short line, icon, one button", QStringLiteral("Done."), {QStringLiteral("&Ok")}, mtInformation, 220},
        {"question: two buttons of 100 need 2*107+31",
         QStringLiteral("Go on?"),
         {QStringLiteral("&Yes"), QStringLiteral("&No")},
         mtQuestion,
         245},
        {"no icon, short text", QStringLiteral("Hello"), {QStringLiteral("&Ok")}, mtNone, 220},
        {"four buttons of 100",
         QStringLiteral("Pick one"),
         {QStringLiteral("&A"), QStringLiteral("&B"), QStringLiteral("&C"), QStringLiteral("&D")},
         mtWarning,
         4 * 107 + 31},
        {"wrapped text needs icon + limit - 32 + 55",
         wide,
         {QStringLiteral("&Ok")},
         mtError,
         32 + (screenWidth() / 2 + 100 - 32) + 55},
        {"wrapped text without an icon needs limit - 32 + 40",
         wide,
         {QStringLiteral("&Ok")},
         mtNone,
         (screenWidth() / 2 + 100 - 32) + 40},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.what);
        auto f = form(c.message, c.captions, c.type);
        EXPECT_EQ(f->width(), c.width);
        EXPECT_EQ(f->height(), std::max(140, f->MsgLabel->height() + 40 + 67));
    }

    SCOPED_TRACE("long captions widen every button and the window");
    auto f = form(QStringLiteral("Which?"), {longCaption, QStringLiteral("&No"), QStringLiteral("&Later")}, mtQuestion);
    const int w = QFontMetrics(f->font()).horizontalAdvance(longCaption) + 8;
    ASSERT_GT(w, 100);
    for (QPushButton *b : f->buttons())
        EXPECT_EQ(b->width(), w);
    EXPECT_EQ(f->width(), 3 * (w + 7) + 31);
}

TEST(DialogLayout, ShortMessageIsCentredOnTheLine34PixelsDown)
{
    auto f = form(QStringLiteral("Backup failed"), {QStringLiteral("&Ok")}, mtError);
    ASSERT_EQ(f->size(), QSize(220, 140));
    const QRect label = f->MsgLabel->geometry();
    const QRect icon = f->image->geometry();
    EXPECT_LT(label.height(), 33);
    EXPECT_EQ(label.top(), 34 - label.height() / 2);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.topLeft(), QPoint(16, 34 - 16));
    EXPECT_EQ(label.left(), 32 + 31);
    EXPECT_TRUE(f->image->isVisibleTo(f.get()));

    // Panels: 1-pixel frame, button panel of 64 at the bottom, message panel above.
    EXPECT_EQ(f->pnBack->geometry(), QRect(1, 1, 218, 138));
    EXPECT_EQ(f->pnButtons->geometry(), QRect(1, 138 - 1 - 64, 216, 64));
    EXPECT_EQ(f->pnMain->geometry(), QRect(1, 1, 216, 138 - 66));
    EXPECT_EQ(f->pnMain->palette().color(QPalette::Window), QColor(66, 69, 66));
    EXPECT_EQ(f->MsgLabel->palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST(DialogLayout, TallMessageSitsAt18WithTheIconBesideItsTop)
{
    auto f = form(QStringLiteral("First line\nSecond line\nThird line"), {QStringLiteral("&Ok")}, mtWarning);
    EXPECT_GE(f->MsgLabel->height(), 33);
    EXPECT_EQ(f->MsgLabel->y(), 18);
    EXPECT_EQ(f->image->y(), 18);
    EXPECT_EQ(f->height(), f->MsgLabel->height() + 40 + 67);
}

TEST(DialogLayout, WidestLineBeyondTheLimitWrapsAtHalfTheScreenPlus68)
{
    // Within the longest line a dialog shows whole.
    const QString wide = QString(QStringLiteral("long words ")).repeated(150).trimmed();
    auto f = form(wide, {QStringLiteral("&Ok")}, mtInformation);
    EXPECT_EQ(f->MsgLabel->width(), screenWidth() / 2 + 68);
    EXPECT_GT(f->MsgLabel->height(), 3 * oneLineHeight(*f));
    // The label is tall enough for every wrapped line: nothing is cut off.
    const QRect need =
        QFontMetrics(f->MsgLabel->font())
            .boundingRect(QRect(0, 0, f->MsgLabel->width(), 100000), Qt::AlignLeft | Qt::TextWordWrap, wide);
    EXPECT_GE(f->MsgLabel->height(), need.height());
    EXPECT_LE(f->MsgLabel->geometry().bottom(), f->pnMain->height());

    // A line just within the limit stays whole.
    auto narrow = form(QStringLiteral("Short enough"), {QStringLiteral("&Ok")}, mtInformation);
    EXPECT_EQ(narrow->MsgLabel->height(), oneLineHeight(*narrow));
}

TEST(DialogLayout, AWordWiderThanTheWrapWidthBreaksInsteadOfBeingCutOff)
{
    const QString path = QStringLiteral("\"/srv/pos/") + QString(QStringLiteral("Restaurant")).repeated(20)
        + QStringLiteral("/POS.FDB\"");
    const QString message = QStringLiteral("I/O error during \"open\" operation for file ") + path
        + QStringLiteral("\nError while trying to open file");
    auto f = form(message, {QStringLiteral("&Ok")}, mtError);
    const QLabel *label = f->MsgLabel;
    ASSERT_EQ(label->width(), screenWidth() / 2 + 68);
    // Every character is still there, and the wrapped text fits the label both ways.
    EXPECT_EQ(QString(label->text()).remove(QChar(0x200B)), message);
    const QRect need =
        QFontMetrics(label->font())
            .boundingRect(QRect(0, 0, label->width(), 100000), Qt::AlignLeft | Qt::TextWordWrap, label->text());
    EXPECT_LE(need.width(), label->width());
    EXPECT_GE(label->height(), need.height());
    EXPECT_GE(label->height(), 4 * oneLineHeight(*f));

    // Words that fit are never broken inside.
    auto plain =
        form(QString(QStringLiteral("long words ")).repeated(200).trimmed(), {QStringLiteral("&Ok")}, mtInformation);
    EXPECT_FALSE(plain->MsgLabel->text().contains(QChar(0x200B)));
}

TEST(DialogLayout, OneTrailingLineBreakIsDropped)
{
    auto plain = form(QStringLiteral("Line one"), {QStringLiteral("&Ok")}, mtNone);
    auto crlf = form(QStringLiteral("Line one\r\n"), {QStringLiteral("&Ok")}, mtNone);
    auto twice = form(QStringLiteral("Line one\r\n\r\n"), {QStringLiteral("&Ok")}, mtNone);
    EXPECT_EQ(crlf->MsgLabel->text(), QStringLiteral("Line one"));
    EXPECT_EQ(crlf->MsgLabel->height(), plain->MsgLabel->height());
    EXPECT_EQ(twice->MsgLabel->height(), 2 * plain->MsgLabel->height());
}

TEST(DialogLayout, AmpersandInTheMessageIsShownAsItself)
{
    auto f = form(QStringLiteral("Fish & Chips"), {QStringLiteral("&Ok")}, mtNone);
    EXPECT_EQ(f->MsgLabel->text(), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(f->MsgLabel->textFormat(), Qt::PlainText);
    EXPECT_EQ(f->MsgLabel->buddy(), nullptr);
    // Measured with the "&" as a character.
    EXPECT_EQ(f->MsgLabel->width(),
              QFontMetrics(f->MsgLabel->font())
                  .boundingRect(QRect(0, 0, 1000, 100), Qt::AlignLeft, QStringLiteral("Fish & Chips"))
                  .width());
}

TEST(DialogLayout, ButtonsRunRightToLeftFromTheLastCaption)
{
    auto f = form(QStringLiteral("Go on?"), {QStringLiteral("&Yes"), QStringLiteral("&No")}, mtQuestion);
    const QList<QPushButton *> &b = f->buttons();
    ASSERT_EQ(b.size(), 2);
    const int panelWidth = f->pnButtons->width();
    EXPECT_EQ(b[1]->geometry(), QRect(panelWidth - 16 - 100, 10, 100, 40));
    EXPECT_EQ(b[0]->geometry(), QRect(panelWidth - 16 - 100 - 107, 10, 100, 40));
    EXPECT_EQ(b[0]->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(b[0]->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(b[0]->nextInFocusChain(), b[1]);
    // The frame shows in the button-face colour once there are buttons.
    EXPECT_EQ(f->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
}

TEST(DialogLayout, CheckBoxAddsRoomBelowTheMessage)
{
    auto without = form(QStringLiteral("Go on?"), {QStringLiteral("&Yes"), QStringLiteral("&No")}, mtQuestion);
    auto with = form(QStringLiteral("Go on?"), {QStringLiteral("&Yes"), QStringLiteral("&No")}, mtQuestion,
                     QStringLiteral("Do not ask again"));
    ASSERT_NE(with->checkBox(), nullptr);
    EXPECT_EQ(with->height(), std::max(140, without->MsgLabel->height() + 40 + 67 + 32));
    const QRect box = with->checkBox()->geometry();
    EXPECT_EQ(box.left(), with->MsgLabel->x());
    EXPECT_EQ(box.bottom() + 1, with->pnMain->height() - 8);
    EXPECT_EQ(with->pbCbRegSection, QStringLiteral("Dialogs"));
    EXPECT_EQ(with->pbCbRegKey, QStringLiteral("Key"));
}

TEST(DialogLayout, WindowIsAFramelessTopmostToolWindowCentredOnTheScreen)
{
    auto f = form(QStringLiteral("Done."), {QStringLiteral("&Ok")}, mtInformation);
    const Qt::WindowFlags flags = f->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    const QPoint offCentre = f->geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 1);
}

// A name of two million characters, or a message of a hundred thousand lines, would make
// the window taller than any screen, and closable only with Return.
TEST(DialogLayout, TheWindowStaysWithinTheScreenHoweverLongTheMessage)
{
    const QString ellipsis(QChar(0x2026));
    struct Case
    {
        const char *what;
        QString message;
        QString shownStart;
        QString shownEnd;
    };
    const Case cases[] = {
        {"one name of two million characters",
         "Left as they are: 1 row:\r\n    Product 14 " + QString(2000000, QChar('n')),
         "Left as they are: 1 row:\n    Product 14 " + QString(kLongestWord, QChar('n')) + ellipsis,
         {}},
        {"a line of two million characters between spaces", QString("name ").repeated(400000), "name name", ellipsis},
        {"a hundred thousand lines", QString("a line\n").repeated(100000) + "the last line", "a line\na line",
         " more lines"},
    };
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString &cbCaption : {QString(), QStringLiteral("Do not ask again")}) {
            auto f = form(c.message, {QStringLiteral("&Ok")}, mtInformation, cbCaption);
            EXPECT_TRUE(available.contains(f->geometry())) << f->geometry().height() << " high";
            EXPECT_LE(f->MsgLabel->geometry().bottom(), f->pnMain->height());
            const QString shown = QString(f->MsgLabel->text()).remove(QChar(0x200B));
            EXPECT_TRUE(shown.startsWith(c.shownStart)) << shown.left(100).toStdString();
            EXPECT_TRUE(shown.endsWith(c.shownEnd)) << shown.right(100).toStdString();
            // Nothing is cut off inside the label: the text it shows fits it.
            const QRect need = QFontMetrics(f->MsgLabel->font())
                                   .boundingRect(QRect(0, 0, f->MsgLabel->width(), 100000),
                                                 Qt::AlignLeft | Qt::TextWordWrap, f->MsgLabel->text());
            EXPECT_GE(f->MsgLabel->height(), need.height());
        }
    }
}

TEST(DialogLayout, LongNamesAreCutWithAnEllipsisAndManyLinesCounted)
{
    const QString ellipsis(QChar(0x2026));
    const QString longest(kLongestWord, QChar('n'));
    // A character outside the basic plane, two code units, just at the cut.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
    struct Case
    {
        const char *what;
        QString text;
        QString shortened;
    };
    const Case cases[] = {
        {"a name just within the limit stays whole", "Product " + longest, "Product " + longest},
        {"a character more is cut", "Product " + longest + "s", "Product " + longest + ellipsis},
        {"each long name on its own, the rest kept", longest + "xx and\n" + longest + "yy",
         longest + ellipsis + " and\n" + longest + ellipsis},
        {"a character of two code units is not split", QString(kLongestWord - 1, QChar('n')) + clef + "x",
         QString(kLongestWord - 1, QChar('n')) + ellipsis},
        {"a line too long is cut however it is spaced", QString("ab ").repeated(1000),
         QString("ab ").repeated(kLongestLine / 3) + "ab" + ellipsis},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(messagetext::shortenedNames(c.text), c.shortened);
    }

    EXPECT_EQ(messagetext::firstLines("one\ntwo\nthree", 3), "one\ntwo\nthree");
    EXPECT_EQ(messagetext::firstLines("one\ntwo\nthree", 2), "one\ntwo\n" + ellipsis + " and 1 more line");
    EXPECT_EQ(messagetext::firstLines("one\ntwo\nthree", 0), ellipsis + " and 3 more lines");
}

TEST(DialogLayout, NoButtonsIsRefused)
{
    EXPECT_THROW(form(QStringLiteral("Stuck"), {}, mtNone), std::exception);
}
