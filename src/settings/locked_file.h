// Whole-file access for the settings store: a file held under an exclusive advisory lock for
// as long as it is open, and replaced only by complete new versions (temporary file, rename), so
// that a reader or a process killed at any moment sees a whole file. Not thread-safe; one
// LockedFile per file per process.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace yelian {

// Files larger than this are not loaded (and therefore never replaced): a settings file of
// this size is not one the store wrote.
inline constexpr std::size_t kMaxSettingsFileSize = 64 * 1024 * 1024;

// Replaces the file by one holding exactly the bytes: writes a temporary file beside it and
// renames it over the file. False (and the old file left as it was) on failure.
bool replaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

class LockedFile {
  public:
    enum class OpenResult {
        // Opened (created when missing, never truncated) and locked.
        Locked,
        // The file or its folder cannot be written.
        NotWritable,
        // Another process (or another LockedFile) holds the lock.
        InUse,
    };

    LockedFile() = default;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile() { close(); }

    OpenResult open(const std::filesystem::path& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // The whole locked file, or nothing when unreadable or larger than the limit.
    std::optional<std::string> read(std::size_t limit) const;
    // Replaces the file as replaceWholeFile does and keeps holding the lock on the new file.
    bool replace(std::string_view bytes);

  private:
    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace yelian
