#include "database/LineSockets.h"

#include <QDir>
#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>

std::vector<qintptr> processSockets()
{
    std::vector<qintptr> sockets;
    const QStringList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System);
    for (const QString &name : descriptors) {
        bool isNumber = false;
        const int descriptor = name.toInt(&isNumber);
        struct stat status;
        if (isNumber && ::fstat(descriptor, &status) == 0 && S_ISSOCK(status.st_mode))
            sockets.push_back(descriptor);
    }
    std::sort(sockets.begin(), sockets.end());
    return sockets;
}

void shutDownSocket(qintptr socket)
{
    ::shutdown(int(socket), SHUT_RDWR);
}
