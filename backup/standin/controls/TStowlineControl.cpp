#include "backup/standin/controls/TStowlineControl.h"

#include "backup/standin/jobs/StowlineLog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const int kDesignWidth = 520;
const int kDesignHeight = 380;
// The message view keeps the latest lines only; the log has them all.
const int kMessageLines = 5000;

} // namespace

// Carries what the work thread reports over to the control, on the control's own
// thread; reports for a control that is gone are dropped by Qt.
class TStowlineControl::TProgressRelay : public TJobProgress
{
public:
    TProgressRelay(TStowlineControl *control, std::shared_ptr<std::atomic<bool>> cancel)
        : fControl(control), fCancel(std::move(cancel))
    {
    }

    void step(const QString &what) override
    {
        StowlineLog(what);
        post([c = fControl, what] {
            c->fStep->setText(what);
            c->fBar->setRange(0, 0);
            c->fMessages->appendPlainText(what);
        });
    }
    void message(const QString &line) override
    {
        post([c = fControl, line] { c->fMessages->appendPlainText(line); });
    }
    void percent(int value) override
    {
        post([c = fControl, value] {
            if (value < 0) {
                c->fBar->setRange(0, 0);
            } else {
                c->fBar->setRange(0, 100);
                c->fBar->setValue(value);
            }
        });
    }
    bool cancelRequested() const override { return *fCancel; }

private:
    template <class F>
    void post(F &&f)
    {
        QMetaObject::invokeMethod(fControl, std::forward<F>(f), Qt::QueuedConnection);
    }

    TStowlineControl *fControl;
    std::shared_ptr<std::atomic<bool>> fCancel;
};

TStowlineControl::TStowlineControl(const QString &title, TDispId modalResultId, QWidget *owner)
    : QWidget(owner), fTitle(title), fModalResultId(modalResultId)
{
    fProperties.insert(modalResultId, {QStringLiteral("ModalResult"), qint32(smrRunning)});

    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(title, this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    layout->addWidget(heading);

    fDetails = new QLabel(this);
    fDetails->setWordWrap(true);
    fDetails->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(fDetails);

    fStep = new QLabel(QStringLiteral("Ready."), this);
    fStep->setWordWrap(true);
    layout->addWidget(fStep);

    fBar = new QProgressBar(this);
    fBar->setRange(0, 100);
    fBar->setValue(0);
    layout->addWidget(fBar);

    fExtra = new QVBoxLayout;
    layout->addLayout(fExtra);

    fMessages = new QPlainTextEdit(this);
    fMessages->setReadOnly(true);
    fMessages->setMaximumBlockCount(kMessageLines);
    layout->addWidget(fMessages, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    fStart = new QPushButton(QStringLiteral("&Start"), this);
    fCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttons->addWidget(fStart);
    buttons->addWidget(fCancel);
    layout->addLayout(buttons);

    connect(fStart, &QPushButton::clicked, this, &TStowlineControl::start);
    connect(fCancel, &QPushButton::clicked, this, &TStowlineControl::cancel);
}

TStowlineControl::~TStowlineControl()
{
    if (fThread) {
        // The work cannot outlive its control: it stops at its next safe point.
        *fCancelRequested = true;
        fThread->wait();
        delete fThread;
    }
}

void TStowlineControl::declare(TDispId id, const QString &name, const TOleValue &initial)
{
    fProperties.insert(id, {name, initial});
}

void TStowlineControl::SetProperty(TDispId id, const TOleValue &value)
{
    auto it = fProperties.find(id);
    if (it == fProperties.end())
        throw EPosError(QStringLiteral("%1 has no property with dispatch id %2.").arg(fTitle).arg(id));
    if (id == fModalResultId)
        throw EPosError(QStringLiteral("%1: ModalResult is read-only.").arg(fTitle));
    if (value.index() != it->value.index())
        throw EPosError(QStringLiteral("%1: property %2 takes a %3.")
                            .arg(fTitle, it->name,
                                 std::holds_alternative<qint32>(it->value) ? QStringLiteral("number")
                                                                           : QStringLiteral("text")));
    it->value = value;
}

TOleValue TStowlineControl::GetProperty(TDispId id) const
{
    auto it = fProperties.constFind(id);
    if (it == fProperties.cend())
        throw EPosError(QStringLiteral("%1 has no property with dispatch id %2.").arg(fTitle).arg(id));
    return it->value;
}

void TStowlineControl::Invoke(TDispId method)
{
    throw EPosError(QStringLiteral("%1 has no method with dispatch id %2.").arg(fTitle).arg(method));
}

int TStowlineControl::Width() const
{
    return kDesignWidth;
}

int TStowlineControl::Height() const
{
    return kDesignHeight;
}

void TStowlineControl::EmbedIn(QWidget *host)
{
    if (QWidget *previous = parentWidget(); previous && previous->layout())
        previous->layout()->removeWidget(this);
    if (!host) {
        hide();
        setParent(nullptr);
        return;
    }
    setParent(host);
    if (!host->layout()) {
        auto *fill = new QVBoxLayout(host);
        fill->setContentsMargins(0, 0, 0, 0);
    }
    host->layout()->addWidget(this);
    show();
}

qint32 TStowlineControl::intProperty(TDispId id) const
{
    return OleInt(GetProperty(id));
}

QString TStowlineControl::textProperty(TDispId id) const
{
    return OleText(GetProperty(id));
}

void TStowlineControl::store(TDispId id, const TOleValue &value)
{
    fProperties[id].value = value;
}

void TStowlineControl::setDetails(const QString &text)
{
    fDetails->setText(text);
}

void TStowlineControl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (fShown)
        return;
    fShown = true;
    if (startsOnShow()) {
        fAutoStarted = true;
        // Once the window is on screen, so that the operator sees the work begin.
        QTimer::singleShot(0, this, &TStowlineControl::start);
    }
}

void TStowlineControl::start()
{
    if (fThread || intProperty(fModalResultId) != smrRunning)
        return;
    TJob job;
    try {
        job = makeJob();
    } catch (const std::exception &e) {
        StowlineLog(describeRun());
        failed(errorText(e));
        return;
    }
    StowlineLog(describeRun());
    fMessages->clear();
    fStart->setEnabled(false);
    fCancel->setText(QStringLiteral("&Cancel"));
    fCancel->setEnabled(true);
    fBar->setRange(0, 0);

    fCancelRequested = std::make_shared<std::atomic<bool>>(false);
    auto relay = std::make_shared<TProgressRelay>(this, fCancelRequested);
    fThread = QThread::create([this, job, relay] {
        QString result, error;
        bool cancelled = false;
        try {
            result = job(*relay);
        } catch (const EAbort &) {
            cancelled = true;
        } catch (const std::exception &e) {
            error = errorText(e);
        }
        QMetaObject::invokeMethod(
            this, [this, result, error, cancelled] { runFinished(result, error, cancelled); },
            Qt::QueuedConnection);
    });
    fThread->start();
}

void TStowlineControl::cancel()
{
    if (fThread) {
        *fCancelRequested = true;
        fCancel->setEnabled(false);
        fStep->setText(QStringLiteral("Cancelling: the step under way is finished first, then everything "
                                      "it wrote is removed."));
        StowlineLog(fTitle + QStringLiteral(": cancel requested"));
        return;
    }
    if (!fSucceeded)
        StowlineLog(fTitle + QStringLiteral(": closed without success"));
    finish(fSucceeded ? smrSucceeded : smrFailed);
}

void TStowlineControl::runFinished(const QString &result, const QString &error, bool cancelled)
{
    fThread->wait();
    delete fThread;
    fThread = nullptr;
    fBar->setRange(0, 100);

    if (cancelled) {
        fStep->setText(QStringLiteral("Cancelled."));
        StowlineLog(fTitle + QStringLiteral(": cancelled; nothing was kept"));
        finish(smrFailed);
    } else if (!error.isEmpty()) {
        failed(error);
    } else {
        fBar->setValue(100);
        fStep->setText(QStringLiteral("Done."));
        StowlineLog(fTitle + QStringLiteral(": done. ") + result);
        fSucceeded = true;
        jobSucceeded(result);
        if (closesOnSuccess())
            finish(smrSucceeded);
        else
            fCancel->setText(QStringLiteral("&Close"));
        fCancel->setEnabled(true);
    }
}

void TStowlineControl::failed(const QString &error)
{
    StowlineLog(fTitle + QStringLiteral(": FAILED: ") + error);
    fStep->setText(QStringLiteral("Failed: ") + error);
    fMessages->appendPlainText(QStringLiteral("Failed: ") + error);
    fBar->setRange(0, 100);
    fBar->setValue(0);
    fCancel->setText(QStringLiteral("&Close"));
    fCancel->setEnabled(true);
    if (!fAutoStarted) {
        fStart->setEnabled(true); // an operator who started it may try again
        return;
    }
    // The operator reads why before the caller moves on; unwatched work still ends.
    const int wait = unattendedFailureWait();
    if (wait <= 0) {
        finish(smrFailed);
        return;
    }
    fCancel->setFocus();
    QTimer::singleShot(wait, this, [this] {
        if (intProperty(fModalResultId) == smrRunning)
            finish(smrFailed);
    });
}

namespace {
int gUnattendedFailureWait = 60000;
}

void TStowlineControl::setUnattendedFailureWait(int milliseconds)
{
    gUnattendedFailureWait = milliseconds;
}

int TStowlineControl::unattendedFailureWait()
{
    return gUnattendedFailureWait;
}

void TStowlineControl::finish(qint32 result)
{
    store(fModalResultId, result);
    fStart->setEnabled(false);
    fCancel->setEnabled(false);
}
