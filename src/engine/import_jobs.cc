// Folder listings for the import jobs: by the filter rules of the left click, or pattern by
// pattern for the right click.
#include "engine/import_jobs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "support/file_system.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/regex_object.h"
#include "support/text_routines.h"

namespace yelian {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters lowered; the bytes of double-byte characters stay as they are.
std::string lowerAsciiLetters(std::string_view text) {
    std::string lowered(text);
    for (std::size_t i = 0; i < lowered.size(); i += charLengthAt(lowered, i)) {
        lowered[i] = lowerAscii(lowered[i]);
    }
    return lowered;
}

std::string withSeparator(std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
    return path;
}

// How listFolderFiles decides whether a name matches its filter.
class FileNameFilter {
  public:
    explicit FileNameFilter(std::string_view filter) {
        if (filter.empty() || filter == "*" || filter == "*.*") {
            rule_ = Rule::Everything;
        } else if (filter.starts_with("*.") && filter.find('*', 1) == std::string_view::npos) {
            rule_ = Rule::Suffix;
            suffix_ = lowerAsciiLetters(filter.substr(1));
        } else {
            rule_ = Rule::Wildcard;
            pattern_.create(RegexObject::wildcardToPattern(filter), true, true, false);
        }
    }

    bool matches(std::string_view name) {
        switch (rule_) {
            case Rule::Everything:
                return true;
            case Rule::Suffix:
                return lowerAsciiLetters(name).ends_with(suffix_);
            case Rule::Wildcard: {
                const std::string lowered = lowerAsciiLetters(name);
                return pattern_.execute(lowered) > 0 && pattern_.matchValue(1) == lowered;
            }
        }
        return false;
    }

  private:
    enum class Rule { Everything, Suffix, Wildcard };
    Rule rule_ = Rule::Everything;
    std::string suffix_;
    RegexObject pattern_;
};

}  // namespace

std::vector<std::string> listFolderFiles(std::string_view folder, std::string_view filter,
                                         ListingOrder order) {
    const std::string prefix = withSeparator(folder);
    FileNameFilter matcher(filter);
    std::vector<std::string> names;
    const FileSystem files;
    const FolderItem listed = files.getFolder(folder);
    CollectionEnumerator walk;
    if (walk.begin(listed.items(false))) {
        while (auto object = walk.next()) {
            FileItem file;
            file.attach(std::move(*object));
            std::string name = file.name();
            if (matcher.matches(name)) names.push_back(std::move(name));
        }
    }
    if (order == ListingOrder::ByName) std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) paths.push_back(prefix + name);
    return paths;
}

bool wildcardMatches(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") return true;
    // Greedy walk that returns to the last "*" on a mismatch: linear for one star, and never
    // worse than name length times pattern length.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = ++p;
            resumeAt = n;
            continue;
        }
        const std::size_t nameChar = charLengthAt(name, n);
        if (p < pattern.size()) {
            const std::size_t patternChar = charLengthAt(pattern, p);
            const bool same =
                pattern[p] == '?' ||
                (patternChar == nameChar &&
                 (nameChar == 1 ? lowerAscii(pattern[p]) == lowerAscii(name[n])
                                : pattern.substr(p, patternChar) == name.substr(n, nameChar)));
            if (same) {
                n += nameChar;
                p += patternChar;
                continue;
            }
        }
        if (starAt == std::string_view::npos) return false;
        resumeAt += charLengthAt(name, resumeAt);
        n = resumeAt;
        p = starAt;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> listFolderFilesByPattern(DesktopServices& desktop, FileEnv& files,
                                                  std::string_view folder,
                                                  std::string_view filter) {
    const std::string prefix = withSeparator(folder);
    const std::filesystem::path native = toNativePath(folder);
    const Expected<std::vector<std::string>> entries = files.listFolder(native);
    if (!entries) return {};
    // Folders (also through a link) are never articles; what else a name holds is the
    // reading's business, which counts a file it cannot read as a failed page.
    std::vector<std::string> names;
    for (const std::string& entry : *entries) {
        if (files.targetStatus(native / entry).kind != FileKind::Folder) {
            names.push_back(fromNativePath(std::filesystem::path(entry)));
        }
    }
    std::vector<std::string> paths;
    for (const std::string& pattern : splitText(filter.empty() ? "*.*" : filter, "|")) {
        // A pattern with a folder in it would reach into a subfolder; those are never listed.
        if (pattern.empty() || pattern.find(kPathSeparator) != std::string::npos) continue;
        for (const std::string& name : names) {
            if (!wildcardMatches(name, pattern)) continue;
            paths.push_back(prefix + name);
            desktop.processPendingEvents();
        }
    }
    return paths;
}

}  // namespace yelian
