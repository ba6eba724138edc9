#pragma once
// The lines of a hive file, decoded from its bytes one at a time, so that
// reading a file takes little memory beyond the file and the keys it holds.
// UTF-16LE after its byte-order mark, else UTF-8 with or without one.
#include <cstddef>
#include <string>

class HiveLines
{
public:
    // Keeps a reference to the bytes. Throws RegistryStoreError for UTF-16
    // big-endian text, which is no hive encoding.
    HiveLines(const std::string &bytes, std::string fileName);

    // The next line without its line end; false after the last one. Throws
    // RegistryStoreError naming the line when its text is neither UTF-8 nor
    // UTF-16LE, or holds a NUL.
    bool next(std::wstring &line);
    // The number of the line last read, from 1.
    std::size_t number() const { return fNumber; }

    // Throws RegistryStoreError naming the file, the line and what is wrong.
    [[noreturn]] void fail(std::size_t line, const std::string &message) const;

private:
    const std::string &fBytes;
    std::string fFileName;
    bool fUtf16 = false;
    std::size_t fPos = 0; // the next line's first byte, std::string::npos after the last line
    std::size_t fNumber = 0;
};
