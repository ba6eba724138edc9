#include "backup/standin/jobs/StowlineLog.h"

#include "log/uLog.h"
#include "util/Clock.h"

#include <QFile>
#include <QMutex>
#include <QStringEncoder>

QString StowlineLogFileName()
{
    return LogFolder() + QStringLiteral("Stowline.log");
}

void StowlineLog(const QString &text)
{
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    QFile file(StowlineLogFileName());
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    QStringEncoder encode(QStringConverter::Utf8);
    QString entry = text;
    entry.replace(QLatin1Char('\n'), QStringLiteral("\n                  "));
    file.write(encode(Clock::now().toString(QStringLiteral("yy-MM-dd HH:mm:ss ")) + entry + QLatin1Char('\n')));
}
