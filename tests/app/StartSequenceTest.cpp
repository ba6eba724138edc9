// Bringing the program up and down: module order, the icon, and what the whole
// sequence leaves behind before the main window exists.
#include "app/StartSequence.h"
#include "app/StyleEngine.h"
#include "dialogs/AdvDialogs.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "settings/uPaths.h"
#include "tests/app/AppSandbox.h"
#include "tests/support/HeldFileLock.h"
#include "tests/support/NextDialogs.h"
#include "tests/support/TestFiles.h"
#include "util/Errors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TModule recorded(const QString &name, QStringList &journal, bool failStart = false)
{
    return {name,
            [name, &journal, failStart] {
                if (failStart)
                    throw EPosError(name + QStringLiteral(" failed"));
                journal.append(QStringLiteral("start ") + name);
            },
            [name, &journal] { journal.append(QStringLiteral("stop ") + name); }};
}

QColor centreColour(const QIcon &icon)
{
    const QImage image = icon.pixmap(32, 32).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

TEST(ModuleRun, StartsInOrderAndStopsInReverse)
{
    QStringList journal;
    {
        TModuleRun run({recorded("utilities", journal), recorded("settings", journal), recorded("log", journal)});
        journal.append(QStringLiteral("running"));
    }
    EXPECT_EQ(journal,
              QStringList({"start utilities", "start settings", "start log", "running", "stop log", "stop settings",
                           "stop utilities"}));
}

TEST(ModuleRun, FailedStartStopsWhatHadStarted)
{
    QStringList journal;
    EXPECT_THROW(
        TModuleRun({recorded("utilities", journal), recorded("settings", journal), recorded("log", journal, true)}),
        EPosError);
    EXPECT_EQ(journal, QStringList({"start utilities", "start settings", "stop settings", "stop utilities"}));
}

TEST(ApplicationIcon, OrvoIcoBesideTheProgramElseTheBuiltInOne)
{
    AppSandbox sandbox;
    ApplyApplicationIcon(sandbox.programFolder());
    ASSERT_FALSE(QApplication::windowIcon().isNull()) << "the built-in icon without any Res folder";
    const QColor builtIn = centreColour(BuiltInIcon());
    EXPECT_EQ(centreColour(QApplication::windowIcon()), builtIn);

    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QDir().mkpath(sandbox.path(QStringLiteral("program/Res")));
    ASSERT_TRUE(red.save(sandbox.path(QStringLiteral("program/Res/Orvo.ico")), "ICO"));
    ApplyApplicationIcon(sandbox.programFolder());
    EXPECT_EQ(centreColour(QApplication::windowIcon()), QColor(Qt::red));
}

TEST(StartSequence, EverythingIsReadyBeforeTheMainWindowAndGoneAfter)
{
    AppSandbox sandbox;
    SetLogProgramFile(sandbox.path(QStringLiteral("program/Pordane2023Hospitality")));
    const QString logs = sandbox.path(QStringLiteral("program/logs"));

    struct Seen
    {
        bool logReady = false;
        bool skinStored = false;
        QString title;
        bool iconSet = false;
    } seen;
    const int code = RunStartSequence(*qApp, [&] {
        seen.logReady = gLog != nullptr && !filesBelow(logs).isEmpty();
        seen.skinStored =
            TOrvoRegL().ReadString(QString(), QStringLiteral("Skin"), QStringLiteral("?"), rmText).isEmpty();
        seen.title = ApplicationTitle();
        seen.iconSet = !QApplication::windowIcon().isNull();
        auto window = std::make_unique<QWidget>();
        QTimer::singleShot(0, window.get(), &QWidget::close);
        return window;
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(seen.logReady) << "log folder and this week's file exist before the window";
    EXPECT_TRUE(seen.skinStored) << "the missing Skin value was written back, empty";
    EXPECT_EQ(seen.title, QStringLiteral("Pordane2020"));
    EXPECT_TRUE(seen.iconSet);
    EXPECT_EQ(gLog, nullptr) << "the log writer is released when the loop ends";
    EXPECT_TRUE(TStyleEngine::Instance().ActiveStyle().isEmpty());

    SetLogProgramFile(QString());
    SetApplicationTitle(QString());
}

TEST(StartSequence, ASettingsHiveAnotherProgramKeepsLockedEndsTheStartInAnErrorBox)
{
    struct Case
    {
        const char *hive;
        const char *firstChange;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE.reg", "the program folder's start"},
        {"HKEY_CURRENT_USER.reg", "the style loading, after the log has started"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.firstChange);
        AppSandbox sandbox;
        SetLogProgramFile(sandbox.path(QStringLiteral("program/Pordane2023Hospitality")));
        const QString hive = sandbox.path(QStringLiteral("registry/") + c.hive);
        HeldFileLock held((hive + QStringLiteral(".lock")).toStdString());

        QString shown;
        NextDialogs box(answerAs<QMessageBox>([&](QMessageBox *b) {
            shown = b->text();
            b->button(QMessageBox::Ok)->click();
        }));
        bool windowMade = false;
        const int code = RunStartSequence(*qApp, [&] {
            windowMade = true;
            return std::make_unique<QWidget>();
        });

        EXPECT_EQ(code, 1);
        EXPECT_FALSE(windowMade);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Registry hive %1 is locked by another program").arg(hive)))
            << shown.toStdString();
        EXPECT_EQ(gLog, nullptr) << "the log is stopped";
        EXPECT_TRUE(GetProgramFolder().isEmpty()) << "the program folder is stopped";
        SetLogProgramFile(QString());
    }
}
