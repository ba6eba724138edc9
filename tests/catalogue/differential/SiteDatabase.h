#pragma once
// A site's database with the back office's text columns in either character set: the
// schema declares WIN1252, and some sites were converted to UTF8.
#include "database/testing/TestDatabase.h"

#include <memory>

enum class TSiteCharset { Win1252, Utf8 };

const char *charsetName(TSiteCharset charset);

// The program's schema in the character set, then the site's statements as one script.
std::unique_ptr<TTestDatabase> makeSiteDatabase(const QStringList &siteSql, TSiteCharset charset);
