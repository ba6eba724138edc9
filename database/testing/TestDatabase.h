#pragma once
// A fresh Firebird database file for one test, made from SQL with the embedded engine
// in a temporary folder that is removed with it.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TTestDatabase
{
public:
    // TextInNone: the program's schema with every text column in CHARACTER SET NONE, as
    // back offices from before Unicode declared them.
    enum class Schema { Program, TextInNone, Empty };

    // Creates the file from the program's schema (or nothing), then runs the statements,
    // one statement each, through a UTF8 connection (accents and "€" arrive as written).
    explicit TTestDatabase(const QStringList &statements = {}, Schema schema = Schema::Program);

    // The file, as the embedded engine opens it.
    QString path() const;
    // The same file through the Firebird server on loopback ("127.0.0.1:/...").
    QString serverPath() const;
    // Runs more statements (one statement each) and commits them.
    void run(const QStringList &statements) const;
    // Runs a script with terminators (SET TERM understood) and commits it.
    void runScript(const QString &script) const;

private:
    QTemporaryDir fDir;
    QString fPath;
};
