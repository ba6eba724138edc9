#pragma once
// What the four stand-in controls share: properties by dispatch id, the
// ModalResult contract, a view of the work (stage, progress, the service's
// messages), Start and Cancel, and the work itself run on its own thread so
// that the window stays responsive.
#include "backup/standin/jobs/JobProgress.h"
#include "backup/core/Stowline_TLB.h"

#include <QHash>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QVBoxLayout;

class TStowlineControl : public QWidget, public IStowlineControl
{
    Q_OBJECT
public:
    ~TStowlineControl() override;

    void SetProperty(TDispId id, const TOleValue &value) override;
    TOleValue GetProperty(TDispId id) const override;
    void Invoke(TDispId method) override;
    int Width() const override;
    int Height() const override;
    void EmbedIn(QWidget *host) override;

    // Starts the work (nothing happens while it runs already).
    void start();
    // The Cancel button: asks running work to stop at its next safe point; when
    // idle, closes with success when the work has succeeded, else with failure.
    void cancel();
    bool isRunning() const { return fThread != nullptr; }

    // After work that started by itself fails, its message stays on screen until the
    // operator presses Close, or this long at most for a run nobody watches.
    static void setUnattendedFailureWait(int milliseconds);
    static int unattendedFailureWait();

protected:
    // The work of one run: made on the user-interface thread from the properties,
    // run on the work thread; its result text is logged and passed to jobSucceeded.
    using TJob = std::function<QString(TJobProgress &)>;

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
    struct TProperty
    {
        QString name;
        TOleValue value;
    };
    class TProgressRelay;

    void runFinished(const QString &result, const QString &error, bool cancelled);
    void failed(const QString &error);

    QString fTitle;
    TDispId fModalResultId;
    QHash<TDispId, TProperty> fProperties;
    bool fShown = false;
    bool fAutoStarted = false;
    bool fSucceeded = false;

    QLabel *fDetails;
    QLabel *fStep;
    QProgressBar *fBar;
    QVBoxLayout *fExtra;
    QPlainTextEdit *fMessages;
    QPushButton *fStart;
    QPushButton *fCancel;

    QThread *fThread = nullptr;
    std::shared_ptr<std::atomic<bool>> fCancelRequested;
};
