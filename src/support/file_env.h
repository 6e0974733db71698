// The file-system calls the settings store and the page generation make, behind one small
// interface, so that tests can put a full disk, a write cut off half-way, a failing rename or
// a file that vanishes after it was listed, or a folder that cannot be made under them
// deterministically. PosixFileEnv
// (posix_file.h) is the real one; a caller that is given none uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/expected.h"

namespace yelian {

enum class FileKind { Missing, Regular, Folder, Other };

struct FileStatus {
    FileKind kind = FileKind::Missing;
    std::uintmax_t size = 0;
    // The permission bits, to give a replacement the mode of the file it replaces.
    unsigned mode = 0;
};

class FileEnv {
  public:
    virtual ~FileEnv() = default;

    // The whole regular file, or why not: missing, not a regular file, unreadable or larger
    // than limit. Never blocks on a FIFO or device.
    virtual Expected<std::string> readFile(const std::filesystem::path& path,
                                           std::size_t limit) = 0;
    // Creates or replaces the regular file in place. A symbolic link, FIFO, device or folder
    // at the path is refused and left alone. Fails when any byte did not reach the file.
    virtual Expected<void> writeFile(const std::filesystem::path& path, std::string_view bytes) = 0;
    // Creates the file exclusively (a leftover at the name is removed first, a link planted
    // there never followed), gives it the mode when one is given and writes the bytes. The
    // open descriptor belongs to the caller, who may lock it before renaming the file.
    virtual Expected<int> writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                                       std::optional<unsigned> mode) = 0;
    virtual Expected<void> renameFile(const std::filesystem::path& from,
                                      const std::filesystem::path& to) = 0;
    // Removes a file or link (never what a link points to); a missing one is no failure.
    virtual void removeFile(const std::filesystem::path& path) = 0;
    // The names of a folder's entries, unsorted, without "." and "..".
    virtual Expected<std::vector<std::string>> listFolder(const std::filesystem::path& folder) = 0;
    // What the path names, without following a final link.
    virtual FileStatus status(const std::filesystem::path& path) = 0;
    // What a final link leads to (what a read of the path would open).
    virtual FileStatus targetStatus(const std::filesystem::path& path) = 0;
    // Creates one folder; a folder already there is no failure, anything else in the way is.
    virtual Expected<void> makeFolder(const std::filesystem::path& path) = 0;

    // Replaces the file by one holding exactly the bytes: a new temporary file beside it,
    // renamed over it. On failure the old file is left whole and the temporary removed.
    Expected<void> replaceFile(const std::filesystem::path& path, std::string_view bytes);
};

// The temporary file a replacement of the path is written to first.
std::filesystem::path temporaryPathOf(const std::filesystem::path& path);

// The mode a replacement of the path takes over: the old file's, when there is one.
std::optional<unsigned> replacementModeOf(FileEnv& files, const std::filesystem::path& path);

}  // namespace yelian
