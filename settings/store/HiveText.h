#pragma once
// Text helpers of the hive files: UTF-16 code units held in std::wstring (one
// unit per wchar_t on every platform), UTF-8 and UTF-16LE bytes, and the
// registry's case-insensitive name comparison.
#include <cstdint>
#include <string>
#include <vector>

// Case folding as the registry compares names: upper case of letters of the
// Latin, Greek and Cyrillic blocks; other units compare as they are.
wchar_t foldNameUnit(wchar_t unit);
std::wstring foldName(const std::wstring &name);
bool sameName(const std::wstring &a, const std::wstring &b);
// Equal for names that sameName() finds the same.
std::size_t nameHash(const std::wstring &name);

// UTF-16LE bytes of the units, and back (an odd last byte is dropped).
std::vector<std::uint8_t> unitsToUtf16le(const std::wstring &units);
template <class Bytes>
void appendUtf16le(Bytes &bytes, const std::wstring &units)
{
    for (wchar_t c : units) {
        const auto u = static_cast<std::uint16_t>(c);
        bytes.push_back(static_cast<typename Bytes::value_type>(u & 0xFF));
        bytes.push_back(static_cast<typename Bytes::value_type>(u >> 8));
    }
}
std::wstring utf16leToUnits(const std::uint8_t *data, std::size_t size);

// UTF-8 of the units, for messages; unpaired surrogates become U+FFFD.
std::string unitsToUtf8(const std::wstring &units);
// Strict UTF-8 decoding of bytes [begin, end) appended to the UTF-16 units;
// returns the byte offset of the first malformed sequence, or std::string::npos
// when the text is valid.
std::size_t utf8ToUnits(const std::string &bytes, std::size_t begin, std::size_t end, std::wstring &units);
