#pragma once
// Two copies of the program on one database (two PCs of one shop): while a copy is in a
// run that switches the department trigger (a changeover, a revert, the switch at start),
// its attachment carries a user-session context variable, which the other copies see in
// the monitoring tables beside the attachment's host and program. The mark lives and dies
// with the attachment, so a copy killed or cut off leaves none behind.
//
// Every copy logs in with the site's login (TDbLogin::forSite). As SYSDBA, the built-in
// login's user, it sees every attachment there. A user without that right who does not
// own the database sees only attachments made under its own name: copies that log in
// alike, as those of one site do, still see each other, but a copy given another login
// (a PC with ISC_USER set and no login in the settings) and the rest would not.
#include <QString>
#include <optional>

class TDbConnection;

// Another copy of the program in a run, as its attachment names itself.
struct TOtherRun
{
    QString host;
    QString program;
};

// Looks for another attachment in a run, in a transaction of its own (the monitoring
// tables hold still for a whole transaction); an active transaction is committed first.
std::optional<TOtherRun> otherRunNow(TDbConnection &conx);

// "The database "<path>" is being changed from <host> (<program>) now"
QString beingChangedText(const TDbConnection &conx, const TOtherRun &other);
// Why a changeover or a revert did not start.
QString otherRunRefusal(const TDbConnection &conx, const TOtherRun &other);

// This attachment's mark, held from construction until release() or destruction when no
// other copy was in a run.
class TRunMark
{
public:
    // Sets the mark first and only then looks for others, so that of two copies starting
    // at the same moment at least one sees the other. When another run is found, the mark
    // is cleared again at once and other() names that run. Fails with the database's error.
    TRunMark(TDbConnection &conx, const QString &run);
    ~TRunMark() { release(); }
    TRunMark(const TRunMark &) = delete;
    TRunMark &operator=(const TRunMark &) = delete;

    const std::optional<TOtherRun> &other() const { return fOther; }

    // Clears a held mark once the trigger is on again, so that the final message left open
    // holds no one up; never throws (a lost attachment has lost its mark already).
    void release() noexcept;

private:
    TDbConnection &fConx;
    std::optional<TOtherRun> fOther;
    bool fHeld = true;
};
