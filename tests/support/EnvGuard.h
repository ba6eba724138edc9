#pragma once
// Sets an environment variable for one test and puts back what was there before,
// however the test ends. Plain C++, like RegistryBytes.h.
#include <cstdlib>
#include <optional>
#include <string>

class EnvGuard
{
public:
    EnvGuard(std::string name, const std::string &value) : fName(std::move(name))
    {
        if (const char *old = std::getenv(fName.c_str()))
            fOld = old;
        set(value);
    }
    ~EnvGuard()
    {
        if (fOld)
            set(*fOld);
        else
            unset();
    }
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    void set(const std::string &value) const
    {
#ifdef _WIN32
        _putenv_s(fName.c_str(), value.c_str());
#else
        ::setenv(fName.c_str(), value.c_str(), 1);
#endif
    }
    void unset() const
    {
#ifdef _WIN32
        _putenv_s(fName.c_str(), "");
#else
        ::unsetenv(fName.c_str());
#endif
    }

    std::string fName;
    std::optional<std::string> fOld;
};
