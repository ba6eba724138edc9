// Hive files: each test gets its own PORDANE_REGISTRY_DIR.
#include "tests/settings/store/StoreSandbox.h"
#include "tests/settings/store/TempFolder.h"

#include <cstdlib>

namespace {

class FileStoreSandbox : public StoreSandbox
{
public:
    FileStoreSandbox() { ::setenv("PORDANE_REGISTRY_DIR", fFolder.path().c_str(), 1); }
    ~FileStoreSandbox() override { ::unsetenv("PORDANE_REGISTRY_DIR"); }

private:
    TempFolder fFolder;
};

} // namespace

std::unique_ptr<StoreSandbox> openStoreSandbox()
{
    return std::make_unique<FileStoreSandbox>();
}
