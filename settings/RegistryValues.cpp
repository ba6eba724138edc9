#include "settings/RegistryValues.h"

#include "settings/MachineSettingsPlace.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"
#include "util/Numbers.h"

#include <QLocale>
#include <cstring>

namespace RegistryValues {

namespace {

EPosError invalidType(const QString &name)
{
    return EPosError(QStringLiteral("Invalid data type for '%1'").arg(name));
}

EPosError failedGet(const QString &name)
{
    return EPosError(QStringLiteral("Failed to get data for '%1'").arg(name));
}

// Reads a value into a fixed buffer, as an integer or float read does: data
// longer than the buffer cannot be got at all.
RegType readFixed(RegistryKey &key, const QString &name, std::uint8_t *buffer, std::uint32_t capacity,
                  std::uint32_t &size)
{
    RegType type = RegType::None;
    size = capacity;
    if (key.queryValue(units(name), &type, buffer, &size) != RegResult::Success)
        throw failedGet(name);
    return type;
}

QLocale floatLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

void setValue(RegistryKey &key, const QString &name, RegType type, const std::vector<std::uint8_t> &data)
{
    if (key.setValue(units(name), type, data.data(), static_cast<std::uint32_t>(data.size())) != RegResult::Success)
        throw EPosError(QStringLiteral("Failed to set data for '%1'").arg(name));
}

} // namespace

std::wstring units(const QString &text)
{
    std::wstring result(static_cast<std::size_t>(text.size()), L'\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        result[static_cast<std::size_t>(i)] = static_cast<wchar_t>(text.at(i).unicode());
    return result;
}

QString text(const std::wstring &units)
{
    QString result(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < units.size(); ++i)
        result[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(units[i]));
    return result;
}

std::wstring sectionPath(const QString &section)
{
    return units(section.isEmpty() ? kOrvoProductKey : kOrvoProductKey + QLatin1Char('\\') + section);
}

QString keyName(RegRoot root, const QString &section)
{
    const QString productKey =
        root == RegRoot::LocalMachine ? MachineKeyName() : QStringLiteral("HKEY_CURRENT_USER\\") + kOrvoProductKey;
    return productKey + QLatin1Char('\\') + section;
}

bool openSection(RegRoot root, const QString &section, bool readOnly, std::unique_ptr<RegistryKey> &key)
{
    key.reset();
    RegistryStore &store = platformRegistry();
    const RegResult result = readOnly ? store.openKey(root, sectionPath(section), RegAccess::Read, key)
                                      : store.createKey(root, sectionPath(section), RegAccess::All, key);
    return result == RegResult::Success && key;
}

bool valueExists(RegistryKey &key, const QString &name)
{
    std::uint32_t size = 0;
    return key.queryValue(units(name), nullptr, nullptr, &size) == RegResult::Success;
}

QString storedText(RegRoot root, const QString &section, const QString &name)
{
    std::unique_ptr<RegistryKey> key;
    return openSection(root, section, true, key) && valueExists(*key, name) ? readText(*key, name) : QString();
}

QString readText(RegistryKey &key, const QString &name)
{
    RegValue value;
    if (key.readValue(units(name), value) != RegResult::Success)
        throw failedGet(name);
    if (value.type != RegType::Sz && value.type != RegType::ExpandSz)
        throw invalidType(name);
    QString result;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(value.data[i] | value.data[i + 1] << 8);
        if (unit == 0)
            break; // the text ends at its first NUL
        result.append(QChar(unit));
    }
    return result;
}

qint32 readInteger(RegistryKey &key, const QString &name)
{
    std::uint8_t buffer[4];
    std::uint32_t size = 0;
    if (readFixed(key, name, buffer, sizeof buffer, size) != RegType::Dword || size != sizeof buffer)
        throw invalidType(name);
    return static_cast<qint32>(buffer[0] | buffer[1] << 8 | buffer[2] << 16 | std::uint32_t(buffer[3]) << 24);
}

double readFloat(RegistryKey &key, const QString &name)
{
    std::uint8_t buffer[8];
    std::uint32_t size = 0;
    if (readFixed(key, name, buffer, sizeof buffer, size) != RegType::Binary || size != sizeof buffer)
        throw invalidType(name);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | buffer[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString floatText(double value)
{
    return floatLocale().toString(value, 'g', 15);
}

bool parseFloat(const QString &text, double &value)
{
    bool ok = false;
    value = QLocale().toDouble(text, &ok);
    return ok;
}

QString readSetting(RegRoot root, const QString &section, const QString &name, const QString &defaultValue, int mode)
{
    QString result = defaultValue;
    {
        std::unique_ptr<RegistryKey> key;
        if (openSection(root, section, true, key) && valueExists(*key, name)) {
            if (mode == rmInteger)
                result = IntToText(readInteger(*key, name));
            else if (mode == rmFloat)
                result = floatText(readFloat(*key, name));
            else
                result = readText(*key, name);
        }
    }
    writeSetting(root, section, name, result, mode);
    return result;
}

void writeSetting(RegRoot root, const QString &section, const QString &name, const QString &value, int mode)
{
    std::unique_ptr<RegistryKey> key;
    if (!openSection(root, section, false, key))
        return;
    if (mode == rmInteger) {
        bool ok = false;
        const qint32 number = value.toInt(&ok);
        if (!ok)
            throw EPosError(QStringLiteral("'%1' is not a valid integer value").arg(value));
        const auto bits = static_cast<std::uint32_t>(number);
        setValue(*key, name, RegType::Dword,
                 {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)});
    } else if (mode == rmFloat) {
        double number = 0;
        if (!parseFloat(value, number))
            throw EPosError(QStringLiteral("'%1' is not a valid floating point value").arg(value));
        std::uint64_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        std::vector<std::uint8_t> data;
        for (int i = 0; i < 8; ++i)
            data.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        setValue(*key, name, RegType::Binary, data);
    } else {
        std::vector<std::uint8_t> data;
        data.reserve(static_cast<std::size_t>(value.size() + 1) * 2);
        for (QChar c : value) {
            data.push_back(static_cast<std::uint8_t>(c.unicode() & 0xFF));
            data.push_back(static_cast<std::uint8_t>(c.unicode() >> 8));
        }
        data.insert(data.end(), {0, 0});
        setValue(*key, name, RegType::Sz, data);
    }
}

bool probeProductKey(RegRoot root)
{
    // A refusal is an answer, not a failure. A hive file that cannot be read
    // does fail: going on in the other tree would quietly use other settings.
    std::unique_ptr<RegistryKey> key;
    return platformRegistry().createKey(root, units(kOrvoProductKey), RegAccess::All, key) == RegResult::Success;
}

} // namespace RegistryValues
