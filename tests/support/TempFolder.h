#pragma once
// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes. Plain POSIX, for the hive-file tests.
#include <string>

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &path() const { return fPath; }
    std::string file(const std::string &name) const { return fPath + "/" + name; }

private:
    std::string fPath;
};
