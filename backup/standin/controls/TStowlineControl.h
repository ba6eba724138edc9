#pragma once
// What the four stand-in controls share: a window on the work (stage, progress,
// the service's messages) with Start and Cancel, over their properties by dispatch id
// (TStowlineProperties), the ModalResult contract (TStowlineResult) and the work run
// on its own thread (TStowlineWorker).
#include "backup/core/Stowline_TLB.h"
#include "backup/standin/controls/TStowlineProperties.h"
#include "backup/standin/controls/TStowlineResult.h"
#include "backup/standin/controls/TStowlineWorker.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

class TStowlineControl : public QWidget, public IStowlineControl
{
    Q_OBJECT
public:
    void SetProperty(TDispId id, const TOleValue &value) override;
    TOleValue GetProperty(TDispId id) const override;
    void Invoke(TDispId method) override;
    int Width() const override;
    int Height() const override;
    void EmbedIn(QWidget *host) override;

    // Starts the work (nothing happens while it runs already).
    void start();
    // The Cancel button: asks running work to stop at its next safe point (the control
    // then ends as cancelled); when idle, closes with success when the work has
    // succeeded, with failure when it failed, else as cancelled.
    void cancel();
    bool isRunning() const { return fWorker.isRunning(); }

    // After work that started by itself fails, its message stays on screen until the
    // operator presses Close, or this long at most for a run nobody watches.
    static void setUnattendedFailureWait(int milliseconds) { sUnattendedFailureWait = milliseconds; }
    static int unattendedFailureWait() { return sUnattendedFailureWait; }

protected:
    // The work of one run: made on the user-interface thread from the properties,
    // run on the work thread; its result text is logged and passed to jobSucceeded.
    using TJob = TStowlineWorker::TJob;

    TStowlineControl(const QString &title, TDispId modalResultId, QWidget *owner);

    void declare(TDispId id, const QString &name, const TOleValue &initial);
    qint32 intProperty(TDispId id) const;
    QString textProperty(TDispId id) const;
    // Sets a property from inside the control (read-only ones included).
    void store(TDispId id, const TOleValue &value);

    // What a run does; EPosError refuses to start with that message.
    virtual TJob makeJob() = 0;
    // A line for the log saying what is about to be done.
    virtual QString describeRun() const = 0;
    virtual void jobSucceeded(const QString &result) { Q_UNUSED(result); }
    // Whether the work starts by itself once the control is shown.
    virtual bool startsOnShow() const = 0;
    // Whether success ends the control's work (result 1 at once) or waits for Close.
    virtual bool closesOnSuccess() const { return true; }

    // Room for a control's own widgets, above the messages.
    QVBoxLayout *extraArea() const { return fExtra; }
    void setDetails(const QString &text);
    QPushButton *startButton() const { return fStart; }
    // Ends the control's work with this result (what ModalResult reports).
    void finish(qint32 result);

    void showEvent(QShowEvent *event) override;

private:
    void runFinished(const QString &result, const QString &error, bool cancelled);
    void failed(const QString &error);
    void showPercent(int value);

    inline static int sUnattendedFailureWait = 60000;

    QString fTitle;
    TStowlineProperties fProperties;
    TStowlineResult fResult;
    bool fShown = false;

    QLabel *fDetails;
    QLabel *fStep;
    QProgressBar *fBar;
    QVBoxLayout *fExtra;
    QPlainTextEdit *fMessages;
    QPushButton *fStart;
    QPushButton *fCancel;

    // Last, so that it goes first: running work stops while the rest is still whole.
    TStowlineWorker fWorker;
};
