#include "database/DbStatement.h"

#include "database/DbPrivate.h"
#include "database/FbCall.h"

#include <cstring>

using Firebird::ThrowStatusWrapper;

namespace {

constexpr unsigned kDialect = 3;
constexpr unsigned kCharSetUtf8 = 4;
constexpr int kMaxTextBytes = 32765;

void releaseQuietly(Firebird::IReferenceCounted *object)
{
    if (object)
        object->release();
}

// Input values as the caller set them: each position described by its own value's type,
// so the server converts (text to a date, a double to NUMERIC) as it would a literal.
class TInputMessage
{
public:
    TInputMessage(ThrowStatusWrapper *status, Firebird::IMessageMetadata *statementInput,
                  const std::vector<TDbParam> &params)
    {
        if (params.empty())
            return;
        Firebird::IMetadataBuilder *builder = statementInput->getBuilder(status);
        try {
            for (unsigned i = 0; i < params.size(); ++i)
                describe(status, builder, i, params[i]);
            fMeta = builder->getMetadata(status);
        } catch (...) {
            builder->release();
            throw;
        }
        builder->release();
        fBuffer.assign(fMeta->getMessageLength(status), 0);
        for (unsigned i = 0; i < params.size(); ++i)
            fill(status, i, params[i]);
    }
    ~TInputMessage() { releaseQuietly(fMeta); }
    TInputMessage(const TInputMessage &) = delete;
    TInputMessage &operator=(const TInputMessage &) = delete;

    Firebird::IMessageMetadata *meta() const { return fMeta; }
    unsigned char *buffer() { return fBuffer.empty() ? nullptr : fBuffer.data(); }

private:
    static void describe(ThrowStatusWrapper *status, Firebird::IMetadataBuilder *builder, unsigned i,
                         const TDbParam &param)
    {
        builder->setScale(status, i, 0);
        builder->setSubType(status, i, 0);
        switch (param.kind) {
        case TDbParam::Kind::Null:
        case TDbParam::Kind::Int32:
            builder->setType(status, i, SQL_LONG);
            builder->setLength(status, i, sizeof(qint32));
            break;
        case TDbParam::Kind::Int64:
            builder->setType(status, i, SQL_INT64);
            builder->setLength(status, i, sizeof(qint64));
            break;
        case TDbParam::Kind::Double:
            builder->setType(status, i, SQL_DOUBLE);
            builder->setLength(status, i, sizeof(double));
            break;
        case TDbParam::Kind::Text:
        case TDbParam::Kind::Unset:
            builder->setType(status, i, SQL_VARYING);
            builder->setLength(status, i, static_cast<unsigned>(qMax(1, param.text.size())));
            builder->setCharSet(status, i, kCharSetUtf8);
            break;
        }
    }

    void fill(ThrowStatusWrapper *status, unsigned i, const TDbParam &param)
    {
        unsigned char *at = fBuffer.data() + fMeta->getOffset(status, i);
        const short nullFlag = param.kind == TDbParam::Kind::Null ? -1 : 0;
        std::memcpy(fBuffer.data() + fMeta->getNullOffset(status, i), &nullFlag, sizeof nullFlag);
        switch (param.kind) {
        case TDbParam::Kind::Int32: {
            const auto value = static_cast<qint32>(param.integer);
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case TDbParam::Kind::Int64:
            std::memcpy(at, &param.integer, sizeof param.integer);
            break;
        case TDbParam::Kind::Double:
            std::memcpy(at, &param.real, sizeof param.real);
            break;
        case TDbParam::Kind::Text: {
            const auto length = static_cast<quint16>(param.text.size());
            std::memcpy(at, &length, sizeof length);
            std::memcpy(at + sizeof length, param.text.constData(), length);
            break;
        }
        default:
            break;
        }
    }

    Firebird::IMessageMetadata *fMeta = nullptr;
    std::vector<unsigned char> fBuffer;
};

std::vector<TDbColumn> describeColumns(ThrowStatusWrapper *status, Firebird::IMessageMetadata *meta)
{
    std::vector<TDbColumn> columns(meta->getCount(status));
    for (unsigned i = 0; i < columns.size(); ++i) {
        TDbColumn &column = columns[i];
        column.name = QString::fromUtf8(meta->getAlias(status, i));
        column.type = meta->getType(status, i) & ~1u;
        column.subType = meta->getSubType(status, i);
        column.scale = meta->getScale(status, i);
        column.length = meta->getLength(status, i);
        column.charSet = meta->getCharSet(status, i);
        column.offset = meta->getOffset(status, i);
        column.nullOffset = meta->getNullOffset(status, i);
    }
    return columns;
}

bool givesRows(unsigned type)
{
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

} // namespace

TLinkWatch TDbStatement::Private::watchLine() const
{
    if (!connection)
        return TLinkWatch(nullptr, QString());
    return TLinkWatch(connection->d->attachment, connection->d->path);
}

void TDbStatement::Private::closeCursor()
{
    rowValid = false;
    if (!cursor)
        return;
    const TLinkWatch watch = watchLine();
    Firebird::CheckStatusWrapper status(Fb::master()->getStatus());
    cursor->close(&status);
    if (status.getState() & Firebird::IStatus::STATE_ERRORS)
        cursor->release();
    status.dispose();
    cursor = nullptr;
}

void TDbStatement::Private::unprepare()
{
    closeCursor();
    releaseQuietly(inputMeta);
    releaseQuietly(outputMeta);
    inputMeta = outputMeta = nullptr;
    if (statement) {
        const TLinkWatch watch = watchLine();
        Firebird::CheckStatusWrapper status(Fb::master()->getStatus());
        statement->free(&status);
        if (status.getState() & Firebird::IStatus::STATE_ERRORS)
            statement->release();
        status.dispose();
        statement = nullptr;
    }
    type = 0;
}

TDbStatement::TDbStatement(TDbConnection &connection) : d(std::make_unique<Private>())
{
    d->connection = &connection;
    connection.d->statements.append(this);
}

TDbStatement::~TDbStatement()
{
    if (d->connection) {
        d->unprepare();
        d->connection->d->statements.removeOne(this);
    }
}

void TDbStatement::setSQL(const QString &sql)
{
    d->unprepare();
    d->columns.clear();
    d->sql = sql;
    d->parsed = replaceParamMarkers(sql);
    d->params.assign(d->parsed.names.size(), TDbParam());
    d->affected = 0;
}

QString TDbStatement::sql() const
{
    return d->sql;
}

int TDbStatement::paramCount() const
{
    return static_cast<int>(d->params.size());
}

QString TDbStatement::paramName(int index) const
{
    if (index < 0 || index >= paramCount())
        throw EPosError(QStringLiteral("Parameter %1 does not exist in: %2").arg(index).arg(d->sql));
    return d->parsed.names[index];
}

namespace {

TDbParam &paramAt(std::vector<TDbParam> &params, int index, const QString &sql)
{
    if (index < 0 || index >= static_cast<int>(params.size()))
        throw EPosError(QStringLiteral("Parameter %1 does not exist in: %2").arg(index).arg(sql));
    return params[index];
}

} // namespace

void TDbStatement::setInt(int index, qint32 value)
{
    TDbParam &param = paramAt(d->params, index, d->sql);
    param = TDbParam();
    param.kind = TDbParam::Kind::Int32;
    param.integer = value;
}

void TDbStatement::setInt64(int index, qint64 value)
{
    TDbParam &param = paramAt(d->params, index, d->sql);
    param = TDbParam();
    param.kind = TDbParam::Kind::Int64;
    param.integer = value;
}

void TDbStatement::setDouble(int index, double value)
{
    TDbParam &param = paramAt(d->params, index, d->sql);
    param = TDbParam();
    param.kind = TDbParam::Kind::Double;
    param.real = value;
}

void TDbStatement::setText(int index, const QString &value)
{
    TDbParam &param = paramAt(d->params, index, d->sql);
    QByteArray utf8 = value.toUtf8();
    if (utf8.size() > kMaxTextBytes)
        throw EPosError(QStringLiteral("Parameter %1 is too long (%2 bytes, at most %3)")
                            .arg(index)
                            .arg(utf8.size())
                            .arg(kMaxTextBytes));
    param = TDbParam();
    param.kind = TDbParam::Kind::Text;
    param.text = std::move(utf8);
}

void TDbStatement::setNull(int index)
{
    TDbParam &param = paramAt(d->params, index, d->sql);
    param = TDbParam();
    param.kind = TDbParam::Kind::Null;
}

void TDbStatement::prepare()
{
    if (d->statement)
        return;
    if (!d->connection)
        throw EPosError(QStringLiteral("The statement's connection is gone"));
    if (d->sql.trimmed().isEmpty())
        throw EPosError(QStringLiteral("The statement has no text"));
    Firebird::IAttachment *attachment = d->connection->d->requireAttachment();
    Firebird::ITransaction *transaction = d->connection->d->activeTransaction(*d->connection);
    d->connection->d->call([&](ThrowStatusWrapper *status) {
        const QByteArray text = d->parsed.sql.toUtf8();
        d->statement = attachment->prepare(status, transaction, static_cast<unsigned>(text.size()), text.constData(),
                                           kDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA);
        d->type = d->statement->getType(status);
        d->inputMeta = d->statement->getInputMetadata(status);
        d->outputMeta = d->statement->getOutputMetadata(status);
        d->columns = describeColumns(status, d->outputMeta);
        d->row.assign(d->outputMeta->getMessageLength(status), 0);
    });
}

bool TDbStatement::isPrepared() const
{
    return d->statement != nullptr;
}

namespace {

// Refuses to run with a marker left without a value: the server would take it as NULL.
void requireAllParams(const TSqlParams &parsed, const std::vector<TDbParam> &params, const QString &sql)
{
    for (size_t i = 0; i < params.size(); ++i) {
        if (params[i].kind != TDbParam::Kind::Unset)
            continue;
        const QString name = parsed.names[i].isEmpty() ? QStringLiteral("?") : u':' + parsed.names[i];
        throw EPosError(QStringLiteral("Parameter %1 (position %2) has no value in: %3").arg(name).arg(i).arg(sql));
    }
}

} // namespace

void TDbStatement::execute()
{
    prepare();
    if (givesRows(d->type))
        throw EPosError(QStringLiteral("This statement gives rows; open it instead: %1").arg(d->sql));
    requireAllParams(d->parsed, d->params, d->sql);
    d->closeCursor();
    Firebird::ITransaction *transaction = d->connection->d->activeTransaction(*d->connection);
    ++d->connection->d->statementsRun;
    d->connection->d->call([&](ThrowStatusWrapper *status) {
        TInputMessage input(status, d->inputMeta, d->params);
        const bool hasOutput = !d->columns.empty(); // RETURNING, EXECUTE PROCEDURE
        d->statement->execute(status, transaction, input.meta(), input.buffer(), hasOutput ? d->outputMeta : nullptr,
                              hasOutput ? d->row.data() : nullptr);
        d->rowValid = hasOutput;
        d->affected = static_cast<qint64>(d->statement->getAffectedRecords(status));
    });
}

qint64 TDbStatement::rowsAffected() const
{
    return d->affected;
}

void TDbStatement::open()
{
    prepare();
    requireAllParams(d->parsed, d->params, d->sql);
    d->closeCursor();
    Firebird::ITransaction *transaction = d->connection->d->activeTransaction(*d->connection);
    ++d->connection->d->statementsRun;
    d->connection->d->call([&](ThrowStatusWrapper *status) {
        TInputMessage input(status, d->inputMeta, d->params);
        d->cursor = d->statement->openCursor(status, transaction, input.meta(), input.buffer(), d->outputMeta, 0);
    });
    next();
}

void TDbStatement::next()
{
    if (!d->cursor) {
        d->rowValid = false;
        return;
    }
    // Most fetches are served from the rows the client already holds.
    const int result = d->connection->d->call(
        [&](ThrowStatusWrapper *status) { return d->cursor->fetchNext(status, d->row.data()); }, TCallPlace::InPlace);
    d->rowValid = result == Firebird::IStatus::RESULT_OK;
    if (!d->rowValid)
        d->closeCursor(); // all rows read: give the cursor back at once
}

bool TDbStatement::eof() const
{
    return !d->rowValid;
}

void TDbStatement::close()
{
    d->closeCursor();
}

bool TDbStatement::isOpen() const
{
    return d->cursor != nullptr;
}

int TDbStatement::fieldCount() const
{
    return static_cast<int>(d->columns.size());
}

TDbField TDbStatement::field(const QString &name) const
{
    for (const TDbColumn &column : d->columns) {
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return TDbField(column, d->rowValid ? d->row.data() : nullptr);
    }
    throw EPosError(QStringLiteral("Field \"%1\" not found in: %2").arg(name, d->sql));
}

TDbField TDbStatement::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw EPosError(QStringLiteral("Field %1 not found in: %2").arg(index).arg(d->sql));
    return TDbField(d->columns[index], d->rowValid ? d->row.data() : nullptr);
}
