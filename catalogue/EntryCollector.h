#pragma once
// Gathers the entry lines of every department, sub-department and third-level
// department that sells at the old code or holds products filed at its own level at
// the old code, each with the lines of its ancestors.
#include "EntryLines.h"

#include <memory>

class TDbConnection;
class TDbStatement;

class TEntryCollector
{
public:
    // q1 walks the department rows; the rate lookups run on q2.
    TEntryCollector(TDbConnection &conx, TDbStatement &q1, TDbStatement &q2);
    ~TEntryCollector();

    // Lines in the order they were found, repeats kept. Sub-departments and
    // third-level departments only when v62Plus.
    QList<TEntryLine> collect(qint32 oldVID, bool v62Plus);

private:
    void collectDepartments();
    void collectSubDepartments();
    void collectThirdLevel();
    // True when the own code is the old one; otherwise the probe counts products at the
    // old code filed at this level.
    bool qualifies(qint32 ownVID, const QString &probeSql, qint32 id);
    void add(int level, const QString &description, qint32 vatId, qint32 parentId, qint32 ownId, bool qualified);

    TDbStatement &q1;
    TDbStatement &q2;
    // The probes run on a side statement of their own: with the rate lookups on q2
    // between them, one shared statement would prepare each text again on every row.
    std::unique_ptr<TDbStatement> fProbe;
    qint32 fOldVID = 0;
    QList<TEntryLine> fLines;
};
