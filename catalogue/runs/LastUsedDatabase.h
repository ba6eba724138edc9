#pragma once
// The database the back office used last, as its settings name it.
class TDbConnection;

// Opens conx on the server path of the database the back office used last, with the
// site's login (TDbLogin::forSite over the values of the database's entry); without a
// path, fails naming the setting that must be mended. A database that does not open
// fails naming it and what to check, then the engine's own words.
void openLastUsedDatabase(TDbConnection &conx);
