#pragma once
// Answers the modal windows that come up next, one answer each and in order, from
// the event loop that the window runs. The next window must come within the
// deadline (counted from the previous answer); when it does not, the test fails and
// every modal window is closed from then on, so that the code waiting on one
// returns instead of hanging the run.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <vector>

class NextDialogs
{
public:
    // Answers the active modal window and returns true, or returns false to be asked
    // again on a later look (the window is not its kind, or not ready yet).
    using Answer = std::function<bool(QWidget *)>;

    static constexpr std::chrono::milliseconds kDeadline{20000};

    explicit NextDialogs(Answer answer, std::chrono::milliseconds deadline = kDeadline);
    explicit NextDialogs(std::vector<Answer> answers, std::chrono::milliseconds deadline = kDeadline);
    // Fails the test for each answer that found no window.
    ~NextDialogs();
    NextDialogs(const NextDialogs &) = delete;
    NextDialogs &operator=(const NextDialogs &) = delete;

private:
    void look();
    void closeModalWindow();

    std::vector<Answer> fAnswers;
    std::size_t fNext = 0;
    std::chrono::milliseconds fDeadline;
    QElapsedTimer fWaiting;
    QTimer fTimer;
    bool fAnswering = false;
    bool fGivenUp = false;
};

// An answer for windows of one class only.
template <class Dialog>
NextDialogs::Answer answerAs(std::function<void(Dialog *)> answer)
{
    return [answer](QWidget *window) {
        auto *dialog = qobject_cast<Dialog *>(window);
        if (dialog)
            answer(dialog);
        return dialog != nullptr;
    };
}
