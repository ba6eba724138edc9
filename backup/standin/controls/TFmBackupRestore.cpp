#include "backup/standin/controls/TFmBackupRestore.h"

#include "backup/standin/jobs/BackupListing.h"
#include "backup/standin/jobs/RestoreJob.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QVBoxLayout>

using namespace IFmBackupRestore;

TFmBackupRestore::TFmBackupRestore(QWidget *owner)
    : TStowlineControl(QStringLiteral("Database restore"), ModalResult, owner), fChoice(new QListWidget(this))
{
    declare(AutoStart, QStringLiteral("AutoStart"), qint32(0));
    declare(LocalDBPath, QStringLiteral("LocalDBPath"), QString());
    declare(BackupClient, QStringLiteral("BackupClient"), qint32(0));
    declare(BackupFileName, QStringLiteral("BackupFileName"), QString());

    fChoice->hide();
    extraArea()->addWidget(fChoice);
    connect(fChoice, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            store(BackupFileName, item->data(Qt::UserRole).toString());
    });
}

void TFmBackupRestore::Invoke(TDispId method)
{
    if (method != IFmBackupRestore::FormShow) {
        TStowlineControl::Invoke(method);
        return;
    }
    FormShow();
}

void TFmBackupRestore::FormShow()
{
    const QString database = textProperty(LocalDBPath);
    if (database.isEmpty())
        throw EPosError(QStringLiteral("Database restore: no database was named to restore into."));
    setDetails(QStringLiteral("Database: %1\nChoose the backup to restore:").arg(database));
    fChoice->clear();
    const QLocale locale;
    const QDir databaseFolder = QFileInfo(database).absoluteDir();
    for (const TBackupEntry &entry : ListBackups(database)) {
        auto *item = new QListWidgetItem(QStringLiteral("%1   (%2, %3)")
                                             .arg(QDir::toNativeSeparators(databaseFolder.relativeFilePath(entry.path)),
                                                  locale.formattedDataSize(entry.size),
                                                  locale.toString(entry.written, QLocale::ShortFormat)),
                                         fChoice);
        item->setToolTip(entry.path);
        item->setData(Qt::UserRole, entry.path);
    }
    fChoice->show();
    if (fChoice->count() > 0)
        fChoice->setCurrentRow(0);
}

bool TFmBackupRestore::startsOnShow() const
{
    return intProperty(AutoStart) == 1;
}

QString TFmBackupRestore::describeRun() const
{
    return QStringLiteral("Restore of %1 over %2").arg(textProperty(BackupFileName), textProperty(LocalDBPath));
}

TStowlineControl::TJob TFmBackupRestore::makeJob()
{
    const QString backup = textProperty(BackupFileName);
    const QString database = textProperty(LocalDBPath);
    fChoice->setEnabled(false);
    setDetails(QStringLiteral("Backup: %1\nDatabase: %2").arg(backup, database));
    return [backup, database](TJobProgress &progress) {
        RunSafeRestore(backup, database, progress);
        return QStringLiteral("%1 restored over %2").arg(backup, database);
    };
}
