#include "bench/client/ProcessCpu.h"

#include <windows.h>

double processCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const auto ms = [](const FILETIME &t) {
        return double((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime)
            / 1e4; // 100 ns units
    };
    return ms(kernel) + ms(user);
}
