#include "tests/catalogue/differential/SiteDatabase.h"

#include "database/schema/DbSchema.h"
#include "util/Errors.h"

namespace {

const QString kDeclaredCharset = QStringLiteral("CHARACTER SET WIN1252");

QString schemaScript(TSiteCharset charset)
{
    QString script = DbSchemaScript();
    if (charset == TSiteCharset::Utf8) {
        // A schema that stopped declaring WIN1252 would silently test WIN1252 twice.
        if (!script.contains(kDeclaredCharset))
            throw EPosError(QStringLiteral("The schema declares no WIN1252 column to convert to UTF8"));
        script.replace(kDeclaredCharset, QStringLiteral("CHARACTER SET UTF8"));
    }
    return script;
}

} // namespace

const char *charsetName(TSiteCharset charset)
{
    return charset == TSiteCharset::Utf8 ? "UTF8" : "WIN1252";
}

std::unique_ptr<TTestDatabase> makeSiteDatabase(const QStringList &siteSql, TSiteCharset charset)
{
    auto db = std::make_unique<TTestDatabase>(QStringList(), TTestDatabase::Schema::Empty);
    db->runScript(schemaScript(charset));
    // One script commits once: a commit per row would cost more than the comparison.
    db->runScript(siteSql.join(QStringLiteral(";\n")) + QLatin1Char(';'));
    return db;
}
