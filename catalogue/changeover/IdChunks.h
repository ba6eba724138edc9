#pragma once
// Many rows to a statement: an execute block that does one row's work for each id of
// a comma-separated list, so that a database on another machine costs one round trip
// per chunk of ids instead of one per row.
#include <QList>
#include <QString>
#include <functional>

class TDbStatement;

// Ids one statement carries at most, handed over as one text of at most
// kChangeoverChunkText bytes (a text of bytes, so that the connection's UTF-8 does not
// count each as four against a varchar's 32,765). Every chunk costs round trips of its
// own over a slow link, but one chunk is one request, which must end well within the
// bound on a request's silence (database/LinkWatch.h) even where triggers on the rows
// make each update slow.
constexpr int kChangeoverChunk = 1000;
constexpr int kChangeoverChunkText = 32000;

// The block: `inputs` declares its parameters before the list IDS (each "NAME type =
// :NAME"), `returns` its output columns after ID, and rowWork runs with the id in ID and
// suspends each row to hand back. The server takes a list of ids in a statement as a
// chain of comparisons that every candidate row walks, so a long "in (...)" costs time
// with the square of its length; the block finds each row by its key instead.
QString idChunkBlock(const QString &inputs, const QString &returns, const QString &rowWork);

// Runs the block once per chunk of ids (its parameter at idsIndex takes the list; the
// others must be set), handing each row it gives to onRow.
void runIdChunks(TDbStatement &block, int idsIndex, const QList<qint32> &ids,
                 const std::function<void(const TDbStatement &)> &onRow);
