#include "database/DbConnection.h"

#include "database/DbPrivate.h"
#include "database/FbCall.h"
#include "database/ServedWait.h"

#include <QElapsedTimer>
#include <QRegularExpression>

using Firebird::ThrowStatusWrapper;

namespace {

constexpr unsigned kDialect = 3;

// Builds a parameter block and frees it on every path.
class TParamBlock
{
public:
    TParamBlock(ThrowStatusWrapper *status, unsigned kind)
        : fBuilder(Fb::master()->getUtilInterface()->getXpbBuilder(status, kind, nullptr, 0))
    {
    }
    ~TParamBlock() { fBuilder->dispose(); }
    TParamBlock(const TParamBlock &) = delete;
    TParamBlock &operator=(const TParamBlock &) = delete;
    Firebird::IXpbBuilder *operator->() const { return fBuilder; }

private:
    Firebird::IXpbBuilder *fBuilder;
};

void fillConnectBlock(ThrowStatusWrapper *status, TParamBlock &dpb, const TDbLogin &login)
{
    // Every text of the block, the file name included, travels as UTF-8.
    dpb->insertTag(status, isc_dpb_utf8_filename);
    dpb->insertString(status, isc_dpb_user_name, login.user.toUtf8().constData());
    dpb->insertString(status, isc_dpb_password, login.password.toUtf8().constData());
    // Texts cross the wire as UTF-8 whatever their column's set, so accents and
    // the euro sign survive and an impossible character fails instead of changing.
    dpb->insertString(status, isc_dpb_lc_ctype, "UTF8");
    dpb->insertInt(status, isc_dpb_connect_timeout, kConnectTimeoutSeconds);
}

// Attaches (or creates) with attach(status); a server that did not answer within the
// connect bound is named, as the client library's own words do not. The window paints meanwhile.
template <class Attach>
Firebird::IAttachment *attachBounded(const QString &path, Attach &&attach)
{
    QElapsedTimer waited;
    waited.start();
    try {
        return runServingEventsFor([&] { return Fb::call(attach); });
    } catch (const EPosError &e) {
        if (serverOf(path).isEmpty() || waited.elapsed() < kConnectTimeoutSeconds * 1000)
            throw;
        throw EPosError(QStringLiteral("The database server \"%1\" did not answer within %2 seconds: %3")
                            .arg(serverOf(path))
                            .arg(kConnectTimeoutSeconds)
                            .arg(e.message()));
    }
}

void releaseQuietly(Firebird::IReferenceCounted *object)
{
    if (object)
        object->release();
}

// Ends a handle with end(handle, status); one that cannot be ended cleanly (a server
// that went away) is released all the same. The handle is cleared either way.
template <class Handle, class End>
void endQuietly(Handle *&handle, End end)
{
    if (!handle)
        return;
    Firebird::CheckStatusWrapper status(Fb::master()->getStatus());
    end(handle, &status);
    if (status.getState() & Firebird::IStatus::STATE_ERRORS)
        releaseQuietly(handle);
    status.dispose();
    handle = nullptr;
}

} // namespace

Firebird::IAttachment *TDbConnection::Private::requireAttachment() const
{
    if (!attachment)
        throw EPosError(QStringLiteral("The database connection is not open"));
    return attachment;
}

Firebird::ITransaction *TDbConnection::Private::activeTransaction(TDbConnection &owner)
{
    if (!transaction)
        owner.startTransaction();
    return transaction;
}

void TDbConnection::Private::closeCursors()
{
    for (TDbStatement *statement : statements)
        statement->d->closeCursor();
}

TDbConnection::TDbConnection() : d(std::make_unique<Private>())
{
}

TDbConnection::~TDbConnection()
{
    close();
    for (TDbStatement *statement : d->statements)
        statement->d->connection = nullptr;
}

void TDbConnection::setDatabase(const QString &path)
{
    d->path = path;
}

QString TDbConnection::database() const
{
    return d->path;
}

void TDbConnection::setLogin(const TDbLogin &login)
{
    d->login = login;
}

void TDbConnection::open()
{
    close();
    if (d->path.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No database path is set"));
    d->attachment = attachBounded(d->path, [&](ThrowStatusWrapper *status) {
        TParamBlock dpb(status, Firebird::IXpbBuilder::DPB);
        fillConnectBlock(status, dpb, d->login);
        Fb::TProvider provider;
        return provider->attachDatabase(status, d->path.toUtf8().constData(), dpb->getBufferLength(status),
                                        dpb->getBuffer(status));
    });
}

void TDbConnection::create(const QString &defaultCharset)
{
    close();
    if (d->path.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No database path is set"));
    d->attachment = attachBounded(d->path, [&](ThrowStatusWrapper *status) {
        TParamBlock dpb(status, Firebird::IXpbBuilder::DPB);
        fillConnectBlock(status, dpb, d->login);
        dpb->insertString(status, isc_dpb_set_db_charset, defaultCharset.toUtf8().constData());
        dpb->insertInt(status, isc_dpb_sql_dialect, kDialect);
        dpb->insertInt(status, isc_dpb_page_size, 8192);
        // Only tests and demo sites create databases: they favour speed over surviving a power cut.
        dpb->insertInt(status, isc_dpb_force_write, 0);
        Fb::TProvider provider;
        return provider->createDatabase(status, d->path.toUtf8().constData(), dpb->getBufferLength(status),
                                        dpb->getBuffer(status));
    });
}

void TDbConnection::Private::endWork()
{
    // Best effort on every handle: a server that went away must not stop the rest, nor
    // one that went silent hold them.
    const TLinkWatch watch(attachment, path);
    for (TDbStatement *statement : statements)
        statement->d->unprepare();
    endQuietly(transaction, [](Firebird::ITransaction *t, Firebird::CheckStatusWrapper *st) { t->rollback(st); });
}

void TDbConnection::close()
{
    d->endWork();
    const TLinkWatch watch(d->attachment, d->path);
    endQuietly(d->attachment, [](Firebird::IAttachment *a, Firebird::CheckStatusWrapper *st) { a->detach(st); });
}

void TDbConnection::dropDatabase()
{
    Firebird::IAttachment *attachment = d->requireAttachment();
    d->endWork();
    d->call([&](ThrowStatusWrapper *status) { attachment->dropDatabase(status); });
    d->attachment = nullptr; // released by the drop
}

bool TDbConnection::isOpen() const
{
    return d->attachment != nullptr;
}

void TDbConnection::ping()
{
    Firebird::IAttachment *attachment = d->requireAttachment();
    d->call([&](ThrowStatusWrapper *status) { attachment->ping(status); });
}

void TDbConnection::startTransaction(const TDbTransactionOptions &options)
{
    Firebird::IAttachment *attachment = d->requireAttachment();
    if (d->transaction)
        throw EPosError(QStringLiteral("A transaction is already active on this connection"));
    d->transaction = d->call([&](ThrowStatusWrapper *status) {
        TParamBlock tpb(status, Firebird::IXpbBuilder::TPB);
        switch (options.isolation) {
        case TDbTransactionOptions::Isolation::ReadCommitted:
            tpb->insertTag(status, isc_tpb_read_committed);
            tpb->insertTag(status, isc_tpb_rec_version);
            break;
        case TDbTransactionOptions::Isolation::Snapshot:
            tpb->insertTag(status, isc_tpb_concurrency);
            break;
        case TDbTransactionOptions::Isolation::Consistency:
            tpb->insertTag(status, isc_tpb_consistency);
            break;
        }
        tpb->insertTag(status, options.readOnly ? isc_tpb_read : isc_tpb_write);
        if (options.lockTimeoutSeconds == 0) {
            tpb->insertTag(status, isc_tpb_nowait);
        } else {
            tpb->insertTag(status, isc_tpb_wait);
            if (options.lockTimeoutSeconds > 0)
                tpb->insertInt(status, isc_tpb_lock_timeout, options.lockTimeoutSeconds);
        }
        return attachment->startTransaction(status, tpb->getBufferLength(status), tpb->getBuffer(status));
    });
}

bool TDbConnection::inTransaction() const
{
    return d->transaction != nullptr;
}

void TDbConnection::commit()
{
    if (!d->transaction)
        return;
    d->closeCursors();
    d->call([&](ThrowStatusWrapper *status) { d->transaction->commit(status); });
    d->transaction = nullptr; // a successful commit releases the handle
}

void TDbConnection::commitRetaining()
{
    if (!d->transaction)
        return;
    d->call([&](ThrowStatusWrapper *status) { d->transaction->commitRetaining(status); });
}

void TDbConnection::rollback()
{
    if (!d->transaction)
        return;
    d->closeCursors();
    d->call([&](ThrowStatusWrapper *status) { d->transaction->rollback(status); });
    d->transaction = nullptr; // a successful rollback releases the handle
}

void TDbConnection::executeImmediate(const QString &sql)
{
    Firebird::IAttachment *attachment = d->requireAttachment();
    Firebird::ITransaction *transaction = d->activeTransaction(*this);
    ++d->statementsRun;
    d->call([&](ThrowStatusWrapper *status) {
        attachment->execute(status, transaction, 0, sql.toUtf8().constData(), kDialect, nullptr, nullptr, nullptr,
                            nullptr);
    });
}

qint64 TDbConnection::nextGeneratorValue(const QString &generator)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$"));
    if (!plainName.match(generator).hasMatch())
        throw EPosError(QStringLiteral("\"%1\" is not a generator name").arg(generator));
    TDbStatement query(*this);
    query.setSQL(QStringLiteral("select gen_id(%1, 1) from rdb$database").arg(generator));
    query.open();
    const qint64 value = query.field(0).asInt64();
    query.close();
    return value;
}

QStringList TDbConnection::userTables()
{
    TDbStatement query(*this);
    query.setSQL(QStringLiteral("select rdb$relation_name from rdb$relations"
                                " where rdb$view_blr is null and coalesce(rdb$system_flag, 0) = 0"
                                " order by rdb$relation_name"));
    QStringList tables;
    for (query.open(); !query.eof(); query.next())
        tables.append(query.field(0).asTrimmedText());
    return tables;
}

qint64 TDbConnection::statementsRun() const
{
    return d->statementsRun;
}
