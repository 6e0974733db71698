// Locked whole-file access over POSIX descriptors: flock for the lock, rename for atomic
// replacement.
#include "settings/locked_file.h"

#include "support/posix_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace yelian {
namespace {

// Attempts at locking the file at the path: another instance may replace it between our open
// and our lock, and then the descriptor we locked is no longer the file at the path.
constexpr int kLockAttempts = 8;

bool folderWritable(const std::filesystem::path& path) {
    const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    return ::access(folder.c_str(), W_OK) == 0;
}

bool sameFile(int fd, const std::filesystem::path& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

LockedFile::OpenResult LockedFile::open(const std::filesystem::path& link) {
    close();
    // A settings file that is a symbolic link is replaced where it really lives, so that the
    // link survives.
    std::error_code noTarget;
    std::filesystem::path path = std::filesystem::canonical(link, noTarget);
    if (noTarget) path = link;
    if (!folderWritable(path)) return OpenResult::NotWritable;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        // Non-blocking: a FIFO at the settings file's name must not hang the start.
        FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
        if (fd.get() < 0) return OpenResult::NotWritable;
        struct stat status {};
        if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return OpenResult::NotWritable;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) return OpenResult::InUse;
            return OpenResult::NotWritable;
        }
        if (sameFile(fd.get(), path)) {
            path_ = path;
            fd_ = fd.release();
            return OpenResult::Locked;
        }
    }
    return OpenResult::InUse;
}

void LockedFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::string> LockedFile::read(std::size_t limit) const {
    if (fd_ < 0) return std::nullopt;
    return readAllBytes(fd_, limit);
}

bool LockedFile::replace(std::string_view bytes) {
    if (fd_ < 0) return false;
    const std::filesystem::path temporary = temporaryPathOf(path_);
    Expected<int> written = files_.writeNewFile(temporary, bytes, replacementModeOf(files_, path_));
    if (!written) return false;
    FileDescriptor fresh(*written);
    // The new file is locked before it takes the name, so that no other instance can open
    // and lock it in between.
    if (::flock(fresh.get(), LOCK_EX | LOCK_NB) != 0 || !files_.renameFile(temporary, path_)) {
        files_.removeFile(temporary);
        return false;
    }
    ::close(fd_);
    fd_ = fresh.release();
    return true;
}

}  // namespace yelian
