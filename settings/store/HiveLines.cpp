#include "settings/store/HiveLines.h"

#include "settings/store/HiveText.h"
#include "settings/store/RegistryStore.h"

#include <cstdint>

HiveLines::HiveLines(const std::string &bytes, std::string fileName) : fBytes(bytes), fFileName(std::move(fileName))
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        fUtf16 = true;
        fPos = 2;
    } else if (bytes.size() >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        fail(1, "UTF-16 big-endian text is not a hive encoding (UTF-16LE or UTF-8)");
    } else if (bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        fPos = 3;
    }
}

bool HiveLines::next(std::wstring &line)
{
    if (fPos == std::string::npos)
        return false;
    ++fNumber;
    line.clear();
    if (fUtf16) {
        // A last odd byte is half a character, never the start of a line end.
        const std::size_t last = fBytes.size() - (fBytes.size() - fPos) % 2;
        std::size_t end = fPos;
        while (end < last && !(fBytes[end] == '\n' && fBytes[end + 1] == '\0'))
            end += 2;
        line = utf16leToUnits(reinterpret_cast<const std::uint8_t *>(fBytes.data()) + fPos, end - fPos);
        if (end == last && last != fBytes.size())
            fail(fNumber, "the UTF-16 text ends in half a character");
        fPos = end == last ? std::string::npos : end + 2;
    } else {
        const std::size_t end = fBytes.find('\n', fPos);
        const std::size_t bad = utf8ToUnits(fBytes, fPos, end == std::string::npos ? fBytes.size() : end, line);
        if (bad != std::string::npos)
            fail(fNumber, "not UTF-8 or UTF-16LE text (byte at offset " + std::to_string(bad) + ")");
        fPos = end == std::string::npos ? std::string::npos : end + 1;
    }
    if (!line.empty() && line.back() == L'\r')
        line.pop_back();
    if (line.find(L'\0') != std::wstring::npos)
        fail(fNumber, "a NUL character: not UTF-8 or UTF-16LE text with a byte-order mark");
    return true;
}

void HiveLines::fail(std::size_t line, const std::string &message) const
{
    throw RegistryStoreError("Registry hive " + fFileName + ", line " + std::to_string(line) + ": " + message);
}
