// The Win32 registry is the machine's own: nothing to set up; the suite keeps
// below keys of its own and deletes them afterwards.
#include "tests/settings/store/StoreSandbox.h"

#include <windows.h>

namespace {

class Win32StoreSandbox : public StoreSandbox
{
public:
    bool valuesEnumerateInCreationOrder() const override { return !runningUnderWine(); }

private:
    static bool runningUnderWine()
    {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }
};

} // namespace

std::unique_ptr<StoreSandbox> openStoreSandbox()
{
    return std::make_unique<Win32StoreSandbox>();
}
