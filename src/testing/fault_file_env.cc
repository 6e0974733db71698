// The failing file system: each fault is carried out on the real files, so that what a
// failure leaves behind (half a file, a temporary beside the old one) is there to be checked.
#include "testing/fault_file_env.h"

#include <unistd.h>

namespace yelian {
namespace {

Error noSpace() {
    return Error{"no space left on device"};
}

}  // namespace

std::string_view FaultFileEnv::fitting(std::string_view bytes) {
    if (!freeBytes_) return bytes;
    const std::size_t fits = std::min(*freeBytes_, bytes.size());
    *freeBytes_ -= fits;
    return bytes.substr(0, fits);
}

Expected<std::string> FaultFileEnv::readFile(const std::filesystem::path& path, std::size_t limit) {
    if (vanishing_.erase(path) > 0) real_.removeFile(path);
    return real_.readFile(path, limit);
}

Expected<void> FaultFileEnv::writeFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::string_view part = fitting(bytes);
    Expected<void> written = real_.writeFile(path, part);
    if (!written || part.size() == bytes.size()) return written;
    ++failedWrites_;
    return noSpace();
}

Expected<int> FaultFileEnv::writeNewFile(const std::filesystem::path& path, std::string_view bytes,
                                         std::optional<unsigned> mode) {
    const std::string_view part = fitting(bytes);
    Expected<int> written = real_.writeNewFile(path, part, mode);
    if (!written || part.size() == bytes.size()) return written;
    // As the real one does when its write fails: the half-written file is removed.
    ::close(*written);
    real_.removeFile(path);
    ++failedWrites_;
    return noSpace();
}

Expected<void> FaultFileEnv::renameFile(const std::filesystem::path& from,
                                        const std::filesystem::path& to) {
    if (renamesFail_) return Error{"rename failed"};
    return real_.renameFile(from, to);
}

Expected<void> FaultFileEnv::makeFolder(const std::filesystem::path& path) {
    if (foldersFail_) return Error{"read-only file system"};
    return real_.makeFolder(path);
}

}  // namespace yelian
