#include "settings/store/HiveFormat.h"

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

std::size_t lineOfOffset(const std::wstring &text, std::size_t offset)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == L'\n')
            ++line;
    return line;
}

class HiveParser
{
public:
    HiveParser(RegRoot root, std::string fileName) : fRoot(root), fFileName(std::move(fileName)) {}

    std::unique_ptr<HiveKey> parse(const std::string &bytes)
    {
        splitLines(decode(bytes));
        auto hive = std::make_unique<HiveKey>(rootKeyName(fRoot));
        if (fLines.empty() || trimRight(fLines[0]) != kHeader)
            fail(1, "the first line is not \"Windows Registry Editor Version 5.00\"");
        HiveKey *current = nullptr;
        for (fIndex = 1; fIndex < fLines.size(); ++fIndex) {
            const std::wstring line = trimLeft(fLines[fIndex]);
            if (line.empty() || line[0] == L';')
                continue;
            if (line[0] == L'[')
                current = &keyOfHeader(*hive, trimRight(line));
            else if (!current)
                fail(fIndex + 1, "a value before the first key");
            else
                parseValue(*current, line);
        }
        return hive;
    }

private:
    [[noreturn]] void fail(std::size_t line, const std::string &message) const
    {
        throw RegistryStoreError("Registry hive " + fFileName + ", line " + std::to_string(line) + ": " + message);
    }

    std::wstring decode(const std::string &bytes) const
    {
        const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
        std::wstring text;
        if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
            text = utf16leToUnits(data + 2, bytes.size() - 2);
            if (bytes.size() % 2 != 0)
                fail(lineOfOffset(text, text.size()), "the UTF-16 text ends in half a character");
        } else if (bytes.size() >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
            fail(1, "UTF-16 big-endian text is not a hive encoding (UTF-16LE or UTF-8)");
        } else {
            const bool bom = bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
            const std::size_t bad = utf8ToUnits(bytes, bom ? 3 : 0, text);
            if (bad != std::string::npos)
                fail(lineOfOffset(text, text.size()),
                     "not UTF-8 or UTF-16LE text (byte at offset " + std::to_string(bad) + ")");
        }
        const auto nul = text.find(L'\0');
        if (nul != std::wstring::npos)
            fail(lineOfOffset(text, nul), "a NUL character: not UTF-8 or UTF-16LE text with a byte-order mark");
        return text;
    }

    void splitLines(const std::wstring &text)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            auto end = text.find(L'\n', start);
            if (end == std::wstring::npos)
                end = text.size();
            std::wstring line = text.substr(start, end - start);
            if (!line.empty() && line.back() == L'\r')
                line.pop_back();
            fLines.push_back(std::move(line));
            start = end + 1;
        }
    }

    HiveKey &keyOfHeader(HiveKey &hive, const std::wstring &line)
    {
        const std::size_t lineNo = fIndex + 1;
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
        // The machine hive holds the 32-bit view that the program uses on Windows; the
        // 64-bit registry editor exports that view's keys below SOFTWARE\WOW6432Node.
        if (fRoot == RegRoot::LocalMachine && parts.size() >= 2 && sameName(parts[0], L"SOFTWARE")
            && sameName(parts[1], L"WOW6432Node"))
            parts.erase(parts.begin() + 1);
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
                    fail(fIndex + 1, "a backslash that escapes neither \\ nor \"");
                ++i;
            } else {
                text.push_back(c);
            }
        }
        fail(fIndex + 1, "a text without its closing quote");
    }

    void parseValue(HiveKey &key, const std::wstring &line)
    {
        const std::size_t lineNo = fIndex + 1;
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
        if (key.value(name))
            fail(lineNo, "the value \"" + unitsToUtf8(name) + "\" appears twice in its key");

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
        key.values.push_back({name, std::move(value)});
    }

    std::wstring joinContinuation(std::wstring data)
    {
        const std::size_t lineNo = fIndex + 1;
        while (!data.empty() && data.back() == L'\\') {
            data.pop_back();
            const std::wstring next = ++fIndex < fLines.size() ? trimRight(trimLeft(fLines[fIndex])) : L"";
            if (next.empty())
                fail(lineNo, "the value breaks off after its last \",\\\"");
            data += next;
        }
        return data;
    }

    void parseData(const std::wstring &data, RegValue &value)
    {
        const std::size_t lineNo = fIndex + 1;
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
                fail(fIndex + 1, "hex data with \"" + unitsToUtf8(token) + "\" where a byte belongs");
            bytes.push_back(static_cast<std::uint8_t>(byte));
            if (comma == std::wstring::npos)
                return;
            start = comma + 1;
        }
    }

    RegRoot fRoot;
    std::string fFileName;
    std::vector<std::wstring> fLines;
    std::size_t fIndex = 0;
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

void writeValue(std::wstring &out, const HiveValue &v)
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
    out += line;
    out += L"\r\n";
}

void writeKey(std::wstring &out, const HiveKey &key, const std::wstring &path)
{
    out += L"\r\n[" + path + L"]\r\n";
    for (const HiveValue &v : key.values)
        writeValue(out, v);
    for (const HiveKey *child : key.children())
        writeKey(out, *child, path + L'\\' + child->name);
}

} // namespace

std::wstring rootKeyName(RegRoot root)
{
    return root == RegRoot::LocalMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
}

std::unique_ptr<HiveKey> parseHive(const std::string &bytes, RegRoot root, const std::string &fileName)
{
    return HiveParser(root, fileName).parse(bytes);
}

std::string writeHive(const HiveKey &rootKey, RegRoot root)
{
    std::wstring text = kHeader;
    text += L"\r\n";
    writeKey(text, rootKey, rootKeyName(root));
    text += L"\r\n";
    const auto units = unitsToUtf16le(text);
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(units.data()), units.size());
    return bytes;
}
