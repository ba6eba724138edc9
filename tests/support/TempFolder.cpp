#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <ftw.h>
#include <stdexcept>
#include <unistd.h>

TempFolder::TempFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pordane-hive-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    fPath = pattern;
}

TempFolder::~TempFolder()
{
    ::nftw(
        fPath.c_str(), [](const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}
