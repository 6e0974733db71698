// Whole-file reads and writes over POSIX descriptors: one open, one size query on the open
// file and plain read/write calls, for the many small files a run reads and writes.
//
// PosixFileEnv puts these calls behind the FileEnv seam.
//
// Every open by path is non-blocking and checked on the open descriptor: a FIFO, a device or
// a folder where a file is expected is refused at once instead of blocking the program.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/expected.h"
#include "support/file_env.h"

namespace yelian {

// A descriptor closed with the object (-1 holds none).
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();
    int get() const { return fd_; }
    // Gives the descriptor up without closing it.
    int release();

  private:
    int fd_;
};

// The largest article or page the program reads: beyond it a file is refused with a message
// rather than risking the process on memory (a run holds a few copies of each text).
inline constexpr std::size_t kMaxArticleSize = std::size_t{64} << 20;

// Writes all of the bytes, going on after interrupted or partial writes.
bool writeAllBytes(int fd, std::string_view bytes);

// The whole content of the regular file open at fd, or nothing when it is not a regular file,
// cannot be read or is larger than limit.
std::optional<std::string> readAllBytes(int fd, std::size_t limit);

// Opens the path for reading without blocking and without following a FIFO's or device's
// promise of data: the descriptor of a regular file, or the reason it is refused.
Expected<int> openRegularFile(const std::filesystem::path& path);

// The whole file, or why not: missing, not a regular file, unreadable or larger than limit.
Expected<std::string> readRegularFile(const std::filesystem::path& path,
                                      std::size_t limit = std::numeric_limits<std::size_t>::max());

// readRegularFile without the reason.
std::optional<std::string> readWholeFile(
    const std::filesystem::path& path, std::size_t limit = std::numeric_limits<std::size_t>::max());

// Creates or replaces the regular file at the path and writes the bytes. A symbolic link, FIFO,
// device or folder at the path is refused and left alone. Fails when any step failed, closing
// included (a full disk may only show there).
Expected<void> writeRegularFile(const std::filesystem::path& path, std::string_view bytes);

// writeRegularFile without the reason.
bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// The real file system. Holds no state: every user may have its own.
class PosixFileEnv : public FileEnv {
  public:
    Expected<std::string> readFile(const std::filesystem::path& path, std::size_t limit) override;
    Expected<void> writeFile(const std::filesystem::path& path, std::string_view bytes) override;
    Expected<int> writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                               std::optional<unsigned> mode) override;
    Expected<void> renameFile(const std::filesystem::path& from,
                              const std::filesystem::path& to) override;
    void removeFile(const std::filesystem::path& path) override;
    Expected<std::vector<std::string>> listFolder(const std::filesystem::path& folder) override;
    FileStatus status(const std::filesystem::path& path) override;
    FileStatus targetStatus(const std::filesystem::path& path) override;
    Expected<void> makeFolder(const std::filesystem::path& path) override;
};

}  // namespace yelian
