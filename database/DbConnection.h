#pragma once
// One attachment to a Firebird database through the client library, with the one
// transaction that its statements run in. Every failure throws EPosError carrying
// Firebird's own formatted message.
#include "database/DbLogin.h"
#include "database/DbTransactionOptions.h"

#include <QString>
#include <QStringList>
#include <memory>

class TDbStatement;

class TDbConnection
{
public:
    TDbConnection();
    ~TDbConnection(); // closes, rolling back what was not committed
    TDbConnection(const TDbConnection &) = delete;
    TDbConnection &operator=(const TDbConnection &) = delete;

    // "/path/file.fdb" opens the file with the embedded engine, "host:/path/file.fdb" through a server.
    void setDatabase(const QString &path);
    QString database() const;
    // Login for the next open; the built-in one (TDbLogin::builtIn) until set.
    void setLogin(const TDbLogin &login);

    // Attaches with the UTF8 client character set; an open connection is closed first.
    void open();
    // Creates the database file (its default character set given) and leaves it open.
    void create(const QString &defaultCharset = QStringLiteral("WIN1252"));
    // Rolls back an active transaction, releases every statement's handles, detaches.
    void close();
    bool isOpen() const;
    // Drops the open database (its statements and transaction ended first) and leaves the
    // connection closed; a failure leaves it open.
    void dropDatabase();
    // Asks the server whether the attachment still stands: fails with its message when
    // the connection was lost or was never opened.
    void ping();

    // Starts the transaction that statements run in; fails when one is already active.
    void startTransaction(const TDbTransactionOptions &options = {});
    // True while a transaction is active (statements start one with default options on demand).
    bool inTransaction() const;
    // Commits and ends the transaction; open cursors are closed first.
    void commit();
    // Commits and keeps the transaction (and its open cursors) going.
    void commitRetaining();
    // Undoes the transaction's work and ends it; open cursors are closed first.
    void rollback();

    // Runs one statement without parameters or rows (DDL, SET statements) in the transaction.
    void executeImmediate(const QString &sql);
    // Steps the named generator by one and gives its new value.
    qint64 nextGeneratorValue(const QString &generator);
    // Names of the plain user tables (no views, no system tables), sorted.
    QStringList userTables();

    // Statements run on this connection since it was made (queries opened, statements
    // executed, immediate ones): what a round trip to a distant server is paid for.
    qint64 statementsRun() const;

private:
    friend class TDbStatement;
    struct Private;
    std::unique_ptr<Private> d;
};
