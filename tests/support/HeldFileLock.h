#pragma once
// An exclusive flock on a file, held as another program holds it until released
// or destroyed. flock locks belong to an open file, so a lock taken here stops
// this process's own registry store too. Plain POSIX, like TempFolder.h.
#include <string>

class HeldFileLock
{
public:
    explicit HeldFileLock(const std::string &file);
    ~HeldFileLock();
    HeldFileLock(const HeldFileLock &) = delete;
    HeldFileLock &operator=(const HeldFileLock &) = delete;

    void release();

private:
    int fFd = -1;
};
