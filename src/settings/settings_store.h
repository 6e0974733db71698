// The settings store: one settings file of sections and key lines (GBK, CR LF, "┊*┊" for
// line breaks inside values), side files in the folder "inibin" beside it for texts stored as
// bytes, and the saving and restoring of a whole window's controls by control name.
//
// The whole file content is kept in memory and answers every read. Each write changes the
// memory copy and then replaces the file by a complete new one (temporary file, rename), so a
// process killed at any moment leaves either the file before or the file after that write; a
// write that changes nothing leaves the file alone.
// The file is held under an exclusive lock while it is open; a second instance on the same
// file keeps its settings in memory only and never touches the file or its side files.
//
// Single-threaded (the GUI thread). Writes let the GUI process pending events; a write that
// arrives from an event handler while another write is in progress is queued and carried out
// after it, in request order.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "controls/control_ops.h"
#include "settings/locked_file.h"
#include "support/file_env.h"
#include "support/posix_file.h"

namespace yelian {

// Whether the writes of an open store reach the disk.
enum class SettingsPersistence {
    // No file was opened.
    Closed,
    // Every write replaces the settings file.
    Saving,
    // The file or its folder cannot be written (read-only folder or file).
    NotWritable,
    // Another instance holds the file; this one keeps its settings in memory only.
    InUse,
    // The file is too large or cannot be read; it is left as it is and nothing is saved.
    Unreadable,
};

class SettingsStore {
  public:
    // The failure messages of a write go through the desktop, which also lets the GUI
    // process pending events during writes and while a window is saved or restored.
    explicit SettingsStore(DesktopServices& desktop);
    // The same over another file system: every read and write of the settings file and its
    // side files goes through files, which must outlive the store.
    SettingsStore(DesktopServices& desktop, FileEnv& files);
    SettingsStore(const SettingsStore&) = delete;
    // The file system the store reads and writes through.
    FileEnv& files() { return files_; }
    SettingsStore& operator=(const SettingsStore&) = delete;
    ~SettingsStore() = default;

    // Closes whatever was open and opens the settings file at the GBK path, creating it when
    // missing and never truncating it. The content is loaded whenever the file is readable.
    // True when writes will be saved (persistence() == Saving).
    bool open(std::string_view path);
    // Releases the file and empties the content.
    void close();

    SettingsPersistence persistence() const { return persistence_; }
    const std::string& path() const { return path_; }
    // True once a write of this saving store (value or side file) did not reach the disk
    // since open, for example on a full disk: a caller that reports "saved" asks this first.
    bool saveFailed() const { return saveFailed_; }
    // The content as the file holds it (GBK bytes, CR LF).
    const std::string& content() const { return content_; }

    // The section that every key read and write uses until the next selection.
    void selectSection(std::string_view section) { section_ = std::string(section); }
    const std::string& section() const { return section_; }

    // Reads of the current section; an absent key gives the default. A text default goes
    // through the same line-break coding as a stored value.
    std::string readText(std::string_view key, std::string_view defaultValue) const;
    // Non-numeric stored text reads as 0 (full-width digits count as digits).
    double readNumber(std::string_view key, double defaultValue) const;
    // True exactly when the stored text is "真".
    bool readBool(std::string_view key, bool defaultValue) const;

    // Writes to the current section. True when this write was carried out and saved (or kept
    // in memory when the store does not save); false when it was queued behind a write in
    // progress or failed.
    bool writeText(std::string_view key, std::string_view value);
    bool writeNumber(std::string_view key, double value);
    bool writeBool(std::string_view key, bool value);

    // Side files "inibin/<section>-<key>.ibn" beside the settings file, holding the exact
    // bytes. A missing or empty side file reads as the default. Writing needs a saving store.
    std::string readSideFile(std::string_view key, std::string_view defaultBytes) const;
    bool writeSideFile(std::string_view key, std::string_view bytes);

    // Selects the section (when the name is not empty) and saves or restores every control of
    // the window whose name prefix binds it: "按钮" (tag text, key name + ".标记"), "编辑框"
    // (text), "选择框" and "单选框" (checked), "组合框" (selected index). Controls tagged
    // "禁止保存" are skipped; buttons and edit boxes tagged "字节集方式" use side files.
    // Restoring leaves every control whose key is absent as it is. A save replaces the settings
    // file once, when every control is written: a window is saved whole or not at all.
    void saveControls(Controls& controls, std::string_view window, std::string_view section);
    void restoreControls(Controls& controls, std::string_view window, std::string_view section);

  private:
    struct PendingWrite {
        std::string section;
        std::string key;
        std::string value;
    };

    bool writeValue(std::string_view key, std::string value);
    bool carryOut(const PendingWrite& write);
    bool persist();
    void saveControlValues(Controls& controls, std::string_view window, std::string_view section);
    // Lets the GUI handle waiting events without changing the current section.
    void letGuiRun();
    std::string sideFilePath(std::string_view key) const;

    DesktopServices& desktop_;
    // The file system when none was given.
    PosixFileEnv posixFiles_;
    FileEnv& files_;
    std::string path_;
    std::string section_;
    std::string content_;
    LockedFile file_{files_};
    SettingsPersistence persistence_ = SettingsPersistence::Closed;
    // The file holds exactly the content (false after a change not yet saved, or a failed
    // save, which the next write retries).
    bool fileCurrent_ = true;
    bool saveFailed_ = false;
    bool busy_ = false;
    // Set while a window is saved: the writes change the content, and the file is replaced
    // once at the end.
    bool holdingFile_ = false;
    std::deque<PendingWrite> pending_;
};

}  // namespace yelian
