#pragma once
// The registry editor's text format, so that a hive exported on Windows can be
// used here and the other way round. Written as the editor writes it (UTF-16LE
// with a byte-order mark, CR LF line ends, long hex data continued after ",\");
// read from UTF-16LE with a byte-order mark or from UTF-8, with ";" comments. The machine
// hive is the 32-bit view: keys a 64-bit editor exported below
// HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node read as the same keys below SOFTWARE.
#include "settings/store/Hive.h"

#include <memory>
#include <string>

// The key name of a root in header lines: HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER.
std::wstring rootKeyName(RegRoot root);

// Parses a hive file's bytes. Throws RegistryStoreError with a message naming
// fileName and the line when the text is not a hive of that root.
std::unique_ptr<HiveKey> parseHive(const std::string &bytes, RegRoot root, const std::string &fileName);

// The file bytes of a hive, parents before children, every key with a header.
std::string writeHive(const HiveKey &rootKey, RegRoot root);
