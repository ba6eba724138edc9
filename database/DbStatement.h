#pragma once
// A statement on a connection: SQL text with :NAME parameters, prepared once and run
// many times (also across commits), parameters set by position, rows read by column
// name. Every failure throws EPosError carrying Firebird's own formatted message.
#include "database/DbField.h"

#include <QString>
#include <QStringList>
#include <memory>

class TDbConnection;

class TDbStatement
{
public:
    explicit TDbStatement(TDbConnection &connection);
    ~TDbStatement();
    TDbStatement(const TDbStatement &) = delete;
    TDbStatement &operator=(const TDbStatement &) = delete;

    // New text: :NAME markers outside literals and comments become positions (a name used
    // twice takes two); the old cursor, prepared form and parameter values are dropped.
    void setSQL(const QString &sql);
    QString sql() const;

    int paramCount() const;
    // Name of the marker at a position (0-based); empty for a plain "?".
    QString paramName(int index) const;
    // Parameter values by position (0-based); they stay set for later runs.
    void setInt(int index, qint32 value);
    void setInt64(int index, qint64 value);
    void setDouble(int index, double value);
    void setText(int index, const QString &value);
    void setNull(int index);

    // Prepares now (otherwise the first run does); the prepared form outlives commits.
    void prepare();
    bool isPrepared() const;

    // Runs a statement that gives no rows; every parameter must have been set.
    void execute();
    // Rows changed by the last execute.
    qint64 rowsAffected() const;

    // Runs a query and moves to its first row; the cursor closes itself past the last row.
    void open();
    // Moves to the next row (eof() when there is none).
    void next();
    bool eof() const;
    // Closes the cursor; harmless when none is open.
    void close();
    bool isOpen() const;

    int fieldCount() const;
    // Column of the current row by name (case-insensitive) or by position (0-based).
    TDbField field(const QString &name) const;
    TDbField field(int index) const;

private:
    friend class TDbConnection;
    struct Private;
    std::unique_ptr<Private> d;
};
