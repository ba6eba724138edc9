#include "catalogue/changeover/IdChunks.h"

#include "database/DbStatement.h"

#include <QStringList>

QString idChunkBlock(const QString &inputs, const QString &returns, const QString &rowWork)
{
    return QStringLiteral("execute block (%1, IDS varchar(%2) character set octets = :IDS)\r\n"
                          "returns (ID integer, %3)\r\n"
                          "as\r\n"
                          "  declare P integer = 1;\r\n"
                          "  declare Q integer;\r\n"
                          "begin\r\n"
                          "  while (P <= char_length(IDS)) do\r\n"
                          "  begin\r\n"
                          "    Q = position(',', IDS, P);\r\n"
                          "    if (Q = 0) then Q = char_length(IDS) + 1;\r\n"
                          "    ID = cast(substring(IDS from P for Q - P) as integer);\r\n"
                          "    %4\r\n"
                          "    P = Q + 1;\r\n"
                          "  end\r\n"
                          "end")
        .arg(inputs)
        .arg(kChangeoverChunkText)
        .arg(returns, rowWork);
}

void runIdChunks(TDbStatement &block, int idsIndex, const QList<qint32> &ids,
                 const std::function<void(const TDbStatement &)> &onRow)
{
    for (qsizetype next = 0; next < ids.size();) {
        QString chunk = QString::number(ids[next++]);
        for (int count = 1; count < kChangeoverChunk && next < ids.size(); ++count, ++next) {
            const QString id = QString::number(ids[next]);
            if (chunk.size() + 1 + id.size() > kChangeoverChunkText)
                break;
            chunk += QLatin1Char(',') + id;
        }
        block.setText(idsIndex, chunk);
        for (block.open(); !block.eof(); block.next())
            onRow(block);
        block.close();
    }
}
