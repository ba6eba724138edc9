#pragma once
// Settings of the back-office installation: its registry tree
// "SOFTWARE\Tollvane\Orvo" and "Config.xml" beside the program.
//
// Every operation opens the key it needs and closes it before returning;
// nothing is cached, so another program's change is seen by the next lookup.
// Every ReadString (and every typed read built on it) writes the value it
// returns back, so a missing setting is stored with its default on first read.
#include "settings/store/RegistryStore.h"

#include <QFont>
#include <QString>
#include <QStringList>

// The product key below the root key.
inline const QString kOrvoProductKey = QStringLiteral("SOFTWARE\\Tollvane\\Orvo");

// The values of a database's entry ("Database\List\<name>", beside its LocalPath and
// ServerPath) that give the login to its server, as texts. Both may be missing: how the
// program's login is decided from them is TDbLogin::forSite's. The program only reads
// them, so the password is kept where the operator put it and nowhere else.
inline const QString kDatabaseUserValue = QStringLiteral("DatabaseUser");
inline const QString kDatabasePasswordValue = QStringLiteral("DatabasePassword");

// How ReadString and WriteString store a value; any other number is text.
enum TRegMode { rmText = 0, rmInteger = 1, rmFloat = 2 };

// Stored value types as GetDataType reports them.
enum TRegDataType { rdUnknown = 0, rdString = 1, rdExpandString = 2, rdInteger = 3, rdBinary = 4 };

// Section/key access to the product tree: machine-wide when this run has full
// access to the machine-wide product key, otherwise the user's own tree.
// A registry hive file that cannot be read raises RegistryStoreError, naming
// the file and the line, from any operation (the constructors included).
class TOrvoReg
{
public:
    TOrvoReg();
    virtual ~TOrvoReg() = default;

    // The root key chosen at construction.
    RegRoot rootKey() const { return fRKEY; }

    bool KeyExists(const QString &aKey);

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue, int mode);
    void WriteString(const QString &section, const QString &key, const QString &value, int mode);
    int ReadInteger(const QString &section, const QString &key, int defaultValue);
    void WriteInteger(const QString &section, const QString &key, int value);
    double readFloat(const QString &section, const QString &key);
    void writeFloat(const QString &section, const QString &key, double value);
    // Fonts are stored as "face;size;style;colour"; the colour (0x00BBGGRR)
    // travels beside the font because QFont has none.
    void ReadFont(const QString &section, const QString &key, QFont &aFont, qint32 &aColor);
    void writeFont(const QString &section, const QString &key, const QFont &aFont, qint32 aColor);

    void deleteKey(const QString &section, const QString &key);
    void deleteSection(const QString &section);

    QString GetlastUsedDB();
    void SetlastUsedDB(const QString &value);
    QString GetlastUser();
    void SetlastUser(const QString &value);
    // Fills pathList with "name<sep>local<sep>server<sep>colour" per database
    // entry; returns the index of the default entry's line (0 or -1 when none).
    int getDBDetails(QStringList &pathList, const QString &separator, const QString &defaultDB);
    QString getLastUsedDBPath(bool server);
    // The login values of the last used database's entry, empty where missing. Unlike
    // the reads above, nothing is written back.
    void getLastUsedDBLogin(QString &user, QString &password);
    // The last used database's entry key as the registry editor shows it, for messages.
    QString getLastUsedDBKeyName();

    QString GetCommandSequence(const QString &moduleName);
    void SetCommandSequence(const QString &target, const QString &command);

    void GetValueNames(const QString &section, QStringList &list);
    void GetKeyNames(const QString &section, QStringList &list);
    TRegDataType GetDataType(const QString &section, const QString &key, bool &isEncoded);

private:
    // "Database\List\<DefaultDatabase>", read without writing anything back.
    QString lastUsedDBEntry();

    RegRoot fRKEY;
};

// The same text access, always in the user's own tree.
class TOrvoRegL
{
public:
    TOrvoRegL();
    virtual ~TOrvoRegL() = default;

    RegRoot rootKey() const { return fRKEY; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue, int mode);
    void WriteString(const QString &section, const QString &key, const QString &value, int mode);

private:
    RegRoot fRKEY;
};

// One-shot lookups, each with a fresh accessor. Note the order: key first.
QString ReadUserSetting(const QString &key, const QString &section, const QString &defaultValue);
int ReadSettingInt(const QString &key, const QString &section, int defaultValue);

// Looks in "Config.xml" (creating it when missing), then returns the registry's
// value or the default: the registry always has the last word.
QString ReadSetting(const QString &key, const QString &section, const QString &defaultValue);

// Module start and stop of the settings unit (COM needs nothing here).
void SettingsModuleStart();
void SettingsModuleStop();
