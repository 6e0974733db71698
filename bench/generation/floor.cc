// The floor of the generation benchmark: the least a generation run must do, with nothing of
// the program in it. It lists the files directly inside INPUT_FOLDER, reads each one once,
// whole, and writes its bytes to a file of the same name in OUTPUT_FOLDER, on one thread.
// A run of yelian over the same folder is compared with this one's time.
//
// Usage: generation_floor INPUT_FOLDER OUTPUT_FOLDER
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool readWhole(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: generation_floor INPUT_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    const fs::path input = argv[1];
    const fs::path output = argv[2];
    std::error_code error;
    fs::create_directories(output, error);
    if (error) {
        std::cerr << "generation_floor: cannot create " << output << ": " << error.message()
                  << '\n';
        return 1;
    }

    // Sorted, as yelian lists a folder, so both read the files in the same order.
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(input, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    if (error) {
        std::cerr << "generation_floor: cannot list " << input << ": " << error.message() << '\n';
        return 1;
    }
    std::sort(files.begin(), files.end());

    std::string bytes;
    std::size_t failed = 0;
    for (const fs::path& file : files) {
        if (!readWhole(file, bytes) || !writeWhole(output / file.filename(), bytes)) ++failed;
    }
    std::printf("%zu files, %zu failed\n", files.size(), failed);
    return failed == 0 ? 0 : 1;
}
