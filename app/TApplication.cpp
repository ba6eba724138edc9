#include "app/TApplication.h"

#include "util/Errors.h"

#include <QMessageBox>

const QString TApplication::kTitle = QStringLiteral("Pordane2020");

void ShowErrorBox(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, TApplication::kTitle, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText); // a database message is never markup
    box.exec();
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv), fShower(ShowErrorBox)
{
}

void TApplication::SetErrorShower(TErrorShower shower)
{
    fShower = std::move(shower);
}

void TApplication::showError(const QString &text)
{
    // The box runs its own loop; an error escaping from there must not unwind either.
    try {
        if (fShower)
            fShower(text);
    } catch (...) {
    }
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EAbort &) {
    } catch (const std::exception &e) {
        showError(errorText(e));
    } catch (...) {
        showError(QStringLiteral("Unknown error."));
    }
    return false;
}
