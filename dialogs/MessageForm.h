#pragma once
// The message dialog's window: one borderless, topmost, modal window laid out around
// the message, an optional icon and a row of buttons, built but not shown.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

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
std::unique_ptr<TMessageForm> CreateMessageForm(const QString &message, const QStringList &captions, int dlgType,
                                                const QString &caption, int buttonHeight, bool systemMenu,
                                                bool escapeCancels, bool altF4Allowed, const QString &cbCaption = {},
                                                const QString &cbSection = {}, const QString &cbKey = {},
                                                int cbValue = 0);
