// A file system for tests that fails on purpose: a disk with only so many bytes free (a write
// that does not fit writes what fits and fails, as a full disk does half-way through a file),
// renames that fail, and files that vanish between being listed and being read. Everything
// else goes to the real file system underneath, so the files a test inspects are real.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "support/posix_file.h"

namespace yelian {

class FaultFileEnv : public FileEnv {
  public:
    // From now on the disk has this many bytes free; every write uses some up.
    void setFreeBytes(std::size_t bytes) { freeBytes_ = bytes; }
    void failRenames() { renamesFail_ = true; }
    // No folder can be made any more (a read-only or full disk).
    void failFolders() { foldersFail_ = true; }
    // The file is there when its folder is listed, and gone when it is read.
    void vanishBeforeRead(const std::filesystem::path& path) { vanishing_.insert(path); }

    int failedWrites() const { return failedWrites_; }

    Expected<std::string> readFile(const std::filesystem::path& path, std::size_t limit) override;
    Expected<void> writeFile(const std::filesystem::path& path, std::string_view bytes) override;
    Expected<int> writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                               std::optional<unsigned> mode) override;
    Expected<void> renameFile(const std::filesystem::path& from,
                              const std::filesystem::path& to) override;
    void removeFile(const std::filesystem::path& path) override { real_.removeFile(path); }
    Expected<std::vector<std::string>> listFolder(const std::filesystem::path& folder) override {
        return real_.listFolder(folder);
    }
    FileStatus status(const std::filesystem::path& path) override { return real_.status(path); }
    FileStatus targetStatus(const std::filesystem::path& path) override {
        return real_.targetStatus(path);
    }
    Expected<void> makeFolder(const std::filesystem::path& path) override;

  private:
    // The part of the bytes that still fits on the disk, using up the space.
    std::string_view fitting(std::string_view bytes);

    PosixFileEnv real_;
    std::optional<std::size_t> freeBytes_;
    bool renamesFail_ = false;
    bool foldersFail_ = false;
    std::set<std::filesystem::path> vanishing_;
    int failedWrites_ = 0;
};

}  // namespace yelian
