// Hive files: each test gets its own PORDANE_REGISTRY_DIR.
#include "tests/settings/store/StoreSandbox.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/TempFolder.h"

namespace {

class FileStoreSandbox : public StoreSandbox
{
private:
    TempFolder fFolder;
    EnvGuard fRegistry{"PORDANE_REGISTRY_DIR", fFolder.path()};
};

} // namespace

std::unique_ptr<StoreSandbox> openStoreSandbox()
{
    return std::make_unique<FileStoreSandbox>();
}
