#include "tests/support/HeldFileLock.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

HeldFileLock::HeldFileLock(const std::string &file) : fFd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
{
    if (fFd < 0 || ::flock(fFd, LOCK_EX) != 0) {
        release();
        throw std::runtime_error("cannot lock " + file);
    }
}

HeldFileLock::~HeldFileLock()
{
    release();
}

void HeldFileLock::release()
{
    if (fFd >= 0)
        ::close(fFd);
    fFd = -1;
}
