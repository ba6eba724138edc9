#pragma once
// The program's own message and question dialogs: one borderless, topmost,
// modal window laid out around the message, an optional icon and a row of buttons.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

// Dialog types: select the icon and the sound.
enum TMsgDlgType : int {
    mtNone = 0,
    mtError = 16,
    mtQuestion = 32,
    mtWarning = 48,
    mtInformation = 64,
};

// Result numbers besides the buttons' own (100 + caption position).
constexpr int mrCancel = 2;
constexpr int mrFirstButton = 100;

class TMessageForm : public QDialog
{
    Q_OBJECT
public:
    explicit TMessageForm(QWidget *parent = nullptr);

    QWidget *pnBack;
    QWidget *pnMain;
    QWidget *pnButtons;
    QLabel *image;
    QLabel *MsgLabel;
    QString pbCbRegSection;
    QString pbCbRegKey;
    int pbCbRegValue = 0;

    // The check box, when the dialog has one; the buttons, first caption first.
    QCheckBox *checkBox() const { return fCheckBox; }
    const QList<QPushButton *> &buttons() const { return fButtons; }

    void setKeySwitches(bool escapeCancels, bool altF4Allowed);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TMessageFormBuilder;
    void layoutPanels();
    bool handleKey(QKeyEvent *event);

    QList<QPushButton *> fButtons;
    QCheckBox *fCheckBox = nullptr;
    bool fEscapeCancels = false;
    bool fAltF4Allowed = false;
};

// Builds the dialog window exactly as MessageFormDlg shows it, without showing it.
std::unique_ptr<TMessageForm> CreateMessageForm(const QString &message, const QStringList &captions,
                                                int dlgType, const QString &caption, int buttonHeight,
                                                bool systemMenu, bool escapeCancels, bool altF4Allowed,
                                                const QString &cbCaption = {},
                                                const QString &cbSection = {},
                                                const QString &cbKey = {}, int cbValue = 0);

// Shows the dialog modally; returns 100 + the position of the pressed button's
// caption, or 2 when Escape (or an allowed Alt+F4) cancelled it.
int MessageFormDlg(const QString &message, const QStringList &captions, int dlgType,
                   const QString &caption, int buttonHeight, bool systemMenu,
                   bool escapeCancels, bool altF4Allowed, const QString &cbCaption = {},
                   const QString &cbSection = {}, const QString &cbKey = {}, int cbValue = 0);

// Yes/No question: 6 for Yes, 7 for No.
int QuestionDlg(const QString &message, const QString &caption = {},
                const QString &cbCaption = {}, const QString &cbKey = {});
// One OK button each; they return 1.
int InformationDlg(const QString &message, const QString &caption = {});
int ErrorDlg(const QString &message, const QString &caption = {});
int WarningDlg(const QString &message, const QString &caption = {});

// The caption used when a dialog is given none: the application's title, set
// at start (the application's display name until then). Kept apart from the
// display name, which window systems append to every window's title.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);
