#pragma once
// Reading SQL text the way the server does: string literals, quoted names and
// comments are passed over, so markers and terminators inside them do not count.
#include <QString>
#include <QStringList>

struct TSqlParams
{
    QString sql;       // the text with "?" in place of every marker
    QStringList names; // marker name per position; empty for a plain "?"
};

// Replaces each :NAME marker by "?"; a name used twice takes two positions.
TSqlParams replaceParamMarkers(const QString &sql);

// Splits a script into statements at its terminator (";", changed by SET TERM), each
// without the comments in front of it; SET TERM lines and empty statements are left out.
QStringList splitSqlScript(const QString &script);
