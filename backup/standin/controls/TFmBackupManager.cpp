#include "backup/standin/controls/TFmBackupManager.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace IFmBackupManager;

TFmBackupManager::TFmBackupManager(QWidget *owner)
    : TStowlineControl(QStringLiteral("Backups of the database"), ModalResult, owner), fList(new QTreeWidget(this))
{
    declare(BackupClient, QStringLiteral("BackupClient"), qint32(0));
    declare(LocalDBPath, QStringLiteral("LocalDBPath"), QString());
    declare(RemoteDBPath, QStringLiteral("RemoteDBPath"), QString());

    fList->setHeaderLabels({QStringLiteral("Backup"), QStringLiteral("Size"), QStringLiteral("Written")});
    fList->setRootIsDecorated(false);
    fList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    extraArea()->addWidget(fList, 3);
    // The listing runs on its own when shown; there is nothing to start by hand.
    startButton()->hide();
}

QString TFmBackupManager::describeRun() const
{
    return QStringLiteral("Listing the backups of %1").arg(textProperty(LocalDBPath));
}

TStowlineControl::TJob TFmBackupManager::makeJob()
{
    const QString database = textProperty(LocalDBPath);
    setDetails(QStringLiteral("Database: %1").arg(database));
    auto found = std::make_shared<QList<TBackupEntry>>();
    fFound = found;
    return [database, found](TJobProgress &progress) {
        progress.step(QStringLiteral("Looking for backups below the database's folder"));
        *found = ListBackups(database);
        return QStringLiteral("%1 backups found").arg(found->size());
    };
}

void TFmBackupManager::jobSucceeded(const QString &summary)
{
    fBackups = *fFound;
    const QLocale locale;
    const QDir databaseFolder = QFileInfo(textProperty(LocalDBPath)).absoluteDir();
    fList->clear();
    for (const TBackupEntry &entry : fBackups) {
        auto *item = new QTreeWidgetItem(fList);
        item->setText(0, QDir::toNativeSeparators(databaseFolder.relativeFilePath(entry.path)));
        item->setToolTip(0, entry.path);
        item->setText(1, locale.formattedDataSize(entry.size));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, locale.toString(entry.written, QLocale::ShortFormat));
    }
    setDetails(QStringLiteral("Database: %1\n%2").arg(textProperty(LocalDBPath), summary));
}
