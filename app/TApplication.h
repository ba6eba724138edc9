#pragma once
// The application object. Its default error handler shows any error that
// escapes an event handler in a message box and lets the program go on; the
// silent abort error passes unseen. No exception unwinds through the event loop.
#include <QApplication>
#include <functional>

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows an escaped error's text; the message box by default.
    using TErrorShower = std::function<void(const QString &text)>;
    void SetErrorShower(TErrorShower shower);

    // The caption of the error box and of dialogs given none.
    static const QString kTitle;

private:
    void showError(const QString &text);
    TErrorShower fShower;
};

// The default error box: error icon, the application's title, OK.
void ShowErrorBox(const QString &text);
