// Whole-file reads and writes over POSIX descriptors: one open, one size query on the open
// file and plain read/write calls, for the many small files a run reads and writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

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

// Writes all of the bytes, going on after interrupted or partial writes.
bool writeAllBytes(int fd, std::string_view bytes);

// The whole content of the regular file open at fd, or nothing when it is not a regular file,
// cannot be read or is larger than limit.
std::optional<std::string> readAllBytes(int fd, std::size_t limit);

// The whole file, or nothing when it is missing, not a regular file, unreadable or larger
// than the limit.
std::optional<std::string> readWholeFile(
    const std::filesystem::path& path, std::size_t limit = std::numeric_limits<std::size_t>::max());

// Creates or truncates the file and writes the bytes; false when any step failed, closing
// included (a full disk may only show there).
bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace yelian
