#pragma once
// A Firebird server of the test's own, on a free loopback port, with its own
// configuration, lock folder and security database (login sysdba / quillsong), so
// that the test can stop it under a running changeover without disturbing the
// server that other tests share.
#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

class TPrivateServer
{
public:
    TPrivateServer();
    ~TPrivateServer(); // stops the server when it runs

    // Starts the server and waits until it accepts connections.
    void start();
    // Kills exactly the server process that start() began and waits for it to go.
    // Safe to call from another thread.
    void stop();

    // Gives SYSDBA another password on the running server (logging in with the one it
    // has), so that a login that still gets in cannot be the built-in one.
    void setSysdbaPassword(const QString &password);

    // The path under which the server reaches a database file.
    QString pathOf(const QString &file) const;
    // The loopback port it listens on.
    int port() const;

private:
    QTemporaryDir fRoot;
    int fPort = 0;
    pid_t fPid = 0;
    QString fSysdbaPassword;
};
