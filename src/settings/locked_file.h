// Whole-file access for the settings store: a file held under an exclusive advisory lock for
// as long as it is open, and replaced only by complete new versions (temporary file, rename), so
// that a reader or a process killed at any moment sees a whole file. The replacement's writes
// and rename go through a FileEnv; the lock is always the real one. Not thread-safe; one
// LockedFile per file per process.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "support/file_env.h"

namespace yelian {

// Files larger than this are not loaded (and therefore never replaced): a settings file of
// this size is not one the store wrote.
inline constexpr std::size_t kMaxSettingsFileSize = 64 * 1024 * 1024;

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

    explicit LockedFile(FileEnv& files) : files_(files) {}
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile() { close(); }

    OpenResult open(const std::filesystem::path& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // The whole locked file, or nothing when unreadable or larger than the limit.
    std::optional<std::string> read(std::size_t limit) const;
    // Replaces the file as FileEnv::replaceFile does and keeps holding the lock on the new
    // file. False, with the old file whole and still held, on failure.
    bool replace(std::string_view bytes);

  private:
    FileEnv& files_;
    std::filesystem::path path_;
    int fd_ = -1;
};

}  // namespace yelian
