// The file-system object family over std::filesystem and the mount table.
#include "support/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "support/gbk_text.h"
#include "support/iconv_converter.h"
#include "support/native_path.h"
#include "support/text_routines.h"

namespace yelian {

namespace fs = std::filesystem;
using namespace yelian::literals;

namespace {

FsObjectRef refTo(fs::path path) {
    return std::make_shared<fs::path>(std::move(path));
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool existsAt(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool endsWithSeparator(std::string_view path) {
    return !path.empty() && path.back() == kPathSeparator;
}

// The path without separators at its end; a root stays as it is.
std::string_view trimSeparators(std::string_view path) {
    while (path.size() > 1 && endsWithSeparator(path)) path.remove_suffix(1);
    return path;
}

// A target that ends in the separator names the folder to put the source into.
fs::path targetFor(const fs::path& source, std::string_view target) {
    fs::path native = toNativePath(target);
    if (endsWithSeparator(target)) native /= source.filename();
    return native;
}

// Both names one object: a rename between them only changes the case or nothing at all.
bool sameObject(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool moveObject(const fs::path& source, std::string_view targetText,
                bool (*present)(const fs::path&)) {
    const fs::path target = targetFor(source, targetText);
    const bool sameName = equalIgnoringCase(source.native(), target.native());
    if (sameName && sameObject(source, target)) {
        std::error_code error;
        fs::rename(source, target, error);
        return !error;
    }
    // rename() would replace an existing target without a word; a move never overwrites.
    if (existsAt(target) || !present(source)) return false;
    std::error_code error;
    fs::rename(source, target, error);
    if (error == std::errc::cross_device_link) {
        error.clear();
        fs::copy(source, target, fs::copy_options::recursive, error);
        if (!error) fs::remove_all(source, error);
    }
    return !present(source) && present(target);
}

bool copyObject(const fs::path& source, std::string_view targetText, bool overwrite,
                bool (*present)(const fs::path&)) {
    if (!present(source)) return false;
    const fs::path target = targetFor(source, targetText);
    std::error_code error;
    const auto existing = overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    if (isFolder(source)) {
        fs::copy(source, target, fs::copy_options::recursive | existing, error);
    } else {
        fs::copy_file(source, target, existing, error);
    }
    // A refused overwrite leaves both in place, which is no copy.
    return !error && present(source) && present(target);
}

struct Mount {
    fs::path point;
    std::string source;
    std::string type;
};

// The mount table's fields escape blanks and backslashes as octal ("\040").
std::string unescapeMountField(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<Mount> mounts() {
    std::vector<Mount> result;
    std::ifstream table("/proc/self/mounts");
    std::string source;
    std::string point;
    std::string type;
    std::string rest;
    while (table >> source >> point >> type && std::getline(table, rest)) {
        Mount mount{unescapeMountField(point), unescapeMountField(source), type};
        // A later mount on the same point hides the earlier one.
        std::erase_if(result, [&](const Mount& m) { return m.point == mount.point; });
        result.push_back(std::move(mount));
    }
    return result;
}

// The mount that holds an absolute path: the longest mount point that is a prefix of it.
std::optional<Mount> mountHolding(const fs::path& path) {
    const fs::path absolute = fs::absolute(path).lexically_normal();
    std::optional<Mount> best;
    std::size_t bestDepth = 0;
    for (Mount& mount : mounts()) {
        const auto [pointEnd, pathAt] =
            std::mismatch(mount.point.begin(), mount.point.end(), absolute.begin(), absolute.end());
        if (pointEnd != mount.point.end()) continue;
        const auto depth = static_cast<std::size_t>(std::distance(mount.point.begin(), pointEnd));
        if (!best || depth >= bestDepth) {
            bestDepth = depth;
            best = std::move(mount);
        }
    }
    return best;
}

std::optional<Mount> mountAt(const fs::path& point) {
    for (Mount& mount : mounts()) {
        if (mount.point == point) return std::move(mount);
    }
    return std::nullopt;
}

FileDateTime fromTimespec(const struct timespec& time) {
    return FileDateTime(std::chrono::duration_cast<FileDateTime::duration>(
        std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
}

std::optional<struct stat> statOf(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info;
}

}  // namespace

// ---- folders and files

std::string FsItem::path() const {
    return object_ ? fromNativePath(*object_) : std::string();
}

std::string FsItem::name() const {
    return object_ ? fromNativePath(object_->filename()) : std::string();
}

bool FsItem::setName(std::string_view name) {
    if (!object_ || name.empty() || name.find(kPathSeparator) != std::string_view::npos) {
        return false;
    }
    const fs::path target = object_->parent_path() / toNativePath(name);
    if (existsAt(target) && !sameObject(*object_, target)) return false;
    std::error_code error;
    fs::rename(*object_, target, error);
    if (error) return false;
    *object_ = target;
    return true;
}

DriveItem FsItem::drive() const {
    DriveItem drive;
    if (!object_) return drive;
    if (const auto mount = mountHolding(*object_)) drive.attach(refTo(mount->point));
    return drive;
}

FolderItem FsItem::parentFolder() const {
    FolderItem parent;
    if (!object_) return parent;
    const fs::path folder = fs::absolute(*object_).lexically_normal().parent_path();
    if (folder != *object_ && isFolder(folder)) parent.attach(refTo(folder));
    return parent;
}

int FsItem::attributes() const {
    if (!object_) return 0;
    std::error_code error;
    const fs::file_status link = fs::symlink_status(*object_, error);
    const fs::file_status target = fs::status(*object_, error);
    int bits = 0;
    if ((target.permissions() & fs::perms::owner_write) == fs::perms::none) {
        bits |= kAttributeReadOnly;
    }
    if (object_->filename().native().starts_with('.')) bits |= kAttributeHidden;
    if (fs::is_directory(target)) bits |= kAttributeDirectory;
    if (fs::is_symlink(link)) bits |= kAttributeAlias;
    return bits;
}

bool FsItem::setAttributes(int attributes) {
    if (!object_) return false;
    constexpr auto kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    std::error_code error;
    if (attributes & kAttributeReadOnly) {
        fs::permissions(*object_, kWrite, fs::perm_options::remove, error);
    } else {
        fs::permissions(*object_, fs::perms::owner_write, fs::perm_options::add, error);
    }
    return !error;
}

std::optional<FileDateTime> FsItem::dateCreated() const {
    if (!object_) return std::nullopt;
    struct statx info {};
    if (::statx(AT_FDCWD, object_->c_str(), 0, STATX_BTIME, &info) != 0 ||
        (info.stx_mask & STATX_BTIME) == 0) {
        return std::nullopt;
    }
    return FileDateTime(std::chrono::duration_cast<FileDateTime::duration>(
        std::chrono::seconds(info.stx_btime.tv_sec) +
        std::chrono::nanoseconds(info.stx_btime.tv_nsec)));
}

std::optional<FileDateTime> FsItem::dateLastModified() const {
    if (!object_) return std::nullopt;
    const auto info = statOf(*object_);
    if (!info) return std::nullopt;
    return fromTimespec(info->st_mtim);
}

std::optional<FileDateTime> FsItem::dateLastAccessed() const {
    if (!object_) return std::nullopt;
    const auto info = statOf(*object_);
    if (!info) return std::nullopt;
    return fromTimespec(info->st_atim);
}

std::string FsItem::typeName() const {
    if (!object_) return {};
    if (isFolder(*object_)) return "文件夹"_gbk;
    std::string extension = FileSystem().extensionName(name());
    if (extension.empty()) return "文件"_gbk;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    return extension + " " + "文件"_gbk;
}

std::uintmax_t FsItem::size() const {
    if (!object_) return 0;
    std::error_code error;
    if (!isFolder(*object_)) {
        const std::uintmax_t bytes = fs::file_size(*object_, error);
        return error ? 0 : bytes;
    }
    std::uintmax_t total = 0;
    for (fs::recursive_directory_iterator it(*object_, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        if (it->is_regular_file(entryError)) {
            const std::uintmax_t bytes = it->file_size(entryError);
            if (!entryError) total += bytes;
        }
    }
    return total;
}

bool FsItem::remove(bool force) {
    if (!object_) return false;
    const std::string self = path();
    FileSystem files;
    return isFolder(*object_) ? files.deleteFolder(self, force) : files.deleteFile(self, force);
}

bool FsItem::copy(std::string_view target, bool overwrite) {
    if (!object_) return false;
    return copyObject(*object_, target, overwrite, isFolder(*object_) ? &isFolder : &isFile);
}

bool FsItem::move(std::string_view target) {
    if (!object_) return false;
    const fs::path destination = targetFor(*object_, target);
    if (!moveObject(*object_, target, isFolder(*object_) ? &isFolder : &isFile)) return false;
    *object_ = destination;
    return true;
}

bool FolderItem::isRootFolder() const {
    return object_ &&
           fs::absolute(*object_).lexically_normal() == fs::absolute(*object_).root_path();
}

FsCollection FolderItem::subFolders() const {
    return {FsCollection::Kind::SubFolders, object_ ? *object_ : fs::path(),
            object_ && isFolder(*object_)};
}

FsCollection FolderItem::files() const {
    return {FsCollection::Kind::Files, object_ ? *object_ : fs::path(),
            object_ && isFolder(*object_)};
}

TextStreamItem FolderItem::createTextFile(std::string_view name, bool overwrite,
                                          bool unicode) const {
    if (!object_) return {};
    return FileSystem().createTextFile(FileSystem().buildPath(path(), name), overwrite, unicode);
}

TextStreamItem FileItem::openAsTextStream(IoMode mode, StreamFormat format) const {
    if (!object_) return {};
    return FileSystem().openTextFile(path(), mode, false, format);
}

// ---- drives

std::string DriveItem::path() const {
    return object_ ? fromNativePath(*object_) : std::string();
}

std::string DriveItem::shareName() const {
    if (!object_) return {};
    const auto mount = mountAt(*object_);
    return mount && driveType() == DriveType::Network ? fromNativePath(mount->source)
                                                      : std::string();
}

DriveType DriveItem::driveType() const {
    if (!object_) return DriveType::Unknown;
    const auto mount = mountAt(*object_);
    if (!mount) return DriveType::Unknown;
    const std::string& type = mount->type;
    if (type.starts_with("nfs") || type == "cifs" || type == "smb3" || type == "smbfs" ||
        type.starts_with("fuse.sshfs") || type == "9p") {
        return DriveType::Network;
    }
    if (type == "tmpfs" || type == "ramfs") return DriveType::RamDisk;
    if (type == "iso9660" || type == "udf") return DriveType::CdRom;
    return DriveType::Fixed;
}

FolderItem DriveItem::rootFolder() const {
    FolderItem root;
    if (object_) root.attach(refTo(*object_));
    return root;
}

double DriveItem::availableSpace() const {
    std::error_code error;
    return object_ ? static_cast<double>(fs::space(*object_, error).available) : 0;
}

double DriveItem::freeSpace() const {
    std::error_code error;
    return object_ ? static_cast<double>(fs::space(*object_, error).free) : 0;
}

double DriveItem::totalSize() const {
    std::error_code error;
    return object_ ? static_cast<double>(fs::space(*object_, error).capacity) : 0;
}

std::string DriveItem::fileSystem() const {
    if (!object_) return {};
    const auto mount = mountAt(*object_);
    return mount ? mount->type : std::string();
}

std::int64_t DriveItem::serialNumber() const {
    struct statvfs info {};
    if (!object_ || ::statvfs(object_->c_str(), &info) != 0) return 0;
    return static_cast<std::int64_t>(info.f_fsid);
}

bool DriveItem::isReady() const {
    return object_ && isFolder(*object_);
}

// ---- text streams

struct TextStreamItem::State {
    fs::path path;
    IoMode mode = IoMode::ForReading;
    bool unicode = false;
    bool open = true;
    // Reading: the whole text (GBK), loaded on the first read, and the read position.
    bool loaded = false;
    std::string text;
    std::size_t position = 0;
    std::ofstream out;
    int line = 1;
    int column = 1;

    void load() {
        if (loaded) return;
        loaded = true;
        std::ifstream in(path, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!unicode) {
            text = std::move(bytes);
            return;
        }
        const std::size_t start = bytes.starts_with("\xFF\xFE") ? 2 : 0;
        IconvConverter toGbk("GB18030", "UTF-16LE");
        toGbk.append(bytes.data() + start, bytes.size() - start, text);
    }

    bool reading() {
        if (!open || mode != IoMode::ForReading) return false;
        load();
        return true;
    }

    // Moves past one character and keeps line and column.
    void advance(std::string_view chars) {
        for (std::size_t i = 0; i < chars.size(); i += charLengthAt(chars, i)) {
            if (chars[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
    }

    bool put(std::string_view gbk) {
        if (!open || mode == IoMode::ForReading || !out) return false;
        std::string bytes;
        if (unicode) {
            IconvConverter toUtf16("UTF-16LE", "GB18030");
            toUtf16.append(gbk.data(), gbk.size(), bytes);
        } else {
            bytes = std::string(gbk);
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        advance(gbk);
        return static_cast<bool>(out);
    }
};

int TextStreamItem::line() const {
    return state_ ? state_->line : 0;
}
int TextStreamItem::column() const {
    return state_ ? state_->column : 0;
}

bool TextStreamItem::atEndOfStream() const {
    if (!state_ || !state_->reading()) return true;
    return state_->position >= state_->text.size();
}

bool TextStreamItem::atEndOfLine() const {
    if (atEndOfStream()) return true;
    const char next = state_->text[state_->position];
    return next == '\r' || next == '\n';
}

std::string TextStreamItem::read(int count) {
    if (!state_ || !state_->reading()) return {};
    const std::string_view text = state_->text;
    std::size_t end = state_->position;
    for (int i = 0; i < count && end < text.size(); ++i) end += charLengthAt(text, end);
    std::string chars(text.substr(state_->position, end - state_->position));
    state_->position = end;
    state_->advance(chars);
    return chars;
}

std::string TextStreamItem::readLine() {
    if (!state_ || !state_->reading()) return {};
    const std::string_view text = state_->text;
    std::size_t end = text.find('\n', state_->position);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view lineText = text.substr(state_->position, end - state_->position);
    if (lineText.ends_with('\r')) lineText.remove_suffix(1);
    std::string result(lineText);
    state_->advance(text.substr(state_->position, next - state_->position));
    state_->position = next;
    return result;
}

std::string TextStreamItem::readAll() {
    if (!state_ || !state_->reading()) return {};
    return read(static_cast<int>(std::min<std::size_t>(state_->text.size(), 0x7FFFFFFF)));
}

bool TextStreamItem::write(std::string_view text) {
    return state_ && state_->put(text);
}

bool TextStreamItem::writeLine(std::string_view text) {
    return state_ && state_->put(std::string(text) + "\r\n");
}

bool TextStreamItem::writeBlankLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += "\r\n";
    return state_ && state_->put(lines);
}

void TextStreamItem::close() {
    if (!state_) return;
    state_->open = false;
    if (state_->out.is_open()) state_->out.close();
}

// ---- enumeration

bool CollectionEnumerator::begin(const FsCollection& collection) {
    release();
    cursor_ = 0;
    if (collection.kind == FsCollection::Kind::Drives) {
        std::vector<fs::path> points;
        for (Mount& mount : mounts()) points.push_back(std::move(mount.point));
        entries_ = std::move(points);
        return true;
    }
    if (!collection.valid) return false;
    std::error_code error;
    fs::directory_iterator it(collection.folder, error);
    if (error) return false;
    std::vector<fs::path> entries;
    const bool wantFolders = collection.kind == FsCollection::Kind::SubFolders;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        std::error_code kindError;
        const bool folder = it->is_directory(kindError);
        const bool file = it->is_regular_file(kindError);
        if (wantFolders ? folder : file) entries.push_back(it->path());
        if (error) break;
    }
    entries_ = std::move(entries);
    return true;
}

std::optional<FsObjectRef> CollectionEnumerator::next() {
    if (!entries_ || cursor_ >= entries_->size()) return std::nullopt;
    return refTo((*entries_)[cursor_++]);
}

bool CollectionEnumerator::reset() {
    return rawReset() == Result::Ok;
}

bool CollectionEnumerator::skip(int count) {
    return rawSkip(count) == Result::Ok;
}

CollectionEnumerator::Fetched CollectionEnumerator::rawNext(int count) {
    Fetched fetched;
    if (!entries_) return fetched;
    for (int i = 0; i < count; ++i) {
        auto item = next();
        if (!item) break;
        fetched.items.push_back(std::move(*item));
    }
    fetched.result = std::ssize(fetched.items) == count ? Result::Ok : Result::False;
    return fetched;
}

CollectionEnumerator::Result CollectionEnumerator::rawSkip(int count) {
    if (!entries_) return Result::NoWalk;
    const std::size_t left = entries_->size() - cursor_;
    const std::size_t wanted = count < 0 ? 0 : static_cast<std::size_t>(count);
    cursor_ += std::min(left, wanted);
    return wanted <= left ? Result::Ok : Result::False;
}

CollectionEnumerator::Result CollectionEnumerator::rawReset() {
    if (!entries_) return Result::NoWalk;
    cursor_ = 0;
    return Result::Ok;
}

// ---- the file system

FsCollection FileSystem::drives() const {
    return {FsCollection::Kind::Drives, {}, true};
}

std::string FileSystem::buildPath(std::string_view path, std::string_view name) const {
    if (path.empty()) return std::string(name);
    if (name.empty()) return std::string(path);
    std::string joined(path);
    const bool pathEnds = endsWithSeparator(path);
    const bool nameStarts = name.front() == kPathSeparator;
    if (pathEnds && nameStarts) name.remove_prefix(1);
    if (!pathEnds && !nameStarts) joined += kPathSeparator;
    joined += name;
    return joined;
}

std::string FileSystem::driveName(std::string_view path) const {
    if (path.empty() || path.front() != kPathSeparator) return {};
    const auto mount = mountHolding(toNativePath(path));
    return mount ? fromNativePath(mount->point) : std::string();
}

std::string FileSystem::parentFolderName(std::string_view path) const {
    std::string parent = folderOf(trimSeparators(path));
    if (endsWithSeparator(parent)) parent.pop_back();
    return parent;
}

std::string FileSystem::fileName(std::string_view path) const {
    const std::string_view trimmed = trimSeparators(path);
    if (trimmed.size() == 1 && endsWithSeparator(trimmed)) return {};
    return fileNameOf(trimmed);
}

std::string FileSystem::baseName(std::string_view path) const {
    return baseNameOf(fileName(path));
}

std::string FileSystem::extensionName(std::string_view path) const {
    const std::string name = fileName(path);
    const std::string base = baseNameOf(name);
    return base.size() < name.size() ? name.substr(base.size() + 1) : std::string();
}

std::string FileSystem::absolutePath(std::string_view path) const {
    std::error_code error;
    const fs::path absolute = fs::absolute(toNativePath(path), error).lexically_normal();
    if (error) return {};
    return std::string(trimSeparators(fromNativePath(absolute)));
}

std::string FileSystem::tempName() const {
    std::random_device device;
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string name = "rad";
    for (int i = 0; i < 5; ++i) name += kDigits[device() % kDigits.size()];
    return name + ".tmp";
}

bool FileSystem::driveExists(std::string_view spec) const {
    if (spec.empty()) return false;
    return mountAt(toNativePath(trimSeparators(spec))).has_value();
}

bool FileSystem::fileExists(std::string_view path) const {
    return !path.empty() && isFile(toNativePath(path));
}

bool FileSystem::folderExists(std::string_view path) const {
    return !path.empty() && isFolder(toNativePath(path));
}

DriveItem FileSystem::getDrive(std::string_view spec) const {
    DriveItem drive;
    if (spec.empty()) return drive;
    if (const auto mount = mountHolding(toNativePath(spec))) drive.attach(refTo(mount->point));
    return drive;
}

FileItem FileSystem::getFile(std::string_view path) const {
    FileItem file;
    if (fileExists(path)) file.attach(refTo(toNativePath(path)));
    return file;
}

FolderItem FileSystem::getFolder(std::string_view path) const {
    FolderItem folder;
    if (folderExists(path)) folder.attach(refTo(toNativePath(trimSeparators(path))));
    return folder;
}

FolderItem FileSystem::specialFolder(int which) const {
    FolderItem folder;
    std::error_code error;
    if (which == 2) {
        const fs::path temp = fs::temp_directory_path(error);
        if (!error) folder.attach(refTo(temp));
    }
    return folder;
}

bool FileSystem::deleteFile(std::string_view path, bool) const {
    // Removing an entry needs only the folder's permission, so force has nothing to add.
    const fs::path native = toNativePath(path);
    std::error_code error;
    if (isFile(native)) fs::remove(native, error);
    return !fileExists(path);
}

bool FileSystem::deleteFolder(std::string_view path, bool) const {
    const fs::path native = toNativePath(path);
    std::error_code error;
    if (isFolder(native)) fs::remove_all(native, error);
    return !folderExists(path);
}

bool FileSystem::moveFile(std::string_view source, std::string_view target) const {
    return moveObject(toNativePath(source), target, &isFile);
}

bool FileSystem::moveFolder(std::string_view source, std::string_view target) const {
    return moveObject(toNativePath(trimSeparators(source)), target, &isFolder);
}

bool FileSystem::copyFile(std::string_view source, std::string_view target, bool overwrite) const {
    return copyObject(toNativePath(source), target, overwrite, &isFile);
}

bool FileSystem::copyFolder(std::string_view source, std::string_view target,
                            bool overwrite) const {
    return copyObject(toNativePath(trimSeparators(source)), target, overwrite, &isFolder);
}

bool FileSystem::createFolder(std::string_view path) const {
    if (path.empty()) return false;
    std::error_code error;
    // An existing folder is not created anew.
    return fs::create_directory(toNativePath(path), error) && !error;
}

TextStreamItem FileSystem::createTextFile(std::string_view path, bool overwrite,
                                          bool unicode) const {
    if (!overwrite && existsAt(toNativePath(path))) return {};
    auto state = std::make_shared<TextStreamItem::State>();
    state->path = toNativePath(path);
    state->mode = IoMode::ForWriting;
    state->unicode = unicode;
    state->out.open(state->path, std::ios::binary | std::ios::trunc);
    if (!state->out) return {};
    if (unicode) state->out.write("\xFF\xFE", 2);
    TextStreamItem stream;
    stream.attach(std::move(state));
    return stream;
}

TextStreamItem FileSystem::openTextFile(std::string_view path, IoMode mode, bool create,
                                        StreamFormat format) const {
    const fs::path native = toNativePath(path);
    const bool exists = isFile(native);
    if (!exists && (!create || mode == IoMode::ForReading)) return {};
    auto state = std::make_shared<TextStreamItem::State>();
    state->path = native;
    state->mode = mode;
    state->unicode = format == StreamFormat::Unicode;
    if (mode != IoMode::ForReading) {
        const bool append = mode == IoMode::ForAppending;
        std::error_code error;
        const bool empty = !exists || fs::file_size(native, error) == 0;
        state->out.open(native, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
        if (!state->out) return {};
        if (state->unicode && (!append || empty)) state->out.write("\xFF\xFE", 2);
    }
    TextStreamItem stream;
    stream.attach(std::move(state));
    return stream;
}

TextStreamItem FileSystem::standardStream(int which, bool unicode) const {
    constexpr std::string_view kStreams[] = {"/dev/stdin", "/dev/stdout", "/dev/stderr"};
    if (which < 0 || which > 2) return {};
    auto state = std::make_shared<TextStreamItem::State>();
    state->path = std::string(kStreams[which]);
    state->unicode = unicode;
    state->mode = which == 0 ? IoMode::ForReading : IoMode::ForAppending;
    if (which != 0) {
        state->out.open(state->path, std::ios::binary | std::ios::app);
        if (!state->out) return {};
    }
    TextStreamItem stream;
    stream.attach(std::move(state));
    return stream;
}

}  // namespace yelian
