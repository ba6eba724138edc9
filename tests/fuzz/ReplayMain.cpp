// Runs a fuzz harness once over every file of the folders (or the files) it is given,
// in name order, as the fuzzer starts on its corpus. A harness that finds a fault
// aborts, so the run fails; the file being run is printed first to say which.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const fs::path &place)
{
    std::vector<fs::path> files;
    if (fs::is_directory(place)) {
        for (const fs::directory_entry &entry : fs::directory_iterator(place))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    } else {
        files.push_back(place);
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> files = inputsOf(argv[i]);
        if (files.empty()) {
            std::cerr << "no inputs in " << argv[i] << "\n";
            return 1;
        }
        for (const fs::path &file : files) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::cerr << "cannot read " << file << "\n";
                return 1;
            }
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::cout << file.filename().string() << std::endl;
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
            ++count;
        }
    }
    std::cout << count << " inputs run" << std::endl;
    return count > 0 ? 0 : 1;
}
