// What the hive-file store adds to the shared behaviour: where the files are,
// when they are written, access to the machine hive, and concurrent writers.
#include "settings/store/FileRegistryStore.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HeldFileLock.h"
#include "tests/support/RegistryBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>

extern char **environ;

namespace {

class FileStore : public ::testing::Test
{
protected:
    std::unique_ptr<RegistryKey> create(RegistryStore &store, RegRoot root, const std::wstring &path,
                                        RegAccess access = RegAccess::All)
    {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(store.createKey(root, path, access, key), RegResult::Success);
        return key;
    }

    static std::uint32_t readDword(RegistryKey &key, const std::wstring &name)
    {
        RegValue value;
        EXPECT_EQ(key.readValue(name, value), RegResult::Success);
        EXPECT_EQ(value.data.size(), 4u);
        return value.data.size() == 4 ? value.data[0] | value.data[1] << 8 | value.data[2] << 16 | value.data[3] << 24
                                      : 0;
    }

    static ino_t inodeOf(const std::string &path)
    {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }

    TempFolder folder;
    EnvGuard registry{"PORDANE_REGISTRY_DIR", folder.path()};
    FileRegistryStore store;
};

TEST_F(FileStore, EachRootHasItsOwnHiveFileInTheRegistryFolder)
{
    const Bytes skin = textBytes(L"x");
    create(store, RegRoot::CurrentUser, L"SOFTWARE\\Tollvane\\Orvo")
        ->setValue(L"Skin", RegType::Sz, skin.data(), std::uint32_t(skin.size()));
    const std::string user = readFileBytes(folder.file("HKEY_CURRENT_USER.reg"));
    ASSERT_GT(user.size(), 2u);
    EXPECT_EQ(user.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(user.find(std::string("S\0k\0i\0n\0", 8)), std::string::npos);
    EXPECT_EQ(inodeOf(folder.file("HKEY_LOCAL_MACHINE.reg")), 0u) << "nothing written to the machine hive yet";

    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(store.openKey(RegRoot::LocalMachine, L"", RegAccess::Read, key), RegResult::Success)
        << "the root key exists even without a file";
    create(store, RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo");
    EXPECT_NE(inodeOf(folder.file("HKEY_LOCAL_MACHINE.reg")), 0u);
}

TEST_F(FileStore, AWriteThatChangesNothingLeavesTheFileAlone)
{
    auto key = create(store, RegRoot::CurrentUser, L"SOFTWARE\\Tollvane\\Orvo\\Debug");
    ASSERT_EQ(key->setValue(L"DebugLevel", RegType::Dword, dwordBytes(0).data(), 4), RegResult::Success);
    const std::string hive = folder.file("HKEY_CURRENT_USER.reg");
    const ino_t before = inodeOf(hive);

    create(store, RegRoot::CurrentUser, L"software\\tollvane\\orvo\\debug");
    EXPECT_EQ(key->setValue(L"debuglevel", RegType::Dword, dwordBytes(0).data(), 4), RegResult::Success);
    EXPECT_EQ(inodeOf(hive), before) << "the same value again is no change";

    EXPECT_EQ(key->setValue(L"DebugLevel", RegType::Binary, dwordBytes(0).data(), 4), RegResult::Success);
    EXPECT_NE(inodeOf(hive), before) << "a new type is a change";
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.path().c_str())) {
        while (const dirent *entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}))
        << "no temporary file is left behind";
}

TEST_F(FileStore, AnotherProgramsChangeIsSeenByTheNextRead)
{
    FileRegistryStore other;
    auto mine = create(store, RegRoot::CurrentUser, L"K");
    auto theirs = create(other, RegRoot::CurrentUser, L"K");
    // Same-sized changes in quick succession: only the file's identity tells them apart.
    for (std::uint32_t i = 0; i < 200; ++i) {
        ASSERT_EQ(theirs->setValue(L"N", RegType::Dword, dwordBytes(i).data(), 4), RegResult::Success);
        ASSERT_EQ(readDword(*mine, L"N"), i);
        ASSERT_EQ(mine->setValue(L"N", RegType::Dword, dwordBytes(i + 1000).data(), 4), RegResult::Success);
        ASSERT_EQ(readDword(*theirs, L"N"), i + 1000);
    }

    writeFileBytes(folder.file("HKEY_CURRENT_USER.reg"),
                   "Windows Registry Editor Version 5.00\n\n"
                   "[HKEY_CURRENT_USER\\K]\n\"N\"=dword:00000063\n");
    EXPECT_EQ(readDword(*mine, L"N"), 99u) << "a hive edited by hand, in UTF-8";
}

TEST_F(FileStore, PathsAndNamesTheFormatCannotHoldAreRefused)
{
    std::unique_ptr<RegistryKey> key;
    for (const wchar_t *path : {L"\\SOFTWARE", L"A\\\\B", L"A\\\\", L"Line\nBreak"})
        EXPECT_EQ(store.createKey(RegRoot::CurrentUser, path, RegAccess::All, key), RegResult::InvalidParameter);
    key = create(store, RegRoot::CurrentUser, L"K");
    EXPECT_EQ(key->setValue(L"Line\r\nBreak", RegType::Dword, dwordBytes(1).data(), 4), RegResult::InvalidParameter);
    EXPECT_EQ(key->deleteTree(L""), RegResult::InvalidParameter);
}

TEST_F(FileStore, KeysBeyondTheRegistrysDepthAreRefusedAndTheDeepestReadsBack)
{
    std::wstring deepest = L"SOFTWARE";
    for (int i = 1; i < 512; ++i)
        deepest += L"\\k";
    const Bytes one = dwordBytes(1);
    ASSERT_EQ(create(store, RegRoot::CurrentUser, deepest)->setValue(L"V", RegType::Dword, one.data(), 4),
              RegResult::Success);

    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(store.createKey(RegRoot::CurrentUser, deepest + L"\\k", RegAccess::All, key),
              RegResult::InvalidParameter);
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, deepest + L"\\k", RegAccess::Read, key), RegResult::InvalidParameter);
    EXPECT_EQ(create(store, RegRoot::CurrentUser, L"SOFTWARE")->deleteTree(deepest.substr(9) + L"\\k"),
              RegResult::InvalidParameter);

    FileRegistryStore fresh;
    ASSERT_EQ(fresh.openKey(RegRoot::CurrentUser, deepest, RegAccess::Read, key), RegResult::Success);
    EXPECT_EQ(readDword(*key, L"V"), 1u);
}

// The machine hive is the 32-bit view, where SOFTWARE\WOW6432Node is SOFTWARE
// itself: a key of that name would be written back as one that reads into
// SOFTWARE, and a value in both would make the file unreadable.
TEST_F(FileStore, TheMachineHivesWow6432NodeIsNoKeyOfItsOwnAndTheFileStaysReadable)
{
    const Bytes one = dwordBytes(1), two = dwordBytes(2);
    auto software = create(store, RegRoot::LocalMachine, L"SOFTWARE");
    ASSERT_EQ(software->setValue(L"V", RegType::Dword, one.data(), 4), RegResult::Success);

    std::unique_ptr<RegistryKey> key;
    for (const wchar_t *path :
         {L"SOFTWARE\\WOW6432Node", L"software\\wow6432node\\Tollvane", L"SOFTWARE\\WOW6432Node\\WOW6432Node"}) {
        SCOPED_TRACE(narrow(path));
        EXPECT_EQ(store.createKey(RegRoot::LocalMachine, path, RegAccess::All, key), RegResult::InvalidParameter);
        EXPECT_EQ(store.openKey(RegRoot::LocalMachine, path, RegAccess::Read, key), RegResult::InvalidParameter);
    }
    EXPECT_EQ(software->deleteTree(L"WOW6432Node"), RegResult::InvalidParameter) << "SOFTWARE stays";
    EXPECT_EQ(create(store, RegRoot::LocalMachine, L"")->deleteTree(L"SOFTWARE\\Wow6432Node\\X"),
              RegResult::InvalidParameter);
    // Below another key, and in the user hive, it is a name like any other.
    for (const auto &[root, path] : {std::pair(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\WOW6432Node"),
                                     std::pair(RegRoot::CurrentUser, L"SOFTWARE\\WOW6432Node")})
        ASSERT_EQ(create(store, root, path)->setValue(L"V", RegType::Dword, two.data(), 4), RegResult::Success);
    ASSERT_EQ(create(store, RegRoot::CurrentUser, L"SOFTWARE")->setValue(L"V", RegType::Dword, one.data(), 4),
              RegResult::Success);

    FileRegistryStore fresh;
    for (const auto &[root, path, expected] :
         {std::tuple(RegRoot::LocalMachine, L"SOFTWARE", 1u),
          std::tuple(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\WOW6432Node", 2u),
          std::tuple(RegRoot::CurrentUser, L"SOFTWARE", 1u),
          std::tuple(RegRoot::CurrentUser, L"SOFTWARE\\WOW6432Node", 2u)}) {
        SCOPED_TRACE(narrow(path));
        ASSERT_EQ(fresh.openKey(root, path, RegAccess::Read, key), RegResult::Success);
        EXPECT_EQ(readDword(*key, L"V"), expected);
    }
}

TEST_F(FileStore, AMachineHiveThatCannotBeWrittenIsReadOnly)
{
    create(store, RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo")
        ->setValue(L"Kelloffice", RegType::Dword, dwordBytes(1).data(), 4);
    // Tests run as root, where permission bits stop nothing: a folder in the
    // lock file's place is what no writer can open.
    const std::string lock = folder.file("HKEY_LOCAL_MACHINE.reg.lock");
    ASSERT_EQ(::unlink(lock.c_str()), 0);
    ASSERT_EQ(::mkdir(lock.c_str(), 0755), 0);

    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(store.openKey(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo", RegAccess::All, key),
              RegResult::AccessDenied);
    EXPECT_EQ(store.createKey(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo", RegAccess::All, key),
              RegResult::AccessDenied);
    EXPECT_EQ(store.createKey(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo\\New", RegAccess::Read, key),
              RegResult::AccessDenied);
    ASSERT_EQ(store.createKey(RegRoot::LocalMachine, L"SOFTWARE\\Tollvane\\Orvo", RegAccess::Read, key),
              RegResult::Success);
    EXPECT_EQ(readDword(*key, L"Kelloffice"), 1u);
    create(store, RegRoot::CurrentUser, L"SOFTWARE\\Tollvane\\Orvo");
}

TEST_F(FileStore, ARegistryFolderThatCannotBeMadeDeniesWritesAndReadsAsEmpty)
{
    writeFileBytes(folder.file("plain-file"), "x");
    EnvGuard unmakable("PORDANE_REGISTRY_DIR", folder.file("plain-file/registry"));
    std::unique_ptr<RegistryKey> key;
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
        EXPECT_EQ(store.createKey(root, L"SOFTWARE", RegAccess::All, key), RegResult::AccessDenied);
        EXPECT_EQ(store.openKey(root, L"SOFTWARE", RegAccess::Read, key), RegResult::NotFound);
    }
}

TEST_F(FileStore, AChangeGivesUpOnALockAnotherProgramKeepsAndNamesTheHive)
{
    FileRegistryStore impatient{std::chrono::milliseconds(200)};
    auto key = create(impatient, RegRoot::CurrentUser, L"K");
    const std::string hive = folder.file("HKEY_CURRENT_USER.reg");
    const std::string before = readFileBytes(hive);
    HeldFileLock held(hive + ".lock");

    const std::pair<const char *, std::function<RegResult()>> changes[] = {
        {"new key", [&] { return impatient.createKey(RegRoot::CurrentUser, L"K\\New", RegAccess::All, key); }},
        {"new value", [&] { return key->setValue(L"N", RegType::Dword, dwordBytes(1).data(), 4); }},
    };
    for (const auto &[what, change] : changes) {
        SCOPED_TRACE(what);
        try {
            change();
            ADD_FAILURE() << "the change went through while the lock was held";
        } catch (const RegistryStoreError &e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Registry hive " + hive + " is locked by another program"), std::string::npos)
                << message;
            EXPECT_NE(message.find(hive + ".lock"), std::string::npos) << message;
        }
        EXPECT_EQ(readFileBytes(hive), before);
    }
}

TEST_F(FileStore, AChangeWaitsForALockThatIsLetGo)
{
    FileRegistryStore patient{std::chrono::minutes(1)};
    auto key = create(patient, RegRoot::CurrentUser, L"K");
    HeldFileLock held(folder.file("HKEY_CURRENT_USER.reg.lock"));
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        held.release();
    });
    EXPECT_EQ(key->setValue(L"N", RegType::Dword, dwordBytes(7).data(), 4), RegResult::Success);
    other.join();
    EXPECT_EQ(readDword(*key, L"N"), 7u);
}

TEST_F(FileStore, TwoProcessesWritingAtOnceLoseNothing)
{
    const int count = 150;
    const std::string countText = std::to_string(count);
    pid_t pids[2];
    const char *prefixes[2] = {"first", "second"};
    for (int i = 0; i < 2; ++i) {
        char *argv[] = {const_cast<char *>(HIVE_WRITER), const_cast<char *>(countText.c_str()),
                        const_cast<char *>(prefixes[i]), nullptr};
        ASSERT_EQ(::posix_spawn(&pids[i], HIVE_WRITER, nullptr, nullptr, argv, environ), 0);
    }
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(store.openKey(RegRoot::CurrentUser, L"SOFTWARE\\Race", RegAccess::Read, key), RegResult::Success);
    std::vector<std::wstring> names;
    ASSERT_EQ(key->enumValues(names), RegResult::Success);
    EXPECT_EQ(names.size(), 2u * count);
    for (const char *prefix : prefixes)
        for (int n = 0; n < count; n += 7) {
            const std::string name = prefix + std::to_string(n);
            EXPECT_EQ(readDword(*key, std::wstring(name.begin(), name.end())), std::uint32_t(n)) << name;
        }
}

} // namespace
