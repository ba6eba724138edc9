// The application's default error handler: an error escaping a handler is
// shown and the program goes on; the silent abort passes unseen.
#include "app/TApplication.h"
#include "util/Errors.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Throws whatever it is told to from an ordinary event handler.
class Thrower : public QObject
{
public:
    std::function<void()> onEvent;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            onEvent();
        return QObject::event(e);
    }
};

struct App
{
    int argc = 1;
    char name[8] = "test";
    char *argv[2] = {name, nullptr};
    TApplication app{argc, argv};
    QStringList shown;
    App()
    {
        app.SetErrorShower([this](const QString &text) { shown.append(text); });
    }
};

} // namespace

TEST(DefaultErrorHandler, ShowsEscapedErrorsAndIgnoresTheSilentAbort)
{
    App a;
    struct Case
    {
        const char *what;
        std::function<void()> raise;
        QStringList shown;
    };
    const Case cases[] = {
        {"program error",
         [] { throw EPosError(QStringLiteral("Lock conflict on no wait transaction")); },
         {QStringLiteral("Lock conflict on no wait transaction")}},
        {"library error", [] { throw std::runtime_error("bad things"); }, {QStringLiteral("bad things")}},
        {"silent abort", [] { throw EAbort(); }, {}},
        {"anything else", [] { throw 42; }, {QStringLiteral("Unknown error.")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        a.shown.clear();
        Thrower t;
        t.onEvent = c.raise;
        QEvent e(QEvent::User);
        EXPECT_NO_THROW(QCoreApplication::sendEvent(&t, &e));
        EXPECT_EQ(a.shown, c.shown);
    }
}

TEST(DefaultErrorHandler, EventLoopGoesOnAfterAnError)
{
    App a;
    bool laterRan = false;
    QTimer::singleShot(0, [] { throw EPosError(QStringLiteral("first")); });
    QTimer::singleShot(5, [&] {
        laterRan = true;
        QCoreApplication::quit();
    });
    EXPECT_EQ(a.app.exec(), 0);
    EXPECT_TRUE(laterRan);
    EXPECT_EQ(a.shown, QStringList{QStringLiteral("first")});
}
