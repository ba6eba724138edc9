#pragma once
// Gathers the entry lines of every department, sub-department and third-level
// department that sells at an old code or holds products filed at its own level at
// an old code, each with the lines of its ancestors. One query per level walks the
// department rows; whether a row holds products, and the rate of every code, come from
// what was read before, so no statement runs per row.
#include "catalogue/core/EntryLines.h"

#include <QHash>
#include <QSet>

class TDbField;
class TDbStatement;
class TOwnLevelHolders;

class TEntryCollector
{
public:
    // rateTexts: the rate text of every VAT code by its id; a code that is not there
    // shows as 0.00%.
    TEntryCollector(TDbStatement &q1, const TOwnLevelHolders &holders, const QHash<qint32, QString> &rateTexts);

    // Lines in the order they were found, repeats kept. Sub-departments and
    // third-level departments only when v62Plus.
    QList<TEntryLine> collect(const QList<qint32> &oldVIDs, bool v62Plus);
    // The whole description of every department the last collect() gave a line, by
    // departmentNodeKey: the lines cut it to 20 columns.
    const QHash<quint64, QString> &descriptions() const { return fDescriptions; }
    // The departments among them whose description is NULL, by departmentNodeKey.
    const QSet<quint64> &nameless() const { return fNameless; }

private:
    void collectDepartments();
    void collectSubDepartments();
    void collectThirdLevel();
    // True when the own code is an old one, or else when the department holds products
    // at an old code filed at its own level.
    bool qualifies(qint32 ownVID, int level, qint32 id) const;
    void add(int level, const TDbField &description, qint32 vatId, qint32 parentId, qint32 ownId, bool qualified);

    TDbStatement &q1;
    const TOwnLevelHolders &fHolders;
    const QHash<qint32, QString> &fRateTexts;
    const QString fNoRate;
    QList<qint32> fOldVIDs;
    QList<TEntryLine> fLines;
    QHash<quint64, QString> fDescriptions;
    QSet<quint64> fNameless;
};
