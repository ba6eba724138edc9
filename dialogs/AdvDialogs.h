#pragma once
// The program's own message and question dialogs: the kinds and answers, the window
// they show (dialogs/MessageForm.h), and the calls that show it.
#include "dialogs/DialogCodes.h"
#include "dialogs/MessageForm.h"

#include <QString>
#include <QStringList>

// Shows the dialog modally; returns 100 + the position of the pressed button's
// caption, or 2 when Escape (or an allowed Alt+F4) cancelled it.
int MessageFormDlg(const QString &message, const QStringList &captions, int dlgType, const QString &caption,
                   int buttonHeight, bool systemMenu, bool escapeCancels, bool altF4Allowed,
                   const QString &cbCaption = {}, const QString &cbSection = {}, const QString &cbKey = {},
                   int cbValue = 0);

// Yes/No question: mrYes or mrNo.
int QuestionDlg(const QString &message, const QString &caption = {}, const QString &cbCaption = {},
                const QString &cbKey = {});
// One OK button each; they return mrOk.
int InformationDlg(const QString &message, const QString &caption = {});
int ErrorDlg(const QString &message, const QString &caption = {});
int WarningDlg(const QString &message, const QString &caption = {});

// The caption used when a dialog is given none: the application's title, set
// at start (the application's display name until then). Kept apart from the
// display name, which window systems append to every window's title.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);
