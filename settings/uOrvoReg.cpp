#include "settings/uOrvoReg.h"

#include "settings/RegistryValues.h"
#include "settings/XMLConfig.h"
#include "util/Errors.h"
#include "util/Fields.h"
#include "util/Files.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QFileInfo>

using namespace RegistryValues;

namespace {

QString upperAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 0x20);
    return result;
}

QString runningProgramName()
{
    return QFileInfo(ModuleFileName()).fileName();
}

// A value read straight from an open key, without write-back: missing means empty.
QString textOrEmpty(RegistryKey &key, const QString &name)
{
    return valueExists(key, name) ? readText(key, name) : QString();
}

qint32 integerOrZero(RegistryKey &key, const QString &name)
{
    try {
        return valueExists(key, name) ? readInteger(key, name) : 0;
    } catch (const EPosError &) {
        return 0;
    }
}

// Fills list with the names a key enumerates; leaves it alone when the
// section does not open.
void listNames(RegRoot root, const QString &section, QStringList &list,
               RegResult (RegistryKey::*enumerate)(std::vector<std::wstring> &))
{
    std::unique_ptr<RegistryKey> key;
    std::vector<std::wstring> names;
    if (!openSection(root, section, true, key) || ((*key).*enumerate)(names) != RegResult::Success)
        return;
    list.clear();
    for (const std::wstring &name : names)
        list.append(text(name));
}

} // namespace

// A run with full access to the machine-wide product key uses the machine-wide
// tree (creating the key); any other run uses the user's own.
TOrvoReg::TOrvoReg() : fRKEY(probeProductKey(RegRoot::LocalMachine) ? RegRoot::LocalMachine : RegRoot::CurrentUser)
{
}

bool TOrvoReg::KeyExists(const QString &aKey)
{
    std::unique_ptr<RegistryKey> key;
    return platformRegistry().openKey(fRKEY, units(kOrvoProductKey + QLatin1Char('\\') + aKey), RegAccess::All, key)
        == RegResult::Success;
}

QString TOrvoReg::ReadString(const QString &section, const QString &key, const QString &defaultValue, int mode)
{
    return readSetting(fRKEY, section, key, defaultValue, mode);
}

void TOrvoReg::WriteString(const QString &section, const QString &key, const QString &value, int mode)
{
    writeSetting(fRKEY, section, key, value, mode);
}

int TOrvoReg::ReadInteger(const QString &section, const QString &key, int defaultValue)
{
    return static_cast<int>(TextToInt64(ReadString(section, key, IntToText(defaultValue), rmInteger), defaultValue));
}

void TOrvoReg::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, IntToText(value), rmInteger);
}

double TOrvoReg::readFloat(const QString &section, const QString &key)
{
    double value = 0;
    return parseFloat(ReadString(section, key, QStringLiteral("0"), rmFloat), value) ? value : 0;
}

void TOrvoReg::writeFloat(const QString &section, const QString &key, double value)
{
    WriteString(section, key, floatText(value), rmFloat);
}

void TOrvoReg::ReadFont(const QString &section, const QString &key, QFont &aFont, qint32 &aColor)
{
    try {
        const QString text = ReadString(section, key, QString(), rmText);
        if (text.isEmpty())
            return;
        const QString separator = QStringLiteral(";");
        aFont.setFamily(GetField(0, text, separator));
        // QFont holds no size of 0 or less; such a size leaves the font's own.
        const auto size = static_cast<qint32>(TextToInt64(GetField(1, text, separator), 0));
        if (size > 0)
            aFont.setPointSize(size);
        const auto style = static_cast<quint8>(TextToInt64(GetField(2, text, separator), 0));
        aFont.setBold(style & 1);
        aFont.setItalic(style & 2);
        aFont.setUnderline(style & 4);
        aFont.setStrikeOut(style & 8);
        aColor = static_cast<qint32>(TextToInt64(GetField(3, text, separator), 0));
    } catch (...) {
        // A font that cannot be read keeps what was set before the failure.
    }
}

void TOrvoReg::writeFont(const QString &section, const QString &key, const QFont &aFont, qint32 aColor)
{
    const int style =
        (aFont.bold() ? 1 : 0) | (aFont.italic() ? 2 : 0) | (aFont.underline() ? 4 : 0) | (aFont.strikeOut() ? 8 : 0);
    const QStringList fields = {aFont.family(), IntToText(aFont.pointSize()), IntToText(style), IntToText(aColor)};
    WriteString(section, key, fields.join(QLatin1Char(';')), rmText);
}

void TOrvoReg::deleteKey(const QString &section, const QString &key)
{
    std::unique_ptr<RegistryKey> opened;
    if (openSection(fRKEY, section, false, opened))
        opened->deleteValue(units(key));
}

void TOrvoReg::deleteSection(const QString &section)
{
    const qsizetype slash = section.lastIndexOf(QLatin1Char('\\'));
    const QString last = section.mid(slash + 1);
    if (last.isEmpty())
        return;
    std::unique_ptr<RegistryKey> parent;
    if (openSection(fRKEY, section.left(slash + 1), false, parent))
        parent->deleteTree(units(last));
}

QString TOrvoReg::GetlastUsedDB()
{
    return upperAscii(ReadString(QStringLiteral("Database"), QStringLiteral("DefaultDatabase"), QString(), rmText));
}

void TOrvoReg::SetlastUsedDB(const QString &value)
{
    WriteString(QStringLiteral("Database"), QStringLiteral("DefaultDatabase"), value, rmText);
}

QString TOrvoReg::GetlastUser()
{
    return ReadString(QString(), QStringLiteral("LastUser"), QString(), rmText);
}

void TOrvoReg::SetlastUser(const QString &value)
{
    WriteString(QString(), QStringLiteral("LastUser"), value, rmText);
}

int TOrvoReg::getDBDetails(QStringList &pathList, const QString &separator, const QString &defaultDB)
{
    int result = defaultDB.isEmpty() ? 0 : -1;
    pathList.clear();
    const QString lastUsed = GetlastUsedDB();
    const QString wanted = defaultDB.isEmpty() ? lastUsed : defaultDB;
    const QString listPath = kOrvoProductKey + QStringLiteral("\\Database\\List");

    RegistryStore &store = platformRegistry();
    std::unique_ptr<RegistryKey> list;
    std::vector<std::wstring> names;
    if (store.openKey(fRKEY, units(listPath), RegAccess::All, list) != RegResult::Success
        || list->enumSubKeys(names) != RegResult::Success)
        return result;
    for (const std::wstring &entry : names) {
        const QString name = text(entry);
        std::unique_ptr<RegistryKey> key;
        if (store.openKey(fRKEY, units(listPath + QLatin1Char('\\') + name), RegAccess::All, key) != RegResult::Success)
            continue;
        const QString local = textOrEmpty(*key, QStringLiteral("LocalPath"));
        const QString server = textOrEmpty(*key, QStringLiteral("ServerPath"));
        const qint32 colour = integerOrZero(*key, QStringLiteral("Colour"));
        pathList.append(name + separator + local + separator + server + separator + IntToText(colour));
        if (SameTextAscii(name, wanted))
            result = static_cast<int>(pathList.size() - 1);
    }
    return result;
}

QString TOrvoReg::getLastUsedDBPath(bool server)
{
    const QString name = GetlastUsedDB();
    return ReadString(QStringLiteral("Database\\List\\") + name,
                      server ? QStringLiteral("ServerPath") : QStringLiteral("LocalPath"), QString(), rmText);
}

QString TOrvoReg::lastUsedDBEntry()
{
    return QStringLiteral("Database\\List\\")
        + upperAscii(storedText(fRKEY, QStringLiteral("Database"), QStringLiteral("DefaultDatabase")));
}

void TOrvoReg::getLastUsedDBLogin(QString &user, QString &password)
{
    const QString entry = lastUsedDBEntry();
    user = storedText(fRKEY, entry, kDatabaseUserValue);
    password = storedText(fRKEY, entry, kDatabasePasswordValue);
}

QString TOrvoReg::getLastUsedDBKeyName()
{
    return keyName(fRKEY, lastUsedDBEntry());
}

QString TOrvoReg::GetCommandSequence(const QString &moduleName)
{
    const QString module = moduleName.isEmpty() ? runningProgramName() : moduleName;
    const QString result = ReadString(QStringLiteral("IDEx\\") + module, QStringLiteral("COMMAND"), QString(), rmText);
    SetCommandSequence(runningProgramName(), QString());
    return result;
}

void TOrvoReg::SetCommandSequence(const QString &target, const QString &command)
{
    WriteString(QStringLiteral("IDEx\\") + target, QStringLiteral("COMMAND"), command, rmText);
}

void TOrvoReg::GetValueNames(const QString &section, QStringList &list)
{
    listNames(fRKEY, section, list, &RegistryKey::enumValues);
}

void TOrvoReg::GetKeyNames(const QString &section, QStringList &list)
{
    listNames(fRKEY, section, list, &RegistryKey::enumSubKeys);
}

TRegDataType TOrvoReg::GetDataType(const QString &section, const QString &key, bool &isEncoded)
{
    std::unique_ptr<RegistryKey> opened;
    if (!openSection(fRKEY, section, false, opened))
        return rdUnknown;
    isEncoded = key == QLatin1String("IBAN") || key == QLatin1String("BIC");
    RegType type = RegType::None;
    std::uint32_t size = 0;
    if (opened->queryValue(units(key), &type, nullptr, &size) != RegResult::Success)
        return rdUnknown;
    switch (type) {
    case RegType::Sz:
        return rdString;
    case RegType::ExpandSz:
        return rdExpandString;
    case RegType::Dword:
        return rdInteger;
    case RegType::Binary:
        return rdBinary;
    default:
        return rdUnknown;
    }
}

TOrvoRegL::TOrvoRegL() : fRKEY(RegRoot::CurrentUser)
{
    probeProductKey(RegRoot::CurrentUser);
}

QString TOrvoRegL::ReadString(const QString &section, const QString &key, const QString &defaultValue, int mode)
{
    return readSetting(fRKEY, section, key, defaultValue, mode);
}

void TOrvoRegL::WriteString(const QString &section, const QString &key, const QString &value, int mode)
{
    writeSetting(fRKEY, section, key, value, mode);
}

QString ReadUserSetting(const QString &key, const QString &section, const QString &defaultValue)
{
    return TOrvoRegL().ReadString(section, key, defaultValue, rmText);
}

int ReadSettingInt(const QString &key, const QString &section, int defaultValue)
{
    return TOrvoReg().ReadInteger(section, key, defaultValue);
}

QString ReadSetting(const QString &key, const QString &section, const QString &defaultValue)
{
    // The file lookup still runs: it creates a missing "Config.xml" and
    // reports a malformed one. The registry's answer is the one returned.
    ReadXMLSetting(section, key, QString(), 0);
    return TOrvoReg().ReadString(section, key, defaultValue, rmText);
}

// COM needs initialising only where the XML services come from COM; Qt's do not.
void SettingsModuleStart()
{
}

void SettingsModuleStop()
{
}
