#include "settings/store/HiveText.h"

wchar_t foldNameUnit(wchar_t c)
{
    if (c < 0x80)
        return (c >= L'a' && c <= L'z') ? wchar_t(c - 0x20) : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return wchar_t(c - 0x20);
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x450 && c <= 0x45F)
        return wchar_t(c - 0x50);
    // Latin Extended-A pairs upper/lower as even/odd, except in the stretch
    // 0x139-0x148 and 0x179-0x17E where the pairs start on odd units.
    if (c >= 0x100 && c <= 0x17F) {
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        return oddPairs ? ((c % 2 == 0) ? wchar_t(c - 1) : c) : ((c % 2 == 1) ? wchar_t(c - 1) : c);
    }
    if (c >= 0x460 && c <= 0x4FF && c % 2 == 1 && !(c >= 0x482 && c <= 0x489) && !(c >= 0x4C0 && c <= 0x4CF))
        return wchar_t(c - 1);
    return c;
}

std::wstring foldName(const std::wstring &name)
{
    std::wstring folded(name);
    for (wchar_t &c : folded)
        c = foldNameUnit(c);
    return folded;
}

bool sameName(const std::wstring &a, const std::wstring &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldNameUnit(a[i]) != foldNameUnit(b[i]))
            return false;
    return true;
}

std::size_t nameHash(const std::wstring &name)
{
    // FNV-1a over the folded units.
    std::uint64_t hash = 14695981039346656037ULL;
    for (wchar_t c : name) {
        hash ^= static_cast<std::uint64_t>(foldNameUnit(c));
        hash *= 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
}

std::vector<std::uint8_t> unitsToUtf16le(const std::wstring &units)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    appendUtf16le(bytes, units);
    return bytes;
}

std::wstring utf16leToUnits(const std::uint8_t *data, std::size_t size)
{
    std::wstring units;
    units.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

static void appendUtf8(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string unitsToUtf8(const std::wstring &units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto u = static_cast<std::uint32_t>(static_cast<std::uint16_t>(units[i]));
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size()) {
            const auto low = static_cast<std::uint32_t>(static_cast<std::uint16_t>(units[i + 1]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

std::size_t utf8ToUnits(const std::string &bytes, std::size_t begin, std::size_t end, std::wstring &units)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t n = end;
    units.reserve(units.size() + n - begin);
    std::size_t i = begin;
    while (i < n) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            units.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        int extra;
        std::uint32_t cp, min;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
            min = 0x10000;
        } else
            return i;
        if (i + extra >= n)
            return i;
        for (int k = 1; k <= extra; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<wchar_t>(cp));
        }
        i += extra + 1;
    }
    return std::string::npos;
}
