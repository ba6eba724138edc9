#pragma once
// A registry of its own for each test where the implementation allows it: the
// hive files get a fresh folder. The Win32 registry is shared, so the suite
// also keeps every test below a key of its own.
#include <memory>

class StoreSandbox
{
public:
    virtual ~StoreSandbox() = default;

    // Windows and the hive files list values in the order they were created;
    // Wine's registry lists them sorted by name.
    virtual bool valuesEnumerateInCreationOrder() const { return true; }
};

std::unique_ptr<StoreSandbox> openStoreSandbox();
