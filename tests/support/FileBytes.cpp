#include "tests/support/FileBytes.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

std::string readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in)
        bytes << in.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out)
        ADD_FAILURE() << "cannot write " << path;
}
