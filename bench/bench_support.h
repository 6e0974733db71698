// What the benchmarks that write files share: a folder of their own under the temporary
// folder (TMPDIR=/dev/shm keeps the disk out of the figures), removed when they end, and the
// desktop that lets no time pass.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "controls/quiet_desktop.h"
#include "support/native_path.h"

namespace yelian {

class BenchFolder {
  public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("yelian-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    // A name inside the folder as internal text.
    std::string file(std::string_view name) const {
        return fromNativePath(path_) + kPathSeparator + std::string(name);
    }

  private:
    std::filesystem::path path_;
};

}  // namespace yelian
