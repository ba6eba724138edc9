#pragma once
// Whole files as bytes, for fixtures. Plain C++, like RegistryBytes.h.
#include <string>

// The file's bytes; empty when it cannot be read.
std::string readFileBytes(const std::string &path);

// Replaces the file's content; a file that cannot be written fails the test.
void writeFileBytes(const std::string &path, const std::string &bytes);
