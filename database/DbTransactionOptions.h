#pragma once
// How a transaction isolates itself from the other users of a live database.

struct TDbTransactionOptions
{
    enum class Isolation {
        ReadCommitted, // sees what others committed, row versions included
        Snapshot,      // one stable view from start to end
        Consistency    // snapshot that also locks the tables it touches
    };

    Isolation isolation = Isolation::ReadCommitted;
    bool readOnly = false;
    // -1 waits for a locked row without limit, 0 fails at once, n > 0 waits at most n seconds.
    int lockTimeoutSeconds = -1;
};
