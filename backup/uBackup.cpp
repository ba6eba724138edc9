#include "backup/uBackup.h"

#include "backup/core/BackupNaming.h"
#include "backup/core/StowlineHost.h"
#include "backup/core/SweepReport.h"
#include "dialogs/AdvDialogs.h"
#include "util/Errors.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

const int kPollInterval = 100;

const QString kTransferred = QStringLiteral("Data successfully transferred for review.");
const QString kNotTransferred = QStringLiteral("Data could NOT be transferred for review.");
const QString kSweepQuestion = QStringLiteral("Are you sure to start the database compression?\r\n"
                                              "Depending on the database and machine speed this might take a while.");
const QString kSweepFailed = QStringLiteral("Unfortunately the database compression was NOT successful.\r\n"
                                            "Check the Stowline.log for more information.");

// The size of the database file in bytes, -1 when it cannot be found. Read in full
// 64 bits, so that a database of 2 GiB or more is not reported with a wrong size.
qint64 databaseFileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

} // namespace

TBackupForm::TBackupForm(TBackup *owner)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), Timer1(new QTimer(this)), Backup(owner)
{
    setWindowTitle(QStringLiteral("BackupForm"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setClientSize(410, 251);
    Timer1->setInterval(kPollInterval);
    connect(Timer1, &QTimer::timeout, this, &TBackupForm::Timer1Timer);
}

void TBackupForm::setClientSize(int width, int height)
{
    setFixedSize(width, height);
}

void TBackupForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TBackupForm::reject()
{
}

void TBackupForm::Timer1Timer()
{
    Timer1->stop();
    TDispId modalResultId = 0;
    IStowlineControl *control = Backup->PolledControl(modalResultId);
    if (!control)
        return;
    if (OleInt(control->GetProperty(modalResultId)) == smrRunning) {
        Timer1->start();
        return;
    }
    done(OleInt(control->GetProperty(modalResultId)));
}

// One control in the host window for the time of one operation: created, sized,
// embedded and polled on construction; taken out, destroyed and its field cleared
// on every way out.
class TBackup::THosted
{
public:
    THosted(TBackup &client, std::unique_ptr<IStowlineControl> &field, TStowlineClass control, bool ownedByHost)
        : fClient(client), fField(field)
    {
        client.fLastResult = smrRunning;
        fField = CreateStowlineControl(control, ownedByHost ? client.f : nullptr);
        try {
            client.f->setClientSize(fField->Width(), fField->Height());
            fField->EmbedIn(client.f);
        } catch (...) {
            release();
            throw;
        }
        client.f->Timer1->start();
    }
    ~THosted() { release(); }
    THosted(const THosted &) = delete;
    THosted &operator=(const THosted &) = delete;

    void set(TDispId id, const TOleValue &value) { fField->SetProperty(id, value); }
    QString text(TDispId id) const { return OleText(fField->GetProperty(id)); }
    void invoke(TDispId method) { fField->Invoke(method); }
    // The host window's modal result, kept as the client's last.
    int showModal()
    {
        fClient.fLastResult = fClient.f->exec();
        return fClient.fLastResult;
    }

private:
    void release()
    {
        if (fField)
            fField->EmbedIn(nullptr);
        fField.reset();
    }

    TBackup &fClient;
    std::unique_ptr<IStowlineControl> &fField;
};

TBackup::TBackup(bool /*isVisible*/)
{
    StowlineApartmentEnter();
    f = new TBackupForm(this);
}

TBackup::~TBackup()
{
    delete f;
    f = nullptr;
    StowlineApartmentLeave();
}

IStowlineControl *TBackup::PolledControl(TDispId &modalResultId) const
{
    const std::pair<const std::unique_ptr<IStowlineControl> *, TDispId> inOrder[] = {
        {&bb, IFmBackupBackup::ModalResult},
        {&br, IFmBackupRestore::ModalResult},
        {&bm, IFmBackupManager::ModalResult},
        {&bt, IFmBackupTransfer::ModalResult},
    };
    for (const auto &[field, id] : inOrder) {
        if (*field) {
            modalResultId = id;
            return field->get();
        }
    }
    return nullptr;
}

bool TBackup::Backup(TBackupClient backupClient, TBackupMode backupMode, const QString &remoteDBPath,
                     const QString &localDBPath, QString &backupFileName, qint32 siteNo, bool canClearLiveSales,
                     qint32 sqlVersion, const QDateTime &monthEndDate, bool autoMode, qint32 extBackupMethod,
                     const QString &extBackupCommand)
{
    using namespace IFmBackupBackup;
    THosted control(*this, bb, TStowlineClass::FmBackupBackup, true);
    control.set(BackupClient, qint32(backupClient));
    control.set(BackupMode, qint32(backupMode));
    control.set(RemoteDBPath, remoteDBPath);
    control.set(LocalDBPath, localDBPath);
    control.set(BackupFileName, backupFileName);
    control.set(ExternalBackupMethod, extBackupMethod);
    control.set(ExternalBackupCommand, extBackupCommand);

    const bool givenNameKept = backupClient == bcBrisko && !backupFileName.isEmpty();
    const QString chosen = givenNameKept
        ? backupFileName
        : ConventionalBackupName(backupClient, backupMode, localDBPath, siteNo, sqlVersion, monthEndDate);
    control.set(BackupFileName, chosen);
    control.set(AllowClearLiveSales, qint32(canClearLiveSales ? 1 : 0));
    control.set(AutoStart, qint32(autoMode || backupMode == bmSqlUpdate ? 1 : 0));

    const int result = control.showModal();
    backupFileName = result == smrSucceeded ? control.text(BackupFileName) : QString();
    return result == smrSucceeded;
}

bool TBackup::Restore(TBackupClient backupClient, const QString &localDBPath, QString &backupFileName, bool autoMode)
{
    using namespace IFmBackupRestore;
    THosted control(*this, br, TStowlineClass::FmBackupRestore, false);
    control.set(BackupClient, qint32(backupClient));
    control.set(LocalDBPath, localDBPath);
    control.set(AutoStart, qint32(autoMode ? 1 : 0));
    if (autoMode)
        control.set(BackupFileName, backupFileName);
    else
        control.invoke(FormShow);

    const int result = control.showModal();
    backupFileName = control.text(BackupFileName);
    return result == smrSucceeded;
}

void TBackup::Manager(TBackupClient backupClient, const QString &remoteDBPath, const QString &localDBPath)
{
    using namespace IFmBackupManager;
    try {
        THosted control(*this, bm, TStowlineClass::FmBackupManager, false);
        control.set(BackupClient, qint32(backupClient));
        control.set(RemoteDBPath, remoteDBPath);
        control.set(LocalDBPath, localDBPath);
        control.showModal();
    } catch (const EAbort &) {
        // The silent abort is never shown.
    } catch (const std::exception &e) {
        ErrorDlg(errorText(e));
    }
}

bool TBackup::SendDataForReview(TBackupClient backupClient, TBackupMode backupMode, qint32 siteNo,
                                const QString &remoteDBPath, const QString &localDBPath, const QString &host,
                                const QString &user, const QString &pass)
{
    QString fileToSend;
    if (backupMode == bmSendFiles) {
        fileToSend = localDBPath;
    } else {
        // The review copy is always a fresh request backup, whatever the client.
        Backup(bcBrisko, bmRequest, remoteDBPath, localDBPath, fileToSend, siteNo, false, 0, QDateTime(), true, 0,
               QString());
    }
    if (fileToSend.isEmpty())
        return false;

    using namespace IFmBackupTransfer;
    int result = 0;
    {
        THosted control(*this, bt, TStowlineClass::FmBackupTransfer, false);
        control.set(BackupClient, qint32(backupClient));
        control.set(BackupMode, qint32(backupMode));
        control.set(RemoteDBPath, remoteDBPath);
        control.set(TransferFileName, fileToSend);
        control.set(RemoteFileName, QString());
        control.set(RemoteHost, host);
        control.set(RemoteUser, user);
        control.set(RemotePass, pass);
        control.set(AutoStart, qint32(1));
        result = control.showModal();
        if (result == smrSucceeded)
            InformationDlg(kTransferred);
        else
            ErrorDlg(kNotTransferred);
    }
    return result == smrSucceeded;
}

bool TBackup::Sweep(TBackupClient backupClient, const QString &remoteDBPath, const QString &localDBPath, bool autoStart)
{
    if (!autoStart && QuestionDlg(kSweepQuestion) != mrYes)
        return false;

    const qint64 oldSize = databaseFileSize(localDBPath);
    QString fileName = DailyBackupName(localDBPath);
    const bool done = Backup(backupClient, bmStandard, remoteDBPath, localDBPath, fileName, 0, false, 0, QDateTime(),
                             true, 0, QString())
        && Restore(backupClient, localDBPath, fileName, true);
    if (!done) {
        WarningDlg(kSweepFailed);
        return false;
    }
    if (!autoStart)
        InformationDlg(SweepReportText(oldSize, databaseFileSize(localDBPath)));
    return true;
}
