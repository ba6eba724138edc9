#pragma once
// The hive files on disk: where they live, reading them, and replacing them
// whole under an advisory lock so that concurrent writers lose nothing and a
// crash never leaves half a file. POSIX only; Windows uses its own registry.
#include "settings/store/RegistryStore.h"

#include <chrono>
#include <string>
#include <sys/types.h>

// $PORDANE_REGISTRY_DIR/<root>.reg when that variable names a folder, else the
// machine hive in a system folder and the user hive in the user's config folder.
std::string hiveFilePath(RegRoot root);

// What tells one version of a file from another. Every write through this
// store moves the modification time forward, so an unchanged identity means
// unchanged content.
struct FileIdentity
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modified = 0; // nanoseconds
    long long changed = 0;  // nanoseconds
    bool operator==(const FileIdentity &other) const;
};

FileIdentity identityOf(const std::string &path);

// The file's bytes; false when there is no such file. Throws
// RegistryStoreError when the file exists but cannot be read.
bool readWholeFile(const std::string &path, std::string &bytes);

// Whether this process may change the hive: its folder exists or can be made
// and the lock file and the hive can be opened for writing.
bool hiveWritable(const std::string &path);

// The exclusive advisory lock of a hive, held for the object's life. Throws
// RegistryStoreError naming the hive when another program still holds it
// after `wait`; locked() is false when the lock file cannot be opened.
class HiveLock
{
public:
    HiveLock(const std::string &hivePath, std::chrono::milliseconds wait);
    ~HiveLock();
    HiveLock(const HiveLock &) = delete;
    HiveLock &operator=(const HiveLock &) = delete;
    bool locked() const { return fFd >= 0; }

private:
    int fFd = -1;
};

// Writes the bytes to a temporary file beside the hive and renames it over
// the hive; the hive is untouched on failure. Call with the lock held.
bool replaceFile(const std::string &path, const std::string &bytes);
