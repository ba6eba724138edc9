#pragma once
// The bytes the registry stores for a value, as tests write them out by hand.
// Plain C++: the registry store's tests run in the Windows cross build too.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// UTF-16LE with its terminating NUL, as a text value holds it.
Bytes textBytes(const std::wstring &text);

// Little-endian, as a DWORD value holds it.
Bytes dwordBytes(std::uint32_t n);

// A key or value name fit for a failure message: ASCII kept, anything else as '?'.
std::string narrow(const std::wstring &text);
