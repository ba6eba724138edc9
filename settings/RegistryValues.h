#pragma once
// The registry work shared by the settings accessors: opening a section of the
// product key, reading values with the type checks and error texts of the
// settings unit, and the text forms of the three value kinds.
#include "settings/store/RegistryStore.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace RegistryValues {

std::wstring units(const QString &text);
QString text(const std::wstring &units);

// The product key, or the product key + "\" + section.
std::wstring sectionPath(const QString &section);

// A section's key as the registry editor shows it, for messages that name it.
QString keyName(RegRoot root, const QString &section);

// Opens a section read-only (never creating) or for writing (creating every
// missing key); false when it does not open.
bool openSection(RegRoot root, const QString &section, bool readOnly, std::unique_ptr<RegistryKey> &key);

bool valueExists(RegistryKey &key, const QString &name);

// The text of a value in a section, read without writing anything back; empty when
// the section or the value is missing. A value of another type fails as readText does.
QString storedText(RegRoot root, const QString &section, const QString &name);

// Typed reads of a value that exists; a stored type or size that does not
// fit raises "Invalid data type for '%s'" or "Failed to get data for '%s'".
QString readText(RegistryKey &key, const QString &name);
qint32 readInteger(RegistryKey &key, const QString &name);
double readFloat(RegistryKey &key, const QString &name);

// A float in general format with 15 significant digits and the default
// locale's decimal separator, and back.
QString floatText(double value);
bool parseFloat(const QString &text, double &value);

// ReadString and WriteString under a root, as both accessor classes do them.
QString readSetting(RegRoot root, const QString &section, const QString &name, const QString &defaultValue, int mode);
void writeSetting(RegRoot root, const QString &section, const QString &name, const QString &value, int mode);

// Opens the product key under the root with full access, creating it; false
// when that is refused. Throws RegistryStoreError when the hive is unreadable.
bool probeProductKey(RegRoot root);

} // namespace RegistryValues
