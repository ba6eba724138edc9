#include "tests/support/NextDialogs.h"

#include <QApplication>
#include <QDialog>
#include <gtest/gtest.h>

NextDialogs::NextDialogs(Answer answer, std::chrono::milliseconds deadline)
    : NextDialogs(std::vector<Answer>{std::move(answer)}, deadline)
{
}

NextDialogs::NextDialogs(std::vector<Answer> answers, std::chrono::milliseconds deadline)
    : fAnswers(std::move(answers)), fDeadline(deadline)
{
    QObject::connect(&fTimer, &QTimer::timeout, [this] { look(); });
    fTimer.start(10);
    fWaiting.start();
}

NextDialogs::~NextDialogs()
{
    fTimer.stop();
    if (fNext < fAnswers.size() && !fGivenUp)
        ADD_FAILURE() << "only " << fNext << " of " << fAnswers.size() << " dialogs came up";
}

void NextDialogs::look()
{
    // An answer may run the event loop (a key press, a wait); this look waits for it.
    if (fAnswering)
        return;
    if (fGivenUp) {
        closeModalWindow();
        return;
    }
    if (fNext == fAnswers.size()) {
        fTimer.stop();
        return;
    }
    QWidget *window = QApplication::activeModalWidget();
    if (window && window->isVisible() && window->isActiveWindow()) {
        fAnswering = true;
        const bool answered = fAnswers[fNext](window);
        fAnswering = false;
        if (answered) {
            ++fNext;
            fWaiting.restart();
            return;
        }
    }
    if (fWaiting.elapsed() > fDeadline.count()) {
        ADD_FAILURE() << "dialog " << fNext + 1 << " of " << fAnswers.size() << " did not come within "
                      << fDeadline.count() << " ms";
        fGivenUp = true;
        closeModalWindow();
    }
}

void NextDialogs::closeModalWindow()
{
    QWidget *window = QApplication::activeModalWidget();
    if (!window)
        return;
    if (auto *dialog = qobject_cast<QDialog *>(window))
        dialog->done(QDialog::Rejected);
    else
        window->close();
}
