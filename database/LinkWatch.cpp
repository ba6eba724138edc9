#include "database/LinkWatch.h"

#include "database/FbCall.h"
#include "database/LineSockets.h"
#include "database/ProcessThread.h"

#include <chrono>
#include <list>

using TClock = std::chrono::steady_clock;

struct TLinkWatch::Entry
{
    // Ends the watched call's line: called once, by the watchdog, under its lock.
    std::function<void()> cut;
    // Gives up what cut needs, once the watchdog no longer holds the entry.
    std::function<void()> release;
    TClock::time_point deadline;
    bool fired = false;
};

namespace {

// One thread for every watched call in the process: it sleeps until the earliest
// deadline and cuts the lines of the calls still waiting then.
class TWatchdog
{
public:
    static TWatchdog &instance()
    {
        static TWatchdog watchdog;
        return watchdog;
    }

    void arm(TLinkWatch::Entry *entry)
    {
        fThread.change([&] { fEntries.push_back(entry); });
    }

    // Once it returns, the watchdog no longer touches the entry.
    void disarm(TLinkWatch::Entry *entry)
    {
        std::lock_guard<std::mutex> lock(fThread.mutex());
        fEntries.remove(entry);
    }

    bool fired(const TLinkWatch::Entry *entry)
    {
        std::lock_guard<std::mutex> lock(fThread.mutex());
        return entry->fired;
    }

private:
    TWatchdog() = default;

    void loop(std::unique_lock<std::mutex> &lock)
    {
        while (!fThread.stopping()) {
            TClock::time_point next = TClock::time_point::max();
            for (TLinkWatch::Entry *entry : fEntries) {
                if (entry->fired)
                    continue;
                if (entry->deadline <= TClock::now())
                    cut(entry);
                else
                    next = std::min(next, entry->deadline);
            }
            if (next == TClock::time_point::max())
                fThread.changed().wait(lock);
            else
                fThread.changed().wait_until(lock, next);
        }
    }

    // Under the lock, so that the call cannot end and give up its line meanwhile.
    static void cut(TLinkWatch::Entry *entry)
    {
        entry->fired = true;
        entry->cut();
    }

    std::list<TLinkWatch::Entry *> fEntries;
    // Last, so that it ends before the entries go.
    TProcessThread fThread{[this](std::unique_lock<std::mutex> &lock) { loop(lock); }};
};

} // namespace

QString serverOf(const QString &databasePath)
{
    // A host name is longer than one character, so "C:\..." stays a local path.
    const int colon = databasePath.indexOf(QLatin1Char(':'));
    return colon > 1 ? databasePath.left(colon) : QString();
}

QString lostLinkText(const QString &databasePath)
{
    return QStringLiteral("The connection to the database server \"%1\" was lost: it gave no answer for %2 seconds.")
        .arg(serverOf(databasePath))
        .arg(kRequestSilenceSeconds);
}

TLinkWatch::TLinkWatch(Firebird::IAttachment *attachment, const QString &databasePath)
{
    if (!attachment || serverOf(databasePath).isEmpty())
        return;
    // Held until the watch ends: a detach or drop that ends the call releases the
    // attachment, which the watchdog may still be aborting.
    attachment->addRef();
    arm(
        [attachment] {
            Firebird::CheckStatusWrapper status(Fb::master()->getStatus());
            attachment->cancelOperation(&status, fb_cancel_abort);
            status.dispose();
        },
        [attachment] { attachment->release(); });
}

TLinkWatch::TLinkWatch(const std::vector<qintptr> &sockets)
{
    if (sockets.empty())
        return;
    arm(
        [sockets] {
            for (qintptr socket : sockets)
                shutDownSocket(socket);
        },
        [] {});
}

void TLinkWatch::arm(std::function<void()> cut, std::function<void()> release)
{
    fEntry.reset(
        new Entry{std::move(cut), std::move(release), TClock::now() + std::chrono::seconds(kRequestSilenceSeconds)});
    TWatchdog::instance().arm(fEntry.get());
}

TLinkWatch::~TLinkWatch()
{
    if (!fEntry)
        return;
    TWatchdog::instance().disarm(fEntry.get());
    fEntry->release();
}

bool TLinkWatch::fired() const
{
    return fEntry && TWatchdog::instance().fired(fEntry.get());
}
