#pragma once
// Many rows to a statement: an execute block that does one row's work for each id of
// a comma-separated list, so that a database on another machine costs one round trip
// per chunk of ids instead of one per row.
#include <QList>
#include <QString>
#include <functional>

class TDbStatement;

// Ids one statement carries at most: handed over as one text, of at most
// kChangeoverChunkText characters, the most a text parameter takes over a UTF-8
// connection (four bytes a character within the 32,765 of a varchar); ids of ten
// digits make the text the tighter limit.
constexpr int kChangeoverChunk = 1000;
constexpr int kChangeoverChunkText = 8191;

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
