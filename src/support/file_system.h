// The file-system object family: the file system, its folders, files, drives and text streams
// as small objects with methods, and an enumerator over their collections. The folder import
// uses it to list a folder's files; the rest is there so the family is whole.
//
// Paths and names are GBK text on the caller's side and UTF-8 on disk (native_path.h). Each
// wrapper refers to one object on disk; copies share that reference, so a rename made through
// one copy is seen by the others. No operation throws: a failing one gives an empty or false
// result, and the operations that change the disk report by checking the disk afterwards.
//
// On this platform a drive is the file system mounted at a mount point: its path is the
// mount point, it has no letter, and a path's drive is the mount that holds it.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yelian {

using FileDateTime = std::chrono::system_clock::time_point;

// Attribute bits as the scripting file objects number them.
enum FileAttribute : int {
    kAttributeReadOnly = 1,
    kAttributeHidden = 2,
    kAttributeDirectory = 16,
    kAttributeArchive = 32,
    kAttributeAlias = 1024,
};

// Drive types as the scripting drive object numbers them.
enum class DriveType : int {
    Unknown = 0,
    Removable = 1,
    Fixed = 2,
    Network = 3,
    CdRom = 4,
    RamDisk = 5
};

// Text stream modes and formats.
enum class IoMode : int { ForReading = 1, ForWriting = 2, ForAppending = 8 };
enum class StreamFormat : int { UseDefault = -2, Unicode = -1, Ascii = 0 };

// What a wrapper refers to: one object on disk by its native path. Shared between copies.
using FsObjectRef = std::shared_ptr<std::filesystem::path>;

// A collection handed out by a folder or the file system, walked with CollectionEnumerator.
struct FsCollection {
    enum class Kind { Files, SubFolders, Drives };
    Kind kind = Kind::Files;
    // The folder whose entries are listed; unused for drives.
    std::filesystem::path folder;
    // False when the object that was asked for it was empty or gone.
    bool valid = false;
};

class DriveItem;
class FolderItem;
class TextStreamItem;

// Operations shared by folders and files.
class FsItem {
  public:
    void attach(FsObjectRef object) { object_ = std::move(object); }
    bool isEmpty() const { return !object_; }

    std::string path() const;
    std::string name() const;
    // Renames the object inside its folder; false when that failed.
    bool setName(std::string_view name);
    // No short names here: the path and the name themselves.
    std::string shortPath() const { return path(); }
    std::string shortName() const { return name(); }
    DriveItem drive() const;
    FolderItem parentFolder() const;
    int attributes() const;
    // Only the read-only bit can be changed: it takes the write permission away or back.
    bool setAttributes(int attributes);
    // Empty when the file system does not record that date.
    std::optional<FileDateTime> dateCreated() const;
    std::optional<FileDateTime> dateLastModified() const;
    std::optional<FileDateTime> dateLastAccessed() const;
    std::string typeName() const;
    // The size in bytes; for a folder the sum of everything inside it.
    std::uintmax_t size() const;
    bool remove(bool force);
    bool copy(std::string_view target, bool overwrite);
    bool move(std::string_view target);

  protected:
    FsObjectRef object_;
};

class FolderItem : public FsItem {
  public:
    bool isRootFolder() const;
    FsCollection subFolders() const;
    FsCollection files() const;
    FsCollection items(bool subFolders) const { return subFolders ? this->subFolders() : files(); }
    TextStreamItem createTextFile(std::string_view name, bool overwrite, bool unicode) const;
};

class FileItem : public FsItem {
  public:
    TextStreamItem openAsTextStream(IoMode mode, StreamFormat format) const;
};

class DriveItem {
  public:
    void attach(FsObjectRef mountPoint) { object_ = std::move(mountPoint); }
    bool isEmpty() const { return !object_; }

    std::string path() const;
    // Mount points have no drive letters.
    std::string driveLetter() const { return {}; }
    // The remote source of a network file system, else empty.
    std::string shareName() const;
    DriveType driveType() const;
    FolderItem rootFolder() const;
    double availableSpace() const;
    double freeSpace() const;
    double totalSize() const;
    // Volume labels are not read here: empty, and setting one is refused.
    std::string volumeName() const { return {}; }
    bool setVolumeName(std::string_view) { return false; }
    // The file system type ("ext4", "nfs" ...).
    std::string fileSystem() const;
    std::int64_t serialNumber() const;
    bool isReady() const;

  private:
    FsObjectRef object_;
};

// A text file read or written by characters and lines. Ascii streams hold GBK bytes as they
// are; Unicode streams are UTF-16LE on disk. A reading stream loads its file on the first read.
class TextStreamItem {
  public:
    struct State;
    void attach(std::shared_ptr<State> state) { state_ = std::move(state); }
    bool isEmpty() const { return !state_; }

    // 1-based, counted in characters.
    int line() const;
    int column() const;
    bool atEndOfStream() const;
    bool atEndOfLine() const;
    std::string read(int count);
    std::string readLine();
    std::string readAll();
    bool write(std::string_view text);
    bool writeLine(std::string_view text);
    bool writeBlankLines(int count);
    void skip(int count) { read(count); }
    void skipLine() { readLine(); }
    void close();

  private:
    std::shared_ptr<State> state_;
};

// Walks a collection. Every operation but begin gives false (or nothing) when no walk is
// active.
class CollectionEnumerator {
  public:
    // Starts a walk over the collection as it is now; false when it cannot be listed.
    bool begin(const FsCollection& collection);
    // The next element, attachable to the item class of the collection.
    std::optional<FsObjectRef> next();
    bool reset();
    bool skip(int count);
    void release() { entries_.reset(); }

    // The enumeration interface's own calls: Ok when all asked-for elements were there,
    // False when fewer were, NoWalk without an active walk.
    enum class Result { Ok, False, NoWalk };
    struct Fetched {
        Result result = Result::NoWalk;
        std::vector<FsObjectRef> items;
    };
    Fetched rawNext(int count);
    Result rawSkip(int count);
    Result rawReset();

  private:
    std::optional<std::vector<std::filesystem::path>> entries_;
    std::size_t cursor_ = 0;
};

class FileSystem {
  public:
    FsCollection drives() const;
    std::string buildPath(std::string_view path, std::string_view name) const;
    // The mount point that holds the path.
    std::string driveName(std::string_view path) const;
    // The folder part of the path; a result that ends in the separator loses it.
    std::string parentFolderName(std::string_view path) const;
    std::string fileName(std::string_view path) const;
    std::string baseName(std::string_view path) const;
    std::string extensionName(std::string_view path) const;
    std::string absolutePath(std::string_view path) const;
    // A fresh name for a temporary file ("radXXXXX.tmp").
    std::string tempName() const;
    bool driveExists(std::string_view spec) const;
    bool fileExists(std::string_view path) const;
    bool folderExists(std::string_view path) const;
    // Empty items when there is no such object.
    DriveItem getDrive(std::string_view spec) const;
    FileItem getFile(std::string_view path) const;
    FolderItem getFolder(std::string_view path) const;
    // 2: the temporary folder. There is no Windows or system folder here: 0 and 1 give an
    // empty item.
    FolderItem specialFolder(int which) const;

    // Each reports by what the disk shows afterwards (see the operations).
    bool deleteFile(std::string_view path, bool force) const;
    bool deleteFolder(std::string_view path, bool force) const;
    bool moveFile(std::string_view source, std::string_view target) const;
    bool moveFolder(std::string_view source, std::string_view target) const;
    bool copyFile(std::string_view source, std::string_view target, bool overwrite = true) const;
    bool copyFolder(std::string_view source, std::string_view target, bool overwrite = true) const;
    bool createFolder(std::string_view path) const;

    TextStreamItem createTextFile(std::string_view path, bool overwrite, bool unicode) const;
    TextStreamItem openTextFile(std::string_view path, IoMode mode, bool create = true,
                                StreamFormat format = StreamFormat::UseDefault) const;
    // 0 standard input, 1 standard output, 2 standard error.
    TextStreamItem standardStream(int which, bool unicode) const;
    // No version resources here: empty.
    std::string fileVersion(std::string_view) const { return {}; }
};

}  // namespace yelian
