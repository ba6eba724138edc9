#pragma once
// State shared between a connection and its statements: a statement runs in its
// connection's transaction, and must give up its cursor before that transaction
// ends and its handles before the attachment goes.
#include "database/DbColumn.h"
#include "database/DbConnection.h"
#include "database/DbLogin.h"
#include "database/DbStatement.h"
#include "database/LinkWatch.h"
#include "database/SqlText.h"

#include <QList>
#include <firebird/Interface.h>
#include <vector>

struct TDbConnection::Private
{
    QString path;
    TDbLogin login = TDbLogin::builtIn();
    Firebird::IAttachment *attachment = nullptr;
    Firebird::ITransaction *transaction = nullptr;
    QList<TDbStatement *> statements;
    qint64 statementsRun = 0;

    Firebird::IAttachment *requireAttachment() const;
    // Runs work(Firebird::ThrowStatusWrapper *) on the attachment, its wait bounded.
    template <class Work>
    auto call(Work &&work, TCallPlace place = TCallPlace::ServingEvents)
        -> decltype(work(static_cast<Firebird::ThrowStatusWrapper *>(nullptr)))
    {
        return watchedCall(attachment, path, std::forward<Work>(work), place);
    }
    // The active transaction, started with default options when there is none.
    Firebird::ITransaction *activeTransaction(TDbConnection &owner);
    void closeCursors();
    // Gives up every statement's handles and rolls back, without failing.
    void endWork();
};

struct TDbParam
{
    enum class Kind { Unset, Null, Int32, Int64, Double, Text };
    Kind kind = Kind::Unset;
    qint64 integer = 0;
    double real = 0.0;
    QByteArray text; // UTF-8
};

struct TDbStatement::Private
{
    TDbConnection *connection = nullptr;
    QString sql;
    TSqlParams parsed;
    std::vector<TDbParam> params;

    Firebird::IStatement *statement = nullptr;
    unsigned type = 0;
    Firebird::IMessageMetadata *inputMeta = nullptr;
    Firebird::IMessageMetadata *outputMeta = nullptr;
    std::vector<TDbColumn> columns;
    std::vector<unsigned char> row;
    Firebird::IResultSet *cursor = nullptr;
    bool rowValid = false;
    qint64 affected = 0;

    void closeCursor();
    // A watch on the connection's line for a call that must not fail (none once the
    // connection is gone).
    TLinkWatch watchLine() const;
    // Frees the prepared form; the text and parameter values stay.
    void unprepare();
};
