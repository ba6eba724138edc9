#include "settings/store/HiveFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
}

bool makeFolders(const std::string &folder)
{
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

long long nanoseconds(const struct timespec &t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

struct timespec timespecOf(long long ns)
{
    struct timespec t;
    t.tv_sec = static_cast<time_t>(ns / 1000000000LL);
    t.tv_nsec = static_cast<long>(ns % 1000000000LL);
    return t;
}

bool writeAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string lockPathOf(const std::string &hivePath)
{
    return hivePath + ".lock";
}

} // namespace

std::string hiveFilePath(RegRoot root)
{
    const std::string file = root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE.reg" : "HKEY_CURRENT_USER.reg";
    const char *dir = std::getenv("PORDANE_REGISTRY_DIR");
    if (dir && *dir)
        return std::string(dir) + "/" + file;
    if (root == RegRoot::LocalMachine)
        return "/var/lib/pordane/registry/" + file;
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return std::string(config) + "/pordane/" + file;
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/pordane/" + file;
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && modified == other.modified && changed == other.changed;
}

FileIdentity identityOf(const std::string &path)
{
    FileIdentity id;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = nanoseconds(st.st_mtim);
    id.changed = nanoseconds(st.st_ctim);
    return id;
}

bool readWholeFile(const std::string &path, std::string &bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        throw RegistryStoreError("Registry hive " + path + " cannot be opened: " + std::strerror(errno));
    }
    // Read into room for the whole file: grown as it is read, the text would
    // briefly need twice its size and more.
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw RegistryStoreError("Registry hive " + path + " cannot be read: " + std::strerror(error));
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool hiveWritable(const std::string &path)
{
    const std::string folder = folderOf(path);
    if (!makeFolders(folder) || ::access(folder.c_str(), W_OK) != 0)
        return false;
    const int fd = ::open(lockPathOf(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

HiveLock::HiveLock(const std::string &hivePath, std::chrono::milliseconds wait)
{
    const std::string lockPath = lockPathOf(hivePath);
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fFd = fd;
            return;
        }
        if (errno == EINTR)
            continue;
        const bool heldByOther = errno == EWOULDBLOCK;
        if (!heldByOther || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            if (heldByOther)
                throw RegistryStoreError("Registry hive " + hivePath + " is locked by another program, which holds "
                                         + lockPath + ": close that program, or try again once it has ended.");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

HiveLock::~HiveLock()
{
    if (fFd >= 0)
        ::close(fFd); // releases the lock
}

bool replaceFile(const std::string &path, const std::string &bytes)
{
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat old;
    const bool hadFile = ::stat(path.c_str(), &old) == 0;
    if (hadFile)
        ::fchmod(fd, old.st_mode & 07777);
    // Move the modification time strictly forward, so that a reader can trust
    // an unchanged file identity even for two writes within one clock tick.
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    long long stamp = nanoseconds(now);
    if (hadFile && stamp <= nanoseconds(old.st_mtim))
        stamp = nanoseconds(old.st_mtim) + 1;
    const struct timespec times[2] = {timespecOf(stamp), timespecOf(stamp)};
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::futimens(fd, times) == 0;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
