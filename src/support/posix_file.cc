#include "support/posix_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/gbk_text.h"
#include "support/number_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

Error diskFull() {
    return Error{"写入失败（磁盘已满或无法写入）"_gbk};
}

Error notRegular() {
    return Error{"不是普通文件"_gbk};
}

Error tooLarge(std::size_t limit) {
    return Error{"文件太大（超过 "_gbk + integerToText(static_cast<std::int64_t>(limit >> 20)) +
                 " MB）"_gbk};
}

bool isRegular(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> readAllBytes(int fd, std::size_t limit) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    if (static_cast<std::size_t>(status.st_size) > limit) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;  // shrunk while reading
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

Expected<int> openRegularFile(const std::filesystem::path& path) {
    // Without O_NONBLOCK the open of a FIFO waits for a writer that may never come.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return Error{errno == ENOENT ? "文件不存在"_gbk : "文件无法打开"_gbk};
    }
    if (!isRegular(fd.get())) return notRegular();
    return fd.release();
}

Expected<std::string> readRegularFile(const std::filesystem::path& path, std::size_t limit) {
    Expected<int> opened = openRegularFile(path);
    if (!opened) return opened.error();
    FileDescriptor fd(*opened);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) return Error{"文件无法读取"_gbk};
    if (static_cast<std::size_t>(status.st_size) > limit) return tooLarge(limit);
    std::optional<std::string> bytes = readAllBytes(fd.get(), limit);
    if (!bytes) return Error{"文件无法读取"_gbk};
    return std::move(*bytes);
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t limit) {
    Expected<std::string> bytes = readRegularFile(path, limit);
    if (!bytes) return std::nullopt;
    return std::move(*bytes);
}

Expected<void> writeRegularFile(const std::filesystem::path& path, std::string_view bytes) {
    // No O_TRUNC at the open: only a file known to be regular is emptied. O_NOFOLLOW keeps a
    // link planted at the name from sending the bytes elsewhere.
    FileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        if (errno == ELOOP) return Error{"是符号链接，不会写入"_gbk};
        if (errno == ENXIO || errno == EISDIR) return notRegular();
        return Error{"文件无法创建"_gbk};
    }
    if (!isRegular(fd.get())) return notRegular();
    if (::ftruncate(fd.get(), 0) != 0 || !writeAllBytes(fd.get(), bytes)) {
        return diskFull();
    }
    if (::close(fd.release()) != 0) return diskFull();
    return {};
}

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    return writeRegularFile(path, bytes).hasValue();
}

Expected<std::string> PosixFileEnv::readFile(const std::filesystem::path& path, std::size_t limit) {
    return readRegularFile(path, limit);
}

Expected<void> PosixFileEnv::writeFile(const std::filesystem::path& path, std::string_view bytes) {
    return writeRegularFile(path, bytes);
}

// Exclusive creation, so that nothing planted at the name (a link to another file, a FIFO)
// receives the bytes. A leftover of a run that was killed is removed first; unlink removes a
// link itself, never what it points to.
//
// The bytes go straight to the kernel (no user-space buffer), which is all that a process
// killed after a rename needs. There is no fsync: one per write would cost milliseconds, and
// a window saves a hundred keys one by one; against power loss the rename-over-existing
// ordering of the common file systems (ext4 auto_da_alloc, btrfs, xfs) keeps old or new.
Expected<int> PosixFileEnv::writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                                         std::optional<unsigned> mode) {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int created = ::open(path.c_str(), kFlags, 0666);
    if (created < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) {
        created = ::open(path.c_str(), kFlags, 0666);
    }
    FileDescriptor fd(created);
    if (fd.get() < 0) return Error{"文件无法创建"_gbk};
    if (mode) ::fchmod(fd.get(), *mode & 07777);
    if (!writeAllBytes(fd.get(), bytes)) {
        ::unlink(path.c_str());
        return diskFull();
    }
    return fd.release();
}

Expected<void> PosixFileEnv::renameFile(const std::filesystem::path& from,
                                        const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Error{"无法改名"_gbk};
    return {};
}

void PosixFileEnv::removeFile(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

Expected<std::vector<std::string>> PosixFileEnv::listFolder(const std::filesystem::path& folder) {
    DIR* stream = ::opendir(folder.c_str());
    if (!stream) return Error{"文件夹无法打开"_gbk};
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(stream);
    return names;
}

namespace {

FileStatus statusOf(const struct stat& info) {
    const FileKind kind = S_ISREG(info.st_mode)   ? FileKind::Regular
                          : S_ISDIR(info.st_mode) ? FileKind::Folder
                                                  : FileKind::Other;
    return {kind, static_cast<std::uintmax_t>(info.st_size),
            static_cast<unsigned>(info.st_mode & 07777)};
}

}  // namespace

FileStatus PosixFileEnv::status(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? statusOf(info) : FileStatus{};
}

FileStatus PosixFileEnv::targetStatus(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? statusOf(info) : FileStatus{};
}

Expected<void> PosixFileEnv::makeFolder(const std::filesystem::path& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return {};
    // Another process may have made it meanwhile; only a folder will do.
    if (errno == EEXIST && targetStatus(path).kind == FileKind::Folder) return {};
    return Error{"无法创建文件夹"_gbk};
}

}  // namespace yelian
