// The entry of a fuzz target built without libFuzzer: replays the files it
// is given (each file, or every file of a folder) so every build compiles the
// targets and the tests run their kept inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

bool replay(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    // A block of exactly the input's size, as libFuzzer passes it, so the
    // sanitizers see any read past the end.
    const std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    LLVMFuzzerTestOneInput(copy.get(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        std::error_code error;
        std::vector<fs::path> files;
        if (fs::is_directory(path, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
                if (entry.is_regular_file(error)) files.push_back(entry.path());
            }
            // Folder order is the file system's; sorted, a failure names the
            // same input on every machine.
            std::sort(files.begin(), files.end());
        } else if (fs::is_regular_file(path, error)) {
            files.push_back(path);
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 1;
        }
        for (const fs::path& file : files) {
            // Named before it runs: a crashing input is the last name shown.
            std::printf("%s\n", file.c_str());
            std::fflush(stdout);
            if (!replay(file)) {
                std::fprintf(stderr, "%s: cannot read\n", file.c_str());
                return 1;
            }
            ++inputs;
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return 0;
}
