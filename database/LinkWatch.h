#pragma once
// Bounds every wait on a database server. The client library waits for an answer as long
// as the line lets it: a server that accepts and never answers holds an attach for three
// minutes, and a line that stops forwarding holds a request for good. An attach is bounded
// by its connect timeout; a request by a watchdog thread that, once the call has waited
// past its bound, aborts the attachment (which closes its socket: a cancel request would
// only queue behind the silent one), so that the call fails at once.
#include "database/FbCall.h"
#include "database/ServedWait.h"

#include <QString>
#include <firebird/Interface.h>
#include <functional>
#include <memory>
#include <vector>

// Seconds an attach (to a database or a services manager) waits for the server to accept:
// a server on the shop's network answers in well under a second. A run that lost its line
// tries once to attach again, so this and a request's bound below must add up to less
// than the half minute within which the operator is told.
constexpr int kConnectTimeoutSeconds = 8;

// Seconds one request may wait for its answer before the line is taken as lost. A request
// is one round trip: the changeover's rows go in chunks that each take a second or two on
// a large site, and the longest legitimate wait is the changeover's 15 seconds for a row
// another program holds; with the connect bound it keeps a lost line's message within
// half a minute.
constexpr int kRequestSilenceSeconds = 20;

// The server a database path goes through ("host" of "host:/path", "host/port" of
// "host/port:/path"); empty for a file the engine in this process opens.
QString serverOf(const QString &databasePath);

// What the operator is told when a request's wait ran past its bound.
QString lostLinkText(const QString &databasePath);

// Watches one call while it lives. A call on no attachment, or on a database this process
// opens itself, has no line to lose and is not watched.
class TLinkWatch
{
public:
    TLinkWatch(Firebird::IAttachment *attachment, const QString &databasePath);
    // A call of a session that offers no abort (the services manager's) on the sockets it
    // opened: past the bound they are shut down, which ends the call. None: not watched.
    explicit TLinkWatch(const std::vector<qintptr> &sockets);
    ~TLinkWatch();
    TLinkWatch(const TLinkWatch &) = delete;
    TLinkWatch &operator=(const TLinkWatch &) = delete;

    // Whether the call ran past its bound and the attachment was aborted.
    bool fired() const;

    struct Entry;

private:
    void arm(std::function<void()> cut, std::function<void()> release);

    std::unique_ptr<Entry> fEntry;
};

// Where a watched call runs when made on the application's thread: handed to the database
// thread while the window's events are served, or in place, for calls that mostly end at
// once (a fetch from the rows the client holds), where the hand-over would cost more than
// the call.
enum class TCallPlace { ServingEvents, InPlace };

// Runs work(Firebird::ThrowStatusWrapper *) on an attachment as Fb::call does, with its
// wait bounded (past the bound it fails with what was lost), and the application's events
// served meanwhile unless told otherwise.
template <class Work>
auto watchedCall(Firebird::IAttachment *attachment, const QString &databasePath, Work &&work,
                 TCallPlace place = TCallPlace::ServingEvents)
    -> decltype(work(static_cast<Firebird::ThrowStatusWrapper *>(nullptr)))
{
    return watchedCall(TLinkWatch(attachment, databasePath), databasePath, std::forward<Work>(work), place);
}

// The same under a watch of the caller's; databasePath names the server that was lost.
template <class Work>
auto watchedCall(const TLinkWatch &watch, const QString &databasePath, Work &&work,
                 TCallPlace place = TCallPlace::ServingEvents)
    -> decltype(work(static_cast<Firebird::ThrowStatusWrapper *>(nullptr)))
{
    try {
        if (place == TCallPlace::InPlace)
            return Fb::call(work);
        return runServingEventsFor([&] { return Fb::call(work); });
    } catch (const EPosError &) {
        if (watch.fired())
            throw EPosError(lostLinkText(databasePath));
        throw;
    }
}
