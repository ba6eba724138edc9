#pragma once
// The backups kept below a database's folder.
#include <QDateTime>
#include <QList>
#include <QString>

struct TBackupEntry
{
    QString path;
    qint64 size = 0;
    QDateTime written;
};

// Every backup file (*.fbk) in the database's folder and below it, newest first.
QList<TBackupEntry> ListBackups(const QString &localDBPath);
