#pragma once
// A fresh test database with the program's schema and a connection open on it.
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

class DbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<TTestDatabase>(extraStatements());
        conx.setDatabase(db->path());
        conx.open();
    }

    virtual QStringList extraStatements() const { return {}; }

    // The first column of the first row of a query, as text.
    QString scalar(const QString &sql)
    {
        TDbStatement query(conx);
        query.setSQL(sql);
        query.open();
        return query.field(0).asText();
    }

    std::unique_ptr<TTestDatabase> db;
    TDbConnection conx;
};

// The message of the EPosError that work throws; fails the test when it throws none.
template <class Work>
QString errorOf(Work &&work)
{
    try {
        work();
    } catch (const EPosError &e) {
        return e.message();
    }
    ADD_FAILURE() << "no EPosError was thrown";
    return {};
}
