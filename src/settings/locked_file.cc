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

std::filesystem::path temporaryPathOf(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    return temporary;
}

// Creates the temporary file exclusively, so that nothing planted at its name (a link to
// another file, a FIFO) receives the settings. A leftover of a run that was killed is
// removed first; unlink removes a link itself, never what it points to.
int openFresh(const std::filesystem::path& temporary) {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), kFlags, 0666);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0) {
        fd = ::open(temporary.c_str(), kFlags, 0666);
    }
    return fd;
}

// Writes the bytes into a fresh temporary file beside the path, with the mode of the file it
// is going to replace. The open temporary file, or -1.
//
// The bytes go straight to the kernel (no user-space buffer), which is all that a process
// killed after the rename needs. There is no fsync: one per write would cost milliseconds,
// and a window saves a hundred keys one by one; against power loss the rename-over-existing
// ordering of the common file systems (ext4 auto_da_alloc, btrfs, xfs) keeps old or new.
int writeTemporary(const std::filesystem::path& path, std::string_view bytes) {
    const auto temporary = temporaryPathOf(path);
    FileDescriptor fd(openFresh(temporary));
    if (fd.get() < 0) return -1;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
    if (!writeAllBytes(fd.get(), bytes)) {
        ::unlink(temporary.c_str());
        return -1;
    }
    return fd.release();
}

bool renameTemporary(const std::filesystem::path& path) {
    const auto temporary = temporaryPathOf(path);
    if (::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

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

bool replaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    FileDescriptor fd(writeTemporary(path, bytes));
    return fd.get() >= 0 && renameTemporary(path);
}

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
    FileDescriptor fresh(writeTemporary(path_, bytes));
    if (fresh.get() < 0) return false;
    // The new file is locked before it takes the name, so that no other instance can open
    // and lock it in between.
    if (::flock(fresh.get(), LOCK_EX | LOCK_NB) != 0) {
        ::unlink(temporaryPathOf(path_).c_str());
        return false;
    }
    if (!renameTemporary(path_)) return false;
    ::close(fd_);
    fd_ = fresh.release();
    return true;
}

}  // namespace yelian
