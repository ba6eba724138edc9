#include "tests/support/RegistryBytes.h"

Bytes textBytes(const std::wstring &text)
{
    Bytes bytes;
    for (wchar_t c : text + L'\0') {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return bytes;
}

Bytes dwordBytes(std::uint32_t n)
{
    return {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
}

std::string narrow(const std::wstring &text)
{
    std::string result;
    for (wchar_t c : text)
        result += c >= 0 && c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}
