#include "backup/standin/controls/TStowlineControl.h"

#include "backup/standin/jobs/StowlineLog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const int kDesignWidth = 520;
const int kDesignHeight = 380;
// The message view keeps the latest lines only; the log has them all.
const int kMessageLines = 5000;

} // namespace

TStowlineControl::TStowlineControl(const QString &title, TDispId modalResultId, QWidget *owner)
    : QWidget(owner), fTitle(title), fProperties(title), fResult(fProperties, modalResultId)
{
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

    connect(&fWorker, &TStowlineWorker::stepped, this, [this](const QString &what) {
        fStep->setText(what);
        fBar->setRange(0, 0);
        fMessages->appendPlainText(what);
    });
    connect(&fWorker, &TStowlineWorker::messaged, fMessages, &QPlainTextEdit::appendPlainText);
    connect(&fWorker, &TStowlineWorker::percentReached, this, &TStowlineControl::showPercent);
    connect(&fWorker, &TStowlineWorker::finished, this, &TStowlineControl::runFinished);
}

void TStowlineControl::declare(TDispId id, const QString &name, const TOleValue &initial)
{
    fProperties.declare(id, name, initial);
}

void TStowlineControl::SetProperty(TDispId id, const TOleValue &value)
{
    fProperties.set(id, value);
}

TOleValue TStowlineControl::GetProperty(TDispId id) const
{
    return fProperties.get(id);
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
    return fProperties.intValue(id);
}

QString TStowlineControl::textProperty(TDispId id) const
{
    return fProperties.textValue(id);
}

void TStowlineControl::store(TDispId id, const TOleValue &value)
{
    fProperties.store(id, value);
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
        fResult.markAutoStarted();
        // Once the window is on screen, so that the operator sees the work begin.
        QTimer::singleShot(0, this, &TStowlineControl::start);
    }
}

void TStowlineControl::start()
{
    if (fWorker.isRunning() || fResult.hasEnded())
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
    fWorker.run(job);
}

void TStowlineControl::cancel()
{
    if (fWorker.isRunning()) {
        fWorker.requestCancel();
        fCancel->setEnabled(false);
        fStep->setText(QStringLiteral("Cancelling: the step under way is finished first, then everything "
                                      "it wrote is removed."));
        StowlineLog(fTitle + QStringLiteral(": cancel requested"));
        return;
    }
    if (!fResult.hasSucceeded())
        StowlineLog(fTitle + QStringLiteral(": closed without success"));
    finish(fResult.resultOnClose());
}

void TStowlineControl::showPercent(int value)
{
    if (value < 0) {
        fBar->setRange(0, 0);
    } else {
        fBar->setRange(0, 100);
        fBar->setValue(value);
    }
}

void TStowlineControl::runFinished(const QString &result, const QString &error, bool cancelled)
{
    fBar->setRange(0, 100);

    if (cancelled) {
        fStep->setText(QStringLiteral("Cancelled."));
        StowlineLog(fTitle + QStringLiteral(": cancelled; nothing was kept"));
        finish(smrCancelled);
    } else if (!error.isEmpty()) {
        failed(error);
    } else {
        fBar->setValue(100);
        fStep->setText(QStringLiteral("Done."));
        StowlineLog(fTitle + QStringLiteral(": done. ") + result);
        fResult.succeed();
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
    fResult.fail();
    fStep->setText(QStringLiteral("Failed: ") + error);
    fMessages->appendPlainText(QStringLiteral("Failed: ") + error);
    fBar->setRange(0, 100);
    fBar->setValue(0);
    fCancel->setText(QStringLiteral("&Close"));
    fCancel->setEnabled(true);
    const int wait = unattendedFailureWait();
    switch (fResult.afterFailure(wait)) {
    case TStowlineResult::TAfterFailure::Retry:
        fStart->setEnabled(true); // an operator who started it may try again
        break;
    case TStowlineResult::TAfterFailure::EndNow:
        finish(smrFailed);
        break;
    case TStowlineResult::TAfterFailure::EndAfterWait:
        // The operator reads why before the caller moves on; unwatched work still ends.
        fCancel->setFocus();
        QTimer::singleShot(wait, this, [this] {
            if (!fResult.hasEnded())
                finish(smrFailed);
        });
        break;
    }
}

void TStowlineControl::finish(qint32 result)
{
    fResult.end(result);
    fStart->setEnabled(false);
    fCancel->setEnabled(false);
}
