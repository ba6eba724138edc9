#include "settings/store/HiveFormat.h"

#include "settings/store/HiveLines.h"
#include "settings/store/HiveText.h"

#include <cstdio>

namespace {

const wchar_t kHeader[] = L"Windows Registry Editor Version 5.00";

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring trimLeft(const std::wstring &s)
{
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return s.substr(i);
}

std::wstring trimRight(const std::wstring &s)
{
    std::size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

int hexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// A number of 1 to maxDigits hex digits, the whole text.
bool parseHexNumber(const std::wstring &text, std::size_t maxDigits, std::uint32_t &number)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    number = 0;
    for (wchar_t c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return false;
        number = (number << 4) | static_cast<std::uint32_t>(d);
    }
    return true;
}

class HiveParser
{
public:
    HiveParser(const std::string &bytes, RegRoot root, std::string fileName)
        : fLines(bytes, std::move(fileName)), fRoot(root)
    {
    }

    std::unique_ptr<HiveKey> parse()
    {
        auto hive = std::make_unique<HiveKey>(rootKeyName(fRoot));
        if (!fLines.next(fLine) || trimRight(fLine) != kHeader)
            fail(1, "the first line is not \"Windows Registry Editor Version 5.00\"");
        HiveKey *current = nullptr;
        while (fLines.next(fLine)) {
            const std::wstring line = trimLeft(fLine);
            if (line.empty() || line[0] == L';')
                continue;
            if (line[0] == L'[')
                current = &keyOfHeader(*hive, trimRight(line));
            else if (!current)
                fail(fLines.number(), "a value before the first key");
            else
                parseValue(*current, line);
        }
        return hive;
    }

private:
    [[noreturn]] void fail(std::size_t line, const std::string &message) const { fLines.fail(line, message); }

    HiveKey &keyOfHeader(HiveKey &hive, const std::wstring &line)
    {
        const std::size_t lineNo = fLines.number();
        if (line.size() < 2 || line.back() != L']')
            fail(lineNo, "a key line without its closing \"]\"");
        const std::wstring path = line.substr(1, line.size() - 2);
        if (!path.empty() && path[0] == L'-')
            fail(lineNo, "a key deletion line has no place in a hive");
        const auto slash = path.find(L'\\');
        const std::wstring rootName = path.substr(0, slash);
        if (!sameName(rootName, rootKeyName(fRoot)))
            fail(lineNo, "the key " + unitsToUtf8(path) + " is not below " + unitsToUtf8(rootKeyName(fRoot)));
        HiveKey *key = &hive;
        if (slash == std::wstring::npos)
            return *key;
        const std::wstring rest = path.substr(slash + 1);
        KeyPath parts;
        if (!splitKeyPath(rest, parts) || parts.empty() || rest.back() == L'\\')
            fail(lineNo, "an empty key name in " + unitsToUtf8(path));
        for (const std::wstring &part : parts)
            if (part.size() > kMaxKeyName)
                fail(lineNo,
                     "the key name \"" + unitsToUtf8(part.substr(0, 32)) + "...\" is " + std::to_string(part.size())
                         + " characters long, more than the registry's " + std::to_string(kMaxKeyName));
        // The machine hive holds the 32-bit view that the program uses on Windows; the
        // 64-bit registry editor exports that view's keys below SOFTWARE\WOW6432Node
        // (a run of those names stands for SOFTWARE alone: Hive.h).
        parts.erase(parts.begin() + 1, parts.begin() + 1 + static_cast<std::ptrdiff_t>(wow64NodeNames(fRoot, parts)));
        if (parts.size() > kMaxKeyDepth)
            fail(lineNo,
                 "a key path " + std::to_string(parts.size()) + " keys deep, deeper than the registry's "
                     + std::to_string(kMaxKeyDepth));
        for (const std::wstring &part : parts)
            key = &key->childOrNew(part);
        return *key;
    }

    // A quoted text from s[pos] (the opening quote); returns the position after
    // the closing quote. Wine's registry editor writes line breaks in text data
    // as \r and \n; a name never holds one.
    std::size_t parseQuoted(const std::wstring &s, std::size_t pos, std::wstring &text,
                            bool lineBreakEscapes = false) const
    {
        text.clear();
        for (std::size_t i = pos + 1; i < s.size(); ++i) {
            const wchar_t c = s[i];
            if (c == L'"')
                return i + 1;
            if (c == L'\\') {
                const wchar_t next = i + 1 < s.size() ? s[i + 1] : L'\0';
                if (lineBreakEscapes && (next == L'r' || next == L'n'))
                    text.push_back(next == L'r' ? L'\r' : L'\n');
                else if (next == L'\\' || next == L'"')
                    text.push_back(next);
                else
                    fail(fLines.number(), "a backslash that escapes neither \\ nor \"");
                ++i;
            } else {
                text.push_back(c);
            }
        }
        fail(fLines.number(), "a text without its closing quote");
    }

    void parseValue(HiveKey &key, const std::wstring &line)
    {
        const std::size_t lineNo = fLines.number();
        std::wstring name;
        std::size_t pos;
        if (line[0] == L'@')
            pos = 1;
        else if (line[0] == L'"')
            pos = parseQuoted(line, 0, name);
        else
            fail(lineNo, "a line that is neither a key, a value nor a comment");
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != L'=')
            fail(lineNo, "a value name without \"=\"");
        std::wstring data = trimLeft(line.substr(pos + 1));

        RegValue value;
        if (!data.empty() && data[0] == L'"') {
            std::wstring text;
            const std::size_t end = parseQuoted(data, 0, text, true);
            if (!trimRight(data.substr(end)).empty())
                fail(lineNo, "text after the closing quote");
            value.type = RegType::Sz;
            value.data = unitsToUtf16le(text + L'\0');
        } else {
            data = joinContinuation(trimRight(data));
            parseData(data, value);
        }
        if (!key.addValue(name, std::move(value)))
            fail(lineNo, "the value \"" + unitsToUtf8(name) + "\" appears twice in its key");
    }

    std::wstring joinContinuation(std::wstring data)
    {
        const std::size_t lineNo = fLines.number();
        while (!data.empty() && data.back() == L'\\') {
            data.pop_back();
            const std::wstring next = fLines.next(fLine) ? trimRight(trimLeft(fLine)) : L"";
            if (next.empty())
                fail(lineNo, "the value breaks off after its last \",\\\"");
            data += next;
        }
        return data;
    }

    void parseData(const std::wstring &data, RegValue &value)
    {
        const std::size_t lineNo = fLines.number();
        const std::wstring lower = foldName(data.substr(0, data.find(L':') + 1));
        std::uint32_t number = 0;
        if (lower == L"DWORD:") {
            if (!parseHexNumber(trimRight(data.substr(6)), 8, number))
                fail(lineNo, "dword data that is not 1 to 8 hex digits");
            value.type = RegType::Dword;
            value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
            return;
        }
        if (lower == L"HEX:") {
            value.type = RegType::Binary;
        } else if (lower.size() > 6 && lower.compare(0, 4, L"HEX(") == 0
                   && lower.compare(lower.size() - 2, 2, L"):") == 0
                   && parseHexNumber(lower.substr(4, lower.size() - 6), 8, number)) {
            value.type = static_cast<RegType>(number);
        } else if (data == L"-") {
            fail(lineNo, "a value deletion line has no place in a hive");
        } else {
            fail(lineNo, "value data that is neither a quoted text, dword: nor hex:");
        }
        parseBytes(data.substr(lower.size()), value.data);
    }

    void parseBytes(const std::wstring &list, std::vector<std::uint8_t> &bytes) const
    {
        bytes.clear();
        if (trimRight(list).empty())
            return;
        std::size_t start = 0;
        for (;;) {
            const auto comma = list.find(L',', start);
            const std::wstring token = trimRight(trimLeft(list.substr(start, comma - start)));
            std::uint32_t byte = 0;
            if (!parseHexNumber(token, 2, byte))
                fail(fLines.number(), "hex data with \"" + unitsToUtf8(token) + "\" where a byte belongs");
            bytes.push_back(static_cast<std::uint8_t>(byte));
            if (comma == std::wstring::npos)
                return;
            start = comma + 1;
        }
    }

    HiveLines fLines;
    RegRoot fRoot;
    std::wstring fLine; // the line last read
};

std::wstring quoted(const std::wstring &text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            out.push_back(L'\\');
        out.push_back(c);
    }
    out.push_back(L'"');
    return out;
}

// A text value the quoted form can carry: UTF-16 with one ending NUL and no
// NUL, CR or LF inside.
bool plainText(const RegValue &value, std::wstring &text)
{
    const auto &d = value.data;
    if (value.type != RegType::Sz || d.size() < 2 || d.size() % 2 != 0 || d[d.size() - 1] != 0 || d[d.size() - 2] != 0)
        return false;
    text = utf16leToUnits(d.data(), d.size() - 2);
    return text.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
}

void appendHex(std::wstring &out, std::size_t column, const std::vector<std::uint8_t> &bytes)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // Lines stop short of 80 columns, as the registry editor writes them.
        if (i > 0 && column + 4 > 80) {
            out += L"\\\r\n  ";
            column = 2;
        }
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 0xF]);
        column += 2;
        if (i + 1 < bytes.size()) {
            out.push_back(L',');
            ++column;
        }
    }
}

void writeValue(std::string &out, const HiveValue &v)
{
    std::wstring line = v.name.empty() ? std::wstring(L"@") : quoted(v.name);
    line += L'=';
    std::wstring text;
    const auto type = static_cast<std::uint32_t>(v.value.type);
    if (plainText(v.value, text)) {
        line += quoted(text);
    } else if (v.value.type == RegType::Dword && v.value.data.size() == 4) {
        const auto &d = v.value.data;
        wchar_t buf[16];
        std::swprintf(buf, 16, L"dword:%08x",
                      static_cast<unsigned>(d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24));
        line += buf;
    } else {
        if (v.value.type == RegType::Binary) {
            line += L"hex:";
        } else {
            wchar_t buf[24];
            std::swprintf(buf, 24, L"hex(%x):", static_cast<unsigned>(type));
            line += buf;
        }
        appendHex(line, line.size(), v.value.data);
    }
    line += L"\r\n";
    appendUtf16le(out, line);
}

// A key's header, its full path, and its values.
void writeKey(std::string &out, const std::wstring &path, const HiveKey &key)
{
    appendUtf16le(out, L"\r\n[" + path + L"]\r\n");
    for (const HiveValue &v : key.values)
        writeValue(out, v);
}

} // namespace

std::wstring rootKeyName(RegRoot root)
{
    return root == RegRoot::LocalMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
}

std::unique_ptr<HiveKey> parseHive(const std::string &bytes, RegRoot root, const std::string &fileName)
{
    return HiveParser(bytes, root, fileName).parse();
}

std::string writeHive(const HiveKey &rootKey, RegRoot root)
{
    std::string bytes("\xFF\xFE", 2);
    appendUtf16le(bytes, std::wstring(kHeader) + L"\r\n");
    // Parents first, children in enumeration order: one path, cut back to the
    // parent's before each key's name is added, so that the work is no more than
    // what is written however deep the keys are.
    std::wstring path = rootKeyName(root);
    std::vector<std::pair<const HiveKey *, std::size_t>> pending; // a key, its parent's path length
    const auto writeWithChildrenPending = [&](const HiveKey &key) {
        writeKey(bytes, path, key);
        const std::vector<const HiveKey *> children = key.children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, path.size());
    };
    writeWithChildrenPending(rootKey);
    while (!pending.empty()) {
        const auto [key, parentLength] = pending.back();
        pending.pop_back();
        path.resize(parentLength);
        path += L'\\';
        path += key->name;
        writeWithChildrenPending(*key);
    }
    appendUtf16le(bytes, L"\r\n");
    return bytes;
}
