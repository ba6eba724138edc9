#include "dialogs/AdvDialogs.h"

#include "dialogs/DialogAnswerer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

namespace {

// The dialog is topmost; other topmost windows of the application step back
// for its time so they cannot cover it.
class TTopmostsNormalised
{
public:
    explicit TTopmostsNormalised(const QWidget *dialog)
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            QWindow *handle = w->windowHandle();
            if (w == dialog || !w->isVisible() || !handle || !(handle->flags() & Qt::WindowStaysOnTopHint))
                continue;
            handle->setFlags(handle->flags() & ~Qt::WindowStaysOnTopHint);
            fWindows.append(handle);
        }
    }
    ~TTopmostsNormalised()
    {
        for (QWindow *handle : std::as_const(fWindows))
            if (handle)
                handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
    }

private:
    QList<QPointer<QWindow>> fWindows;
};

// The busy pointer over the whole application while a dialog is up; taken
// back on every way out, an escaping error included.
class TBusyPointer
{
public:
    TBusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyPointer() { QApplication::restoreOverrideCursor(); }
    TBusyPointer(const TBusyPointer &) = delete;
    TBusyPointer &operator=(const TBusyPointer &) = delete;
};

} // namespace

int MessageFormDlg(const QString &message, const QStringList &captions, int dlgType, const QString &caption,
                   int buttonHeight, bool systemMenu, bool escapeCancels, bool altF4Allowed, const QString &cbCaption,
                   const QString &cbSection, const QString &cbKey, int cbValue)
{
    if (const TDialogAnswerer &answer = dialogAnswerer())
        return answer(message, dlgType);

    QCoreApplication::processEvents();
    int result;
    {
        TBusyPointer busy;
        QApplication::beep();
        std::unique_ptr<TMessageForm> form =
            CreateMessageForm(message, captions, dlgType, caption, buttonHeight, systemMenu, escapeCancels,
                              altF4Allowed, cbCaption, cbSection, cbKey, cbValue);
        {
            TTopmostsNormalised stepBack(form.get());
            result = form->exec();
        }
        form.reset();
        QCoreApplication::processEvents();
    }
    return result;
}

namespace {
QString &applicationTitleSlot()
{
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle()
{
    const QString &title = applicationTitleSlot();
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

void SetApplicationTitle(const QString &title)
{
    applicationTitleSlot() = title;
}

namespace {
QString captionOrTitle(const QString &caption)
{
    return caption.isEmpty() ? ApplicationTitle() : caption;
}

int okDialog(const QString &message, const QString &caption, int dlgType)
{
    const int r =
        MessageFormDlg(message, {QStringLiteral("&Ok")}, dlgType, captionOrTitle(caption), 40, false, false, false);
    return r == mrFirstButton ? mrOk : r;
}
} // namespace

int QuestionDlg(const QString &message, const QString &caption, const QString &cbCaption, const QString &cbKey)
{
    const int r =
        MessageFormDlg(message, {QStringLiteral("&Yes"), QStringLiteral("&No")}, mtQuestion, captionOrTitle(caption),
                       40, false, false, false, cbCaption, QStringLiteral("Dialogs"), cbKey, 0);
    if (r == mrFirstButton)
        return mrYes;
    if (r == mrFirstButton + 1)
        return mrNo;
    return r;
}

int InformationDlg(const QString &message, const QString &caption)
{
    okDialog(message, caption, mtInformation);
    return mrOk;
}

int ErrorDlg(const QString &message, const QString &caption)
{
    return okDialog(message, caption, mtError);
}

int WarningDlg(const QString &message, const QString &caption)
{
    return okDialog(message, caption, mtWarning);
}
