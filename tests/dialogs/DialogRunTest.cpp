// The dialogs run for real: keys, results, the busy pointer, dragging, and the
// answerer that stands in for a person.
#include "dialogs/AdvDialogs.h"
#include "dialogs/DialogAnswerer.h"
#include "tests/support/NextDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void pressKey(TMessageForm *form, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : form;
    QTest::keyClick(target, key, mods);
}

} // namespace

TEST(DialogRun, QuestionRefusesEscapeAndAltF4AndAnswersYesOnEnter)
{
    bool stillUpAfterRefusedKeys = false;
    bool yesHadFocus = false;
    bool busyWhileUp = false;
    NextDialogs dialog(answerAs<TMessageForm>([&](TMessageForm *form) {
        yesHadFocus = form->buttons().value(0) && form->buttons()[0]->hasFocus();
        busyWhileUp = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        pressKey(form, Qt::Key_Escape);
        pressKey(form, Qt::Key_F4, Qt::AltModifier);
        QTest::qWait(0);
        stillUpAfterRefusedKeys = form->isVisible();
        pressKey(form, Qt::Key_Return);
    }));
    EXPECT_EQ(QuestionDlg(QStringLiteral("Proceed with the changeover?")), mrYes);
    EXPECT_TRUE(yesHadFocus);
    EXPECT_TRUE(stillUpAfterRefusedKeys);
    EXPECT_TRUE(busyWhileUp);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DialogRun, CtrlCCopiesTheMessageAndAnswersNothing)
{
    QGuiApplication::clipboard()->clear();
    bool stillUp = false;
    NextDialogs dialog(answerAs<TMessageForm>([&](TMessageForm *form) {
        pressKey(form, Qt::Key_C, Qt::ControlModifier);
        QTest::qWait(0);
        stillUp = form->isVisible();
        pressKey(form, Qt::Key_Return);
    }));
    const QString message = QStringLiteral("Done.\r\n\r\n490 rows changed; their record is \"C:\\Data\\x.csv\".");
    InformationDlg(message);
    EXPECT_TRUE(stillUp);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Done.\n\n490 rows changed; their record is \"C:\\Data\\x.csv\"."));
}

TEST(DialogRun, ButtonsAnswerByTheirPlaceAndAccessKeys)
{
    struct Case
    {
        const char *what;
        std::function<void(TMessageForm *)> drive;
        int answer;
    };
    const Case cases[] = {
        {"click No", [](TMessageForm *f) { QTest::mouseClick(f->buttons()[1], Qt::LeftButton); }, mrNo},
        {"Tab then space presses No",
         [](TMessageForm *f) {
             pressKey(f, Qt::Key_Tab);
             pressKey(f, Qt::Key_Space);
         },
         mrNo},
        {"Tab then Enter presses No",
         [](TMessageForm *f) {
             pressKey(f, Qt::Key_Tab);
             pressKey(f, Qt::Key_Return);
         },
         mrNo},
        {"access key N", [](TMessageForm *f) { pressKey(f, Qt::Key_N); }, mrNo},
        {"access key Alt+Y", [](TMessageForm *f) { pressKey(f, Qt::Key_Y, Qt::AltModifier); }, mrYes},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        NextDialogs dialog(answerAs<TMessageForm>(c.drive));
        EXPECT_EQ(QuestionDlg(QStringLiteral("Go on?")), c.answer);
    }
}

TEST(DialogRun, EscapeAndAltF4CancelOnlyWhenAllowed)
{
    {
        NextDialogs dialog(answerAs<TMessageForm>([](TMessageForm *f) { pressKey(f, Qt::Key_Escape); }));
        EXPECT_EQ(MessageFormDlg(QStringLiteral("Stop?"), {QStringLiteral("&Ok")}, mtNone, QStringLiteral("T"), 40,
                                 false, true, false),
                  mrCancel);
    }
    NextDialogs dialog(answerAs<TMessageForm>([](TMessageForm *f) { pressKey(f, Qt::Key_F4, Qt::AltModifier); }));
    EXPECT_EQ(MessageFormDlg(QStringLiteral("Stop?"), {QStringLiteral("&Ok")}, mtNone, QStringLiteral("T"), 40, false,
                             false, true),
              mrCancel);
}

TEST(DialogRun, ShortDialogsMapTheirButtonToOne)
{
    for (auto dlg : {ErrorDlg, WarningDlg, InformationDlg}) {
        NextDialogs dialog(answerAs<TMessageForm>([](TMessageForm *f) { pressKey(f, Qt::Key_Return); }));
        EXPECT_EQ(dlg(QStringLiteral("Done."), QString()), 1);
    }
}

TEST(DialogRun, EmptyCaptionBecomesTheApplicationTitle)
{
    SetApplicationTitle(QStringLiteral("Pordane2020"));
    QString seen;
    {
        NextDialogs dialog(answerAs<TMessageForm>([&](TMessageForm *f) {
            seen = f->windowTitle();
            pressKey(f, Qt::Key_Return);
        }));
        InformationDlg(QStringLiteral("Done."));
    }
    EXPECT_EQ(seen, QStringLiteral("Pordane2020"));
    SetApplicationTitle(QString());
}

TEST(DialogRun, BusyPointerIsTakenBackWhenBuildingFails)
{
    EXPECT_THROW(MessageFormDlg(QStringLiteral("x"), {}, mtNone, QString(), 40, false, false, false), std::exception);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DialogRun, AnswererStandsInForTheDialog)
{
    QString askedText;
    int askedType = -1;
    setDialogAnswerer([&](const QString &message, int type) {
        askedText = message;
        askedType = type;
        return 101;
    });
    EXPECT_EQ(QuestionDlg(QStringLiteral("Proceed?")), mrNo);
    EXPECT_EQ(askedText, QStringLiteral("Proceed?"));
    EXPECT_EQ(askedType, int(mtQuestion));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    setDialogAnswerer({});
    EXPECT_FALSE(dialogAnswerer());
}

TEST(DialogRun, LeftButtonDragOnTheMessageMovesTheDialogRightButtonDoesNot)
{
    auto f = CreateMessageForm(QStringLiteral("Drag me"), {QStringLiteral("&Ok")}, mtInformation, QStringLiteral("T"),
                               40, false, false, false);
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    for (QWidget *part : {static_cast<QWidget *>(f->MsgLabel), f->pnMain, f->pnButtons}) {
        SCOPED_TRACE(part->objectName().toStdString());
        const QPoint start = f->pos();
        QTest::mousePress(part, Qt::RightButton, {}, QPoint(2, 2));
        QTest::mouseMove(part, QPoint(30, 22));
        QTest::mouseRelease(part, Qt::RightButton, {}, QPoint(30, 22));
        EXPECT_EQ(f->pos(), start);

        QTest::mousePress(part, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(part, QPoint(30, 22));
        QTest::mouseRelease(part, Qt::LeftButton, {}, QPoint(30, 22));
        EXPECT_EQ(f->pos(), start + QPoint(28, 20));
    }
}
