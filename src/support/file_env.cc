// The replacement through a temporary file, built on the calls of any FileEnv, so that a
// failing environment fails it exactly where the real one could.
#include "support/file_env.h"

#include "support/posix_file.h"

namespace yelian {

std::filesystem::path temporaryPathOf(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    return temporary;
}

std::optional<unsigned> replacementModeOf(FileEnv& files, const std::filesystem::path& path) {
    const FileStatus old = files.status(path);
    if (old.kind != FileKind::Regular) return std::nullopt;
    return old.mode;
}

Expected<void> FileEnv::replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path temporary = temporaryPathOf(path);
    Expected<int> written = writeNewFile(temporary, bytes, replacementModeOf(*this, path));
    if (!written) return written.error();
    FileDescriptor closedAtEnd(*written);
    if (Expected<void> renamed = renameFile(temporary, path); !renamed) {
        removeFile(temporary);
        return renamed.error();
    }
    return {};
}

}  // namespace yelian
