#include "backup/standin/jobs/FbService.h"

#include "database/FbCall.h"
#include "database/LineSockets.h"
#include "database/LinkWatch.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"

#include <algorithm>
#include <ibase.h>
#include <iterator>

using namespace Firebird;

namespace {

// A services parameter block built up tag by tag.
class TSpb
{
public:
    explicit TSpb(unsigned kind)
        : fBuilder(Fb::call([&](ThrowStatusWrapper *st) {
              return Fb::master()->getUtilInterface()->getXpbBuilder(st, kind, nullptr, 0);
          }))
    {
    }
    ~TSpb() { fBuilder->dispose(); }
    TSpb(const TSpb &) = delete;
    TSpb &operator=(const TSpb &) = delete;

    TSpb &tag(unsigned char t)
    {
        Fb::call([&](ThrowStatusWrapper *st) { fBuilder->insertTag(st, t); });
        return *this;
    }
    TSpb &text(unsigned char t, const QString &value)
    {
        const QByteArray bytes = value.toUtf8();
        Fb::call([&](ThrowStatusWrapper *st) { fBuilder->insertString(st, t, bytes.constData()); });
        return *this;
    }
    TSpb &number(unsigned char t, int value)
    {
        Fb::call([&](ThrowStatusWrapper *st) { fBuilder->insertInt(st, t, value); });
        return *this;
    }
    TSpb &byte(unsigned char t, unsigned char value)
    {
        Fb::call([&](ThrowStatusWrapper *st) { fBuilder->insertBytes(st, t, &value, 1); });
        return *this;
    }
    std::vector<unsigned char> bytes() const
    {
        return Fb::call([&](ThrowStatusWrapper *st) {
            const unsigned char *buffer = fBuilder->getBuffer(st);
            return std::vector<unsigned char>(buffer, buffer + fBuilder->getBufferLength(st));
        });
    }

private:
    IXpbBuilder *fBuilder;
};

int littleEndian16(const unsigned char *p)
{
    return p[0] | (p[1] << 8);
}

} // namespace

TDbLogin ServiceLogin()
{
    QString user;
    QString password;
    TOrvoReg().getLastUsedDBLogin(user, password);
    return TDbLogin::forSite(user, password);
}

void DropDatabase(const QString &connectionString)
{
    const QByteArray name = connectionString.toUtf8();
    const TDbLogin login = ServiceLogin();
    IAttachment *attachment = Fb::call([&](ThrowStatusWrapper *st) {
        IXpbBuilder *dpb = Fb::master()->getUtilInterface()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
        struct Disposer
        {
            IXpbBuilder *b;
            ~Disposer() { b->dispose(); }
        } disposer{dpb};
        dpb->insertTag(st, isc_dpb_utf8_filename);
        dpb->insertString(st, isc_dpb_user_name, login.user.toUtf8().constData());
        dpb->insertString(st, isc_dpb_password, login.password.toUtf8().constData());
        dpb->insertInt(st, isc_dpb_connect_timeout, kConnectTimeoutSeconds);
        return Fb::TProvider()->attachDatabase(st, name.constData(), dpb->getBufferLength(st), dpb->getBuffer(st));
    });
    try {
        // Releases the attachment when it works.
        watchedCall(attachment, connectionString, [&](ThrowStatusWrapper *st) { attachment->dropDatabase(st); });
    } catch (...) {
        attachment->release();
        throw;
    }
}

TServiceTarget TServiceTarget::forDatabase(const QString &path)
{
    // A host name is longer than one character, so "C:\..." stays a local path.
    const int colon = path.indexOf(QLatin1Char(':'));
    if (colon > 1)
        return {path.left(colon), path.mid(colon + 1)};
    return {QString(), path};
}

QString TServiceTarget::serviceName() const
{
    return host.isEmpty() ? QStringLiteral("service_mgr") : host + QStringLiteral(":service_mgr");
}

QString TServiceTarget::connectionString() const
{
    return host.isEmpty() ? databasePath : host + QLatin1Char(':') + databasePath;
}

TFbService::TFbService(const TServiceTarget &target) : fTarget(target)
{
    TSpb spb(IXpbBuilder::SPB_ATTACH);
    // Every text of this session is UTF-8. Without the tag the client on Windows reads
    // file names as the ANSI code page and encodes them again, so a database or backup
    // below a folder named with letters beyond ASCII is not found.
    spb.tag(isc_spb_utf8_filename);
    const TDbLogin login = ServiceLogin();
    spb.text(isc_spb_user_name, login.user);
    if (!target.host.isEmpty())
        spb.text(isc_spb_password, login.password);
    spb.number(isc_spb_connect_timeout, kConnectTimeoutSeconds);
    const std::vector<unsigned char> bytes = spb.bytes();
    const QByteArray name = target.serviceName().toUtf8();
    const std::vector<qintptr> before = target.host.isEmpty() ? std::vector<qintptr>() : processSockets();
    fService = Fb::call([&](ThrowStatusWrapper *st) {
        return Fb::TProvider()->attachServiceManager(st, name.constData(), unsigned(bytes.size()), bytes.data());
    });
    // The session offers no abort: its requests are bounded on the socket it opened.
    if (!target.host.isEmpty()) {
        const std::vector<qintptr> after = processSockets();
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(fSockets));
    }
}

template <class Work>
void TFbService::request(Work &&work)
{
    watchedCall(TLinkWatch(fSockets), fTarget.connectionString(), std::forward<Work>(work));
}

TFbService::~TFbService()
{
    try {
        request([&](ThrowStatusWrapper *st) { fService->detach(st); });
    } catch (const EPosError &) {
        // A session that cannot be closed cleanly is released all the same.
        fService->release();
    }
}

void TFbService::run(const std::vector<unsigned char> &spb, const LineSink &sink)
{
    request([&](ThrowStatusWrapper *st) { fService->start(st, unsigned(spb.size()), spb.data()); });

    // The output in bulk: each request takes all the service has written, waiting at
    // most a second for more, instead of one line a request, which costs a round trip
    // per line over a slow link. The second keeps the progress moving on screen.
    const unsigned char send[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
    const unsigned char receive[] = {isc_info_svc_to_eof};
    std::vector<unsigned char> buffer(32768);
    QByteArray pending; // the start of a line not yet ended
    const auto passLines = [&](bool all) {
        for (int newline; (newline = pending.indexOf('\n')) >= 0; pending.remove(0, newline + 1))
            sink(QString::fromUtf8(pending.constData(), newline).trimmed());
        if (all && !pending.isEmpty())
            sink(QString::fromUtf8(pending).trimmed());
    };
    // The reply ends in a mark while the service runs (more data, none yet, the wait
    // ran out); without one the service has ended, and its failure, if any, came with
    // that last request.
    for (bool ended = false; !ended;) {
        request([&](ThrowStatusWrapper *st) {
            fService->query(st, sizeof send, send, sizeof receive, receive, unsigned(buffer.size()), buffer.data());
        });
        const unsigned char *p = buffer.data();
        if (*p != isc_info_svc_to_eof)
            throw EPosError(QStringLiteral("The services manager gave an unexpected reply (%1).").arg(*p));
        const int length = littleEndian16(p + 1);
        pending.append(reinterpret_cast<const char *>(p + 3), length);
        const unsigned char mark = p[3 + length];
        ended = mark != isc_info_truncated && mark != isc_info_data_not_ready && mark != isc_info_svc_timeout;
        passLines(ended);
    }
}

void TFbService::backup(const QString &backupFile, const LineSink &sink)
{
    TSpb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_backup)
        .text(isc_spb_dbname, fTarget.databasePath)
        .text(isc_spb_bkp_file, backupFile)
        .tag(isc_spb_verbose);
    run(spb.bytes(), sink);
}

void TFbService::restore(const QString &backupFile, const QString &databasePath, const LineSink &sink, TIndexes indexes)
{
    const int options = isc_spb_res_create | (indexes == TIndexes::LeaveInactive ? isc_spb_res_deactivate_idx : 0);
    TSpb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_restore)
        .text(isc_spb_bkp_file, backupFile)
        .text(isc_spb_dbname, databasePath)
        .number(isc_spb_options, options)
        .tag(isc_spb_verbose);
    run(spb.bytes(), sink);
}

void TFbService::shutdownExclusive()
{
    TSpb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_properties)
        .text(isc_spb_dbname, fTarget.databasePath)
        .byte(isc_spb_prp_shutdown_mode, isc_spb_prp_sm_full)
        .number(isc_spb_prp_attachments_shutdown, 0);
    run(spb.bytes(), [](const QString &) {});
}

void TFbService::bringOnline()
{
    TSpb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_properties)
        .text(isc_spb_dbname, fTarget.databasePath)
        .byte(isc_spb_prp_online_mode, isc_spb_prp_sm_normal);
    run(spb.bytes(), [](const QString &) {});
}
