#pragma once
// The entry lines gathered one statement per row: per department row a count probe for
// each old code when its own code is none of them, per line a rate lookup. The reference
// the window's set-based reads must match.
#include "catalogue/core/EntryLines.h"

#include <memory>

class TDbConnection;
class TDbStatement;

class TRowByRowCollector
{
public:
    // q1 walks the department rows; the rate lookups run on q2.
    TRowByRowCollector(TDbConnection &conx, TDbStatement &q1, TDbStatement &q2);
    ~TRowByRowCollector();

    // Lines in the order they were found, repeats kept. Sub-departments and
    // third-level departments only when v62Plus.
    QList<TEntryLine> collect(const QList<qint32> &oldVIDs, bool v62Plus);

private:
    void collectDepartments();
    void collectSubDepartments();
    void collectThirdLevel();
    bool qualifies(qint32 ownVID, const QString &probeSql, qint32 id);
    void add(int level, const QString &description, qint32 vatId, qint32 parentId, qint32 ownId, bool qualified);
    QString rateOf(qint32 vatId);

    TDbStatement &q1;
    TDbStatement &q2;
    std::unique_ptr<TDbStatement> fProbe;
    QList<qint32> fOldVIDs;
    QList<TEntryLine> fLines;
};
