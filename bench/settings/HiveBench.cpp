// The hive files far beyond a real site's size and shape: reading time and peak
// memory of a large generated hive, and the read and write-back of the shapes
// that a hand-made file can take (many values in one key, deep key paths).
//
//   build-*/bench/settings/hive_bench make <file> <megabytes> [utf8]
//   build-*/bench/settings/hive_bench read <file>
//   build-*/bench/settings/hive_bench shapes [<shape>]
//
// "make" writes a machine hive of about that size, in UTF-16LE as the program and
// the registry editor write it, or in UTF-8. "read" reads and parses it as the
// store does and prints the time and the process's peak memory beside the file's
// size, so run it in a process of its own. "shapes" prints, for each shape (or the
// one named), its size, the time to read it and the size and time of writing it back.
#include "settings/store/HiveFile.h"
#include "settings/store/HiveFormat.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sys/resource.h>

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00\r\n";

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ASCII text in the file's encoding.
std::string encoded(const std::string &ascii, bool utf8)
{
    if (utf8)
        return ascii;
    std::string out;
    out.reserve(ascii.size() * 2);
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

// Keys of ten values each (texts, dwords and binary data, as the settings hold),
// until the file reaches the size.
int makeHive(const char *file, double megabytes, bool utf8)
{
    std::ofstream out(file, std::ios::binary);
    out << (utf8 ? std::string() : std::string("\xFF\xFE", 2)) << encoded(kHeader, utf8);
    const auto target = static_cast<std::uintmax_t>(megabytes * 1024 * 1024);
    std::uintmax_t written = 0;
    for (long k = 0; written < target; ++k) {
        std::string key =
            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Sites\\Site" + std::to_string(k) + "]\r\n";
        for (int v = 0; v < 10; ++v) {
            const std::string name = "\"Value" + std::to_string(v) + "\"=";
            if (v % 3 == 0)
                key += name + "\"C:\\\\Orvo\\\\Data\\\\Site" + std::to_string(k) + ".fdb\"\r\n";
            else if (v % 3 == 1)
                key += name + "hex:00,00,00,00,00,00,f0,3f\r\n";
            else
                key += name + "dword:0000002a\r\n";
        }
        const std::string bytes = encoded(key, utf8);
        out << bytes;
        written += bytes.size();
    }
    return out.good() ? 0 : 1;
}

int readHive(const char *file)
{
    const auto start = std::chrono::steady_clock::now();
    std::string bytes;
    if (!readWholeFile(file, bytes)) {
        std::fprintf(stderr, "no file %s\n", file);
        return 1;
    }
    const std::size_t size = bytes.size();
    auto hive = parseHive(bytes, RegRoot::LocalMachine, file);
    bytes = std::string();
    const double seconds = secondsSince(start);
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    const double peak = usage.ru_maxrss / 1024.0;
    std::printf("file %.1f MB, read in %.2f s, peak memory %.1f MB (%.1f times the file)\n", size / 1048576.0, seconds,
                peak, peak * 1048576.0 / size);
    return 0;
}

struct Shape
{
    const char *name;
    std::function<std::string()> text; // the file's text after its header line, UTF-8
};

std::string deepPath(int depth, std::size_t nameLength)
{
    std::string path = "[HKEY_CURRENT_USER";
    for (int i = 0; i < depth; ++i)
        path += "\\" + std::string(nameLength, static_cast<char>('a' + i % 26));
    return path + "]\r\n";
}

const Shape kShapes[] = {
    {"values-80000-in-one-key",
     [] {
         std::string text = "[HKEY_CURRENT_USER\\SOFTWARE\\Wide]\r\n";
         for (int i = 0; i < 80000; ++i)
             text += "\"Value" + std::to_string(i) + "\"=dword:00000001\r\n";
         return text;
     }},
    {"depth-512-names-of-1", [] { return deepPath(512, 1) + "\"V\"=dword:00000001\r\n"; }},
    {"depth-512-names-of-255", [] { return deepPath(512, 255) + "\"V\"=dword:00000001\r\n"; }},
    {"depth-10000-names-of-1", [] { return deepPath(10000, 1); }},
    {"depth-200000-names-of-1", [] { return deepPath(200000, 1); }},
};

void runShape(const Shape &shape)
{
    const std::string bytes = std::string(kHeader) + shape.text();
    auto start = std::chrono::steady_clock::now();
    try {
        auto hive = parseHive(bytes, RegRoot::CurrentUser, shape.name);
        const double readSeconds = secondsSince(start);
        start = std::chrono::steady_clock::now();
        const std::size_t written = writeHive(*hive, RegRoot::CurrentUser).size();
        std::printf("%-26s file %9.1f KB, read in %.3f s, written back as %9.1f KB in %.3f s\n", shape.name,
                    bytes.size() / 1024.0, readSeconds, written / 1024.0, secondsSince(start));
    } catch (const RegistryStoreError &e) {
        std::printf("%-26s file %9.1f KB, refused in %.3f s: %.120s\n", shape.name, bytes.size() / 1024.0,
                    secondsSince(start), e.what());
    }
}

int usage()
{
    std::fprintf(stderr, "hive_bench make <file> <megabytes> [utf8] | read <file> | shapes [<shape>]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "utf8") == 0)))
        return makeHive(argv[2], std::atof(argv[3]), argc == 5);
    if (command == "read" && argc == 3)
        return readHive(argv[2]);
    if (command != "shapes" || argc > 3)
        return usage();
    for (const Shape &shape : kShapes)
        if (argc == 2 || shape.name == std::string(argv[2]))
            runShape(shape);
    return 0;
}
