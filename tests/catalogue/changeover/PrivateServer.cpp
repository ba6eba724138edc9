#include "tests/catalogue/changeover/PrivateServer.h"

#include "database/DbConnection.h"
#include "util/Errors.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <firebird/Interface.h>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const char *kPassword = "quillsong";

QString serverBinary()
{
    const QByteArray configured = qgetenv("FIREBIRD_SERVER_BIN");
    return configured.isEmpty() ? QStringLiteral("/usr/sbin/firebird") : QString::fromLocal8Bit(configured);
}

// Where this process's client library keeps messages, character sets and plugins.
QString installedRoot()
{
    return QString::fromUtf8(Firebird::fb_get_master_interface()->getConfigManager()->getRootDirectory());
}

enum class Probe { Connect, Bind };

// Connects to (or binds) a loopback port with a socket that is closed again at once.
bool probeLoopback(int port, Probe probe)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto *where = reinterpret_cast<sockaddr *>(&address);
    const int result = probe == Probe::Connect ? ::connect(s, where, sizeof address) : ::bind(s, where, sizeof address);
    const bool done = result == 0;
    ::close(s);
    return done;
}

int freePort()
{
    const int first = 3100 + int(::getpid() % 2000);
    for (int port = first; port < first + 200; ++port)
        if (probeLoopback(port, Probe::Bind))
            return port;
    throw EPosError(QStringLiteral("No free loopback port for a private Firebird server"));
}

void writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        throw EPosError(QStringLiteral("Cannot write %1").arg(path));
}

} // namespace

TPrivateServer::TPrivateServer() : fPort(freePort()), fSysdbaPassword(QString::fromLatin1(kPassword))
{
    if (!fRoot.isValid())
        throw EPosError(QStringLiteral("No temporary folder for a private Firebird server"));
    const QDir root(fRoot.path());
    const QString installed = installedRoot();
    for (const char *shared : {"firebird.msg", "lib", "plugins", "UDF", "plugins.conf"})
        QFile::link(QDir(installed).filePath(shared), root.filePath(shared));
    // Character sets load only from a real folder below the root, not through a link.
    root.mkdir("intl");
    for (const char *file : {"intl/libfbintl.so", "intl/fbintl.conf"})
        QFile::copy(QDir(installed).filePath(file), root.filePath(file));
    root.mkdir("lock");
    const QString security = root.filePath("security3.fdb");
    writeFile(root.filePath("firebird.conf"),
              QStringLiteral("RemoteServicePort = %1\n"
                             "RemoteBindAddress = 127.0.0.1\n"
                             "SecurityDatabase = %2\n"
                             "UdfAccess = None\n")
                  .arg(fPort)
                  .arg(security));
    writeFile(root.filePath("databases.conf"), QStringLiteral("security.db = %1\n").arg(security));

    // The security database, made by the embedded engine of a separate isql run that
    // reads this configuration.
    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FIREBIRD", root.path());
    env.insert("FIREBIRD_LOCK", root.filePath("lock"));
    isql.setProcessEnvironment(env);
    isql.start("isql-fb", {"-q", "-user", "SYSDBA"});
    isql.write(QStringLiteral("create database '%1'; create user SYSDBA password '%2' using plugin Srp; commit;\n")
                   .arg(security, kPassword)
                   .toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
        throw EPosError(QStringLiteral("Cannot make the private security database: %1")
                            .arg(QString::fromLocal8Bit(isql.readAllStandardError())));
}

TPrivateServer::~TPrivateServer()
{
    stop();
}

void TPrivateServer::start()
{
    const QDir root(fRoot.path());
    std::vector<QByteArray> settings = {"FIREBIRD=" + root.path().toLocal8Bit(),
                                        "FIREBIRD_LOCK=" + root.filePath("lock").toLocal8Bit(),
                                        "FIREBIRD_TMP=" + root.path().toLocal8Bit()};
    std::vector<char *> env;
    for (char **e = environ; *e; ++e)
        if (!QByteArray(*e).startsWith("FIREBIRD"))
            env.push_back(*e);
    for (QByteArray &setting : settings)
        env.push_back(setting.data());
    env.push_back(nullptr);
    QByteArray binary = serverBinary().toLocal8Bit();
    char *argv[] = {binary.data(), nullptr};
    if (posix_spawn(&fPid, binary.constData(), nullptr, nullptr, argv, env.data()) != 0) {
        fPid = 0;
        throw EPosError(QStringLiteral("Cannot start %1").arg(serverBinary()));
    }

    QElapsedTimer waited;
    waited.start();
    while (!probeLoopback(fPort, Probe::Connect)) {
        if (waited.elapsed() > 30000 || ::waitpid(fPid, nullptr, WNOHANG) == fPid) {
            stop();
            throw EPosError(QStringLiteral("The private Firebird server does not answer on port %1").arg(fPort));
        }
        QThread::msleep(20);
    }
}

void TPrivateServer::stop()
{
    if (fPid <= 0)
        return;
    const pid_t pid = fPid;
    fPid = 0;
    // At once, as a crash or a pulled plug would: a polite shutdown lets a waiting
    // statement run on for as long as its lock wait lasts.
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

void TPrivateServer::setSysdbaPassword(const QString &password)
{
    // User management needs an attachment; a scratch database gives one.
    TDbConnection conx;
    conx.setDatabase(pathOf(QDir(fRoot.path()).filePath(QStringLiteral("users.fdb"))));
    conx.setLogin({QStringLiteral("SYSDBA"), fSysdbaPassword});
    conx.create();
    conx.executeImmediate(QStringLiteral("alter user SYSDBA password '%1' using plugin Srp").arg(password));
    conx.commit();
    conx.dropDatabase();
    fSysdbaPassword = password;
}

int TPrivateServer::port() const
{
    return fPort;
}

QString TPrivateServer::pathOf(const QString &file) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(fPort).arg(file);
}
