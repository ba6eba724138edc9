// Style files, the style engine, and finding the user's style in its two folders.
#include "app/StyleEngine.h"
#include "app/StyleFile.h"
#include "app/StyleLoading.h"
#include "settings/uOrvoReg.h"
#include "tests/app/AppSandbox.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray styleText(const QString &name, const QString &window, const QString &base = QStringLiteral("Fusion"))
{
    return QStringLiteral("[style]\nname = %1\nbase = %2\n[palette]\nWindow = %3\n[sheet]\n"
                          "QPushButton { border: 1px solid %3; }\nQWidget { background: %3; }\n")
        .arg(name, base, window)
        .toUtf8();
}

// Each test leaves the application with the look it found.
class StyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.SetErrorReporter([this](const QString &m) { reported.append(m); });
    }
    void TearDown() override { engine.Reset(); }

    TStyleEngine engine;
    QStringList reported;
    AppSandbox sandbox;
};

} // namespace

TEST(StyleFile, ParsesOrRefusesWithAReason)
{
    struct Case
    {
        const char *what;
        const char *text;
        const char *name; // nullptr: refused
    };
    const Case cases[] = {
        {"complete",
         "; c\n[style]\nname = Harbour\nbase = Fusion\n[palette]\nWindow = #e8edf3\n"
         "Disabled.Text = #999\n[sheet]\nQPushButton { color: red; }\n",
         "Harbour"},
        {"name only", "[style]\nname = Plain\n", "Plain"},
        {"no name", "[style]\nbase = Fusion\n", nullptr},
        {"no style section", "[palette]\nWindow = #fff\n", nullptr},
        {"unknown colour role", "[style]\nname = X\n[palette]\nWindoww = #fff\n", nullptr},
        {"not a colour", "[style]\nname = X\n[palette]\nWindow = blueish\n", nullptr},
        {"unknown colour group", "[style]\nname = X\n[palette]\nSleepy.Window = #fff\n", nullptr},
        {"unknown section", "[style]\nname = X\n[colours]\n", nullptr},
        {"entry outside a section", "name = X\n[style]\nname = X\n", nullptr},
        {"unbalanced sheet", "[style]\nname = X\n[sheet]\nQPushButton { color: red;\n", nullptr},
        {"binary junk", "\x01\x02\x03", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        const auto style = ParseStyleText(QString::fromUtf8(c.text), &error);
        if (c.name) {
            ASSERT_TRUE(style.has_value()) << error.toStdString();
            EXPECT_EQ(style->name, QString::fromUtf8(c.name));
        } else {
            EXPECT_FALSE(style.has_value());
            EXPECT_FALSE(error.isEmpty());
        }
    }
    const auto full = ParseStyleText(QString::fromUtf8(cases[0].text));
    EXPECT_EQ(full->palette.color(QPalette::Active, QPalette::Window), QColor(0xe8, 0xed, 0xf3));
    EXPECT_EQ(full->palette.color(QPalette::Disabled, QPalette::Text), QColor(0x99, 0x99, 0x99));
    EXPECT_TRUE(full->sheet.contains(QStringLiteral("QPushButton")));
}

TEST(StyleFile, SheetRulesThatCouldReachMenusAreLeftOut)
{
    struct Case
    {
        const char *selector;
        bool kept;
    };
    const Case cases[] = {
        {"QPushButton", true},     {"QPushButton:hover", true},
        {"QTreeView::item", true}, {"#pnTitle", true},
        {"QWidget#pnTitle", true}, {"QDialog QLabel", true},
        {"QMenu", false},          {"QMenu::item", false},
        {"QMenuBar", false},       {"QWidget", false},
        {"QObject", false},        {"QDialog QObject", false},
        {"QObject#pnTitle", true}, {"*", false},
        {"::item", false},         {"QFrame > QWidget", false},
        {".QWidget", false},       {"[flat=\"true\"]", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.selector);
        const QString out = SheetWithoutMenus(QStringLiteral("%1 { color: red; }").arg(QLatin1String(c.selector)));
        EXPECT_EQ(out.contains(QStringLiteral("color: red")), c.kept) << out.toStdString();
    }
    // A group keeps its harmless selectors.
    const QString group = SheetWithoutMenus(QStringLiteral("/* note { } */ QMenu, QPushButton { color: red; }"));
    EXPECT_EQ(group.trimmed(), QStringLiteral("QPushButton { color: red; }"));
    // Taking a comment out must not join its neighbours into a new one, which would hide
    // the rules after it from the filter and hand them to Qt as a comment.
    const QString joined = SheetWithoutMenus(QStringLiteral("QFrame//**/*b*/ { margin: 3px; } QLabel { color: red; }"));
    EXPECT_FALSE(joined.contains(QStringLiteral("/*"))) << joined.toStdString();
    EXPECT_TRUE(joined.contains(QStringLiteral("QLabel { color: red; }"))) << joined.toStdString();
}

TEST_F(StyleTest, RegistersOnceByNameAndActivates)
{
    const QString red =
        sandbox.writeFile(QStringLiteral("a/Tone.style"), styleText(QStringLiteral("Tone"), QStringLiteral("#ff0000")));
    const QString blue =
        sandbox.writeFile(QStringLiteral("b/Tone.style"), styleText(QStringLiteral("Tone"), QStringLiteral("#0000ff")));
    QString name;
    ASSERT_TRUE(TStyleEngine::IsValidStyle(red, &name));
    EXPECT_EQ(name, QStringLiteral("Tone"));

    EXPECT_TRUE(engine.LoadFromFile(red));
    EXPECT_TRUE(engine.IsStyleRegistered(QStringLiteral("tone")));
    EXPECT_FALSE(engine.LoadFromFile(blue)) << "a second style of the same name is not registered";
    ASSERT_TRUE(engine.TrySetStyle(QStringLiteral("Tone")));
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Tone"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StyleTest, FailedActivationIsReportedAndTheLookStays)
{
    const QPalette before = QApplication::palette();
    const QString file =
        sandbox.writeFile(QStringLiteral("Odd.style"),
                          styleText(QStringLiteral("Odd"), QStringLiteral("#00ff00"), QStringLiteral("NoSuchLook")));
    ASSERT_TRUE(engine.LoadFromFile(file));
    EXPECT_FALSE(engine.TrySetStyle(QStringLiteral("Odd")));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("NoSuchLook")));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), before.color(QPalette::Window));
    EXPECT_TRUE(engine.ActiveStyle().isEmpty());

    EXPECT_FALSE(engine.TrySetStyle(QStringLiteral("Unregistered")));
    EXPECT_EQ(reported.size(), 2);
}

TEST_F(StyleTest, MenusKeepTheDefaultLookUnderAStyle)
{
    const QColor defaultWindow = QApplication::palette().color(QPalette::Window);
    const QString file =
        sandbox.writeFile(QStringLiteral("Loud.style"), styleText(QStringLiteral("Loud"), QStringLiteral("#ff00ff")));
    ASSERT_TRUE(engine.LoadFromFile(file));
    ASSERT_TRUE(engine.TrySetStyle(QStringLiteral("Loud")));

    QMenu menu;
    menu.addAction(QStringLiteral("First"));
    QPushButton button;
    menu.ensurePolished();
    button.ensurePolished();
    EXPECT_EQ(menu.palette().color(QPalette::Window), defaultWindow);
    EXPECT_EQ(button.palette().color(QPalette::Window), QColor(0xff, 0x00, 0xff));
    // Drawn, the menu shows none of the style's colour (its QWidget rule is left out).
    menu.resize(menu.sizeHint());
    const QImage shot = menu.grab().toImage();
    EXPECT_NE(shot.pixelColor(shot.width() / 2, shot.height() - 3), QColor(0xff, 0x00, 0xff));
}

TEST_F(StyleTest, SkinIsFoundBesideTheProgramFirst)
{
    sandbox.writeFile(QStringLiteral("program/Res/styles/Mine.style"),
                      styleText(QStringLiteral("Beside"), QStringLiteral("#102030")));
    sandbox.writeFile(QStringLiteral("suite/Res/styles/Mine.style"),
                      styleText(QStringLiteral("Suite"), QStringLiteral("#302010")));
    sandbox.setSkin(QStringLiteral("Mine.style"));
    sandbox.setProgramFolder(sandbox.suiteFolder());
    LoadVisualStyle(engine, sandbox.programFolder());
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Beside"));
}

TEST_F(StyleTest, SkinOnlyInTheSuiteFolderIsFoundThere)
{
    sandbox.writeFile(QStringLiteral("suite/Res/styles/Mine.style"),
                      styleText(QStringLiteral("Suite"), QStringLiteral("#302010")));
    sandbox.setSkin(QStringLiteral("Mine.style"));
    sandbox.setProgramFolder(sandbox.suiteFolder());
    LoadVisualStyle(engine, sandbox.programFolder());
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Suite"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
}

TEST_F(StyleTest, SkinWithAFolderPartUsesItWholeBesideTheProgramAndOnlyItsNameInTheSuite)
{
    EXPECT_EQ(StyleCandidateBesideProgram(QStringLiteral("/opt/p"), QStringLiteral("a\\b.style")),
              QStringLiteral("/opt/p/Res/styles/a/b.style"));
    EXPECT_EQ(StyleCandidateInSuite(QStringLiteral("/srv/suite"), QStringLiteral("/opt/p/Res/styles/a/b.style")),
              QStringLiteral("/srv/suite/Res/styles/b.style"));
    EXPECT_EQ(StyleCandidateInSuite(QStringLiteral("/srv/suite"), QStringLiteral("C:b.style")),
              QStringLiteral("/srv/suite/Res/styles/b.style"));

    sandbox.writeFile(QStringLiteral("program/Res/styles/a/b.style"),
                      styleText(QStringLiteral("Nested"), QStringLiteral("#010203")));
    sandbox.setSkin(QStringLiteral("a\\b.style"));
    LoadVisualStyle(engine, sandbox.programFolder());
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Nested"));

    engine.Reset();
    QDir(sandbox.path(QStringLiteral("program/Res"))).removeRecursively();
    sandbox.writeFile(QStringLiteral("suite/Res/styles/b.style"),
                      styleText(QStringLiteral("Flat"), QStringLiteral("#040506")));
    sandbox.setProgramFolder(sandbox.suiteFolder());
    LoadVisualStyle(engine, sandbox.programFolder());
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Flat"));
}

TEST_F(StyleTest, AlreadyRegisteredNameIsOnlyActivated)
{
    const QString first = sandbox.writeFile(QStringLiteral("first/Tone.style"),
                                            styleText(QStringLiteral("Tone"), QStringLiteral("#aa0000")));
    ASSERT_TRUE(engine.LoadFromFile(first));
    sandbox.writeFile(QStringLiteral("program/Res/styles/Tone.style"),
                      styleText(QStringLiteral("Tone"), QStringLiteral("#0000aa")));
    sandbox.setSkin(QStringLiteral("Tone.style"));
    LoadVisualStyle(engine, sandbox.programFolder());
    EXPECT_EQ(engine.ActiveStyle(), QStringLiteral("Tone"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0xaa, 0, 0));
}

TEST_F(StyleTest, NothingUsableMeansTheDefaultLookAndNoWord)
{
    const QPalette before = QApplication::palette();
    struct Case
    {
        const char *what;
        QString skin;
        QByteArray content; // written beside the program when not empty
    };
    const Case cases[] = {
        {"no Skin value", QString(), {}},
        {"Skin names a missing file", QStringLiteral("Gone.style"), {}},
        {"Skin names a file that is not a style", QStringLiteral("Junk.style"), QByteArray("not a style at all")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.content.isEmpty())
            sandbox.writeFile(QStringLiteral("program/Res/styles/") + c.skin, c.content);
        if (!c.skin.isEmpty())
            sandbox.setSkin(c.skin);
        LoadVisualStyle(engine, sandbox.programFolder());
        EXPECT_TRUE(engine.ActiveStyle().isEmpty());
        EXPECT_TRUE(reported.isEmpty());
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), before.color(QPalette::Window));
        if (c.skin.isEmpty()) {
            // The read stored the missing value, empty.
            EXPECT_EQ(TOrvoRegL().ReadString(QString(), QStringLiteral("Skin"), QStringLiteral("?"), rmText),
                      QString());
        }
    }
}

TEST_F(StyleTest, ShippedStylesAreValidAndChangeTheLook)
{
    for (const char *file : {"Harbour.style", "Graphite.style"}) {
        SCOPED_TRACE(file);
        const QString path = QStringLiteral(PORDANE_RES_DIR "/styles/") + QLatin1String(file);
        QString error;
        const auto style = ReadStyleFile(path, &error);
        ASSERT_TRUE(style.has_value()) << error.toStdString();
        ASSERT_TRUE(engine.LoadFromFile(path));
        const QColor before = QApplication::palette().color(QPalette::Button);
        ASSERT_TRUE(engine.TrySetStyle(style->name));
        EXPECT_NE(QApplication::palette().color(QPalette::Button), before);
        engine.Reset();
    }
}
