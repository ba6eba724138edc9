#include "ProductSeeding.h"

#include "DbStatement.h"
#include "SectionNames.h"
#include "SelectionStore.h"
#include "StatementText.h"

QString productStatementText(int level)
{
    switch (level) {
    case 2: return QStringLiteral("select * from TBL_PRODUCTS where SUB_DEPT = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    case 3: return QStringLiteral("select * from TBL_PRODUCTS where L3DID = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    default: return QStringLiteral("select * from TBL_PRODUCTS where DEPT_ID = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    }
}

void seedNodeProducts(TDbStatement &q1, TSelectionStore &store, int level, qint32 id, qint32 oldVID)
{
    // The nodes come level by level, so the text changes twice in a whole build.
    useStatementText(q1, productStatementText(level));
    q1.setInt(0, id);
    q1.setInt(1, oldVID);
    const QString section = sectionName(level, id);
    const QString unticked = QStringLiteral("N");
    for (q1.open(); !q1.eof(); q1.next())
        store.write(section,
                    productKey(q1.field(QStringLiteral("SID")).asInteger(), q1.field(QStringLiteral("DESCRIPTION")).asText()),
                    unticked);
    q1.close();
}
