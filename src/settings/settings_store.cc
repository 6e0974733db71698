// The settings store: sections and key lines searched in the memory copy, written through a
// queue so that writes arriving from event handlers run one after another.
#include "settings/settings_store.h"

#include <limits>
#include <optional>
#include <system_error>

#include "controls/window_table.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "support/shared_texts.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

using namespace yelian::literals;

constexpr std::string_view kCrLf = "\r\n";
// A freshly appended section header that cannot be found is given up after this many appends.
constexpr int kSectionAppendLimit = 11;

inline constexpr GbkConstant<"┊*┊"> kLineBreakCode;
inline constexpr GbkConstant<"按钮"> kButtonPrefix;
inline constexpr GbkConstant<"编辑框"> kEditBoxPrefix;
inline constexpr GbkConstant<"选择框"> kCheckBoxPrefix;
inline constexpr GbkConstant<"单选框"> kRadioButtonPrefix;
inline constexpr GbkConstant<"组合框"> kComboBoxPrefix;
inline constexpr GbkConstant<".标记"> kTagKeySuffix;
inline constexpr GbkConstant<"配置模块出现意外，可能导致无法正常保存！详情请咨询澜川。">
    kSectionFailureMessage;

// Values keep their line breaks coded, so that each value stays on its one line.
std::string encodeLineBreaks(std::string_view text) {
    const ReplacePair code{kCrLf, kLineBreakCode};
    return replacePairs(text, {&code, 1}, true);
}

std::string decodeLineBreaks(std::string_view text) {
    const ReplacePair decode{kLineBreakCode, kCrLf};
    return replacePairs(text, {&decode, 1}, true);
}

// The 0-based index of the "]" of the section's header, searching from `from`. A header is
// "[" section "]" at the very start of the content or right after CR LF; other hits are
// skipped.
std::size_t findSection(std::string_view content, std::string_view section, std::size_t from) {
    std::string header;
    header.reserve(section.size() + 2);
    header.append("[").append(section).append("]");
    for (std::size_t hit = content.find(header, from); hit != std::string_view::npos;
         hit = content.find(header, hit + 1)) {
        if (hit == 0 || (hit >= 2 && content.substr(hit - 2, 2) == kCrLf)) {
            return hit + header.size() - 1;
        }
    }
    return std::string_view::npos;
}

// True when the bytes hold a whole header line: CR LF "[" ... "]" CR LF without a CR LF
// inside the brackets.
bool containsHeaderLine(std::string_view bytes) {
    for (std::size_t start = bytes.find("\r\n["); start != std::string_view::npos;
         start = bytes.find("\r\n[", start + 1)) {
        const std::size_t lineEnd = bytes.find(kCrLf, start + 2);
        if (lineEnd == std::string_view::npos) return false;
        if (lineEnd > start + 3 && bytes[lineEnd - 1] == ']') return true;
    }
    return false;
}

// The 0-based index where the key's value starts, given the index of its section's "]". The
// first line CR LF key "=" after the header is the key unless another section's header lies
// between them; then the key counts as absent.
std::size_t findValue(std::string_view content, std::size_t sectionEnd, std::string_view key) {
    std::string line;
    line.reserve(key.size() + 3);
    line.append(kCrLf).append(key).append("=");
    const std::size_t hit = content.find(line, sectionEnd);
    if (hit == std::string_view::npos) return hit;
    if (containsHeaderLine(content.substr(sectionEnd + 1, hit + 2 - (sectionEnd + 1)))) {
        return std::string_view::npos;
    }
    return hit + line.size();
}

std::size_t valueEnd(std::string_view content, std::size_t valueStart) {
    const std::size_t end = content.find(kCrLf, valueStart);
    return end == std::string_view::npos ? content.size() : end;
}

// The stored text of the key in the section, or nothing when either is absent.
std::optional<std::string_view> storedValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    const std::size_t sectionEnd = findSection(content, section, 0);
    if (sectionEnd == std::string_view::npos) return std::nullopt;
    const std::size_t start = findValue(content, sectionEnd, key);
    if (start == std::string_view::npos) return std::nullopt;
    return content.substr(start, valueEnd(content, start) - start);
}

enum class Binding { None, ButtonTag, Text, Checked, SelectedIndex };

// What a control stores, from the first bytes of its name.
Binding bindingOf(std::string_view name) {
    if (name.substr(0, 4) == kButtonPrefix) return Binding::ButtonTag;
    const std::string_view prefix = name.substr(0, 6);
    if (prefix == kEditBoxPrefix) return Binding::Text;
    if (prefix == kCheckBoxPrefix || prefix == kRadioButtonPrefix) return Binding::Checked;
    if (prefix == kComboBoxPrefix) return Binding::SelectedIndex;
    return Binding::None;
}

// Calls keep(name, binding, tag) for every control of the window that the store keeps, in
// table order, each after beforeEach (which lets the GUI run).
template <typename Keep, typename BeforeEach>
void forEachKept(Controls& controls, std::string_view window, Keep keep, BeforeEach beforeEach) {
    for (const ControlInfo& control : controls.controlsOf(window)) {
        beforeEach();
        const Binding binding = bindingOf(control.name);
        if (control.name.empty() || binding == Binding::None) continue;
        const std::string tag = controls.tagText(window, control.name);
        if (tag != kNeverSaveTag) keep(control.name, binding, tag);
    }
}

// A stored index as an int; values outside int (a damaged file) keep the current index.
int toIndex(double value, int current) {
    if (!(value > std::numeric_limits<int>::min() - 1.0 &&
          value < std::numeric_limits<int>::max() + 1.0)) {
        return current;
    }
    return static_cast<int>(value);
}

}  // namespace

SettingsStore::SettingsStore(DesktopServices& desktop) : desktop_(desktop), files_(posixFiles_) {}

SettingsStore::SettingsStore(DesktopServices& desktop, FileEnv& files)
    : desktop_(desktop), files_(files) {}

bool SettingsStore::open(std::string_view path) {
    close();
    path_ = std::string(path);
    fileCurrent_ = true;
    saveFailed_ = false;
    const auto native = toNativePath(path);
    switch (file_.open(native)) {
        case LockedFile::OpenResult::Locked:
            if (auto bytes = file_.read(kMaxSettingsFileSize)) {
                content_ = std::move(*bytes);
                persistence_ = SettingsPersistence::Saving;
                return true;
            }
            // Not a file this store wrote: leave it alone rather than replace it.
            file_.close();
            persistence_ = SettingsPersistence::Unreadable;
            return false;
        case LockedFile::OpenResult::InUse:
            persistence_ = SettingsPersistence::InUse;
            break;
        case LockedFile::OpenResult::NotWritable:
            persistence_ = SettingsPersistence::NotWritable;
            break;
    }
    Expected<std::string> bytes = files_.readFile(native, kMaxSettingsFileSize);
    content_ = bytes ? std::move(*bytes) : std::string();
    return false;
}

void SettingsStore::close() {
    file_.close();
    content_.clear();
    fileCurrent_ = true;
    saveFailed_ = false;
    persistence_ = SettingsPersistence::Closed;
}

std::string SettingsStore::readText(std::string_view key, std::string_view defaultValue) const {
    if (const auto value = storedValue(content_, section_, key)) return decodeLineBreaks(*value);
    return decodeLineBreaks(encodeLineBreaks(defaultValue));
}

double SettingsStore::readNumber(std::string_view key, double defaultValue) const {
    if (const auto value = storedValue(content_, section_, key)) return textToReal(*value);
    return defaultValue;
}

bool SettingsStore::readBool(std::string_view key, bool defaultValue) const {
    if (const auto value = storedValue(content_, section_, key)) return *value == kTrueText;
    return defaultValue;
}

bool SettingsStore::writeText(std::string_view key, std::string_view value) {
    return writeValue(key, encodeLineBreaks(value));
}

bool SettingsStore::writeNumber(std::string_view key, double value) {
    return writeValue(key, realToText(value));
}

bool SettingsStore::writeBool(std::string_view key, bool value) {
    return writeValue(key, booleanToText(value));
}

bool SettingsStore::writeValue(std::string_view key, std::string value) {
    pending_.push_back({section_, std::string(key), std::move(value)});
    if (busy_) return false;
    busy_ = true;
    bool ownResult = true;
    for (bool first = true; !pending_.empty(); first = false) {
        // A copy: handlers that run during the write append to the queue.
        const PendingWrite next = pending_.front();
        const bool done = carryOut(next);
        pending_.pop_front();
        if (first) ownResult = done;
    }
    busy_ = false;
    return ownResult;
}

bool SettingsStore::carryOut(const PendingWrite& write) {
    std::size_t searchFrom = 0;
    int appended = 0;
    while (true) {
        letGuiRun();
        const std::size_t sectionEnd = findSection(content_, write.section, searchFrom);
        if (sectionEnd == std::string::npos) {
            if (appended == kSectionAppendLimit) {
                desktop_.messageBox(kSectionFailureMessage, kBrandTitle, MessageButtons::Ok,
                                    MessageIcon::Warning);
                desktop_.messageBox(content_, "", MessageButtons::Ok, MessageIcon::None);
                persist();
                return false;
            }
            searchFrom = content_.size();
            if (!content_.empty()) content_ += kCrLf;
            content_.append("[").append(write.section).append("]");
            fileCurrent_ = false;
            ++appended;
            continue;
        }
        const std::size_t start = findValue(content_, sectionEnd, write.key);
        if (start == std::string::npos) {
            std::string line;
            line.append(kCrLf).append(write.key).append("=");
            content_.insert(sectionEnd + 1, line);
            fileCurrent_ = false;
            continue;
        }
        const std::size_t length = valueEnd(content_, start) - start;
        if (content_.compare(start, length, write.value) != 0) {
            content_.replace(start, length, write.value);
            fileCurrent_ = false;
        }
        return persist();
    }
}

bool SettingsStore::persist() {
    if (persistence_ != SettingsPersistence::Saving || holdingFile_) return true;
    // A write that changed nothing leaves the file alone: closing a window rewrites every
    // key, and most of them hold what they held.
    if (!fileCurrent_) fileCurrent_ = file_.replace(content_);
    if (!fileCurrent_) saveFailed_ = true;
    return fileCurrent_;
}

void SettingsStore::letGuiRun() {
    // A handler that runs here may select another section for its own reads and writes; the
    // operation in progress goes on in the section it was started in.
    const std::string section = section_;
    desktop_.processPendingEvents();
    section_ = section;
}

std::string SettingsStore::sideFilePath(std::string_view key) const {
    std::string name = section_;
    name.append("-").append(key).append(".ibn");
    return fromNativePath(toNativePath(path_).parent_path() / "inibin") + kPathSeparator + name;
}

std::string SettingsStore::readSideFile(std::string_view key, std::string_view defaultBytes) const {
    if (path_.empty()) return std::string(defaultBytes);
    Expected<std::string> bytes =
        files_.readFile(toNativePath(sideFilePath(key)), kMaxSettingsFileSize);
    if (!bytes || bytes->empty()) return std::string(defaultBytes);
    return std::move(*bytes);
}

bool SettingsStore::writeSideFile(std::string_view key, std::string_view bytes) {
    if (persistence_ != SettingsPersistence::Saving) return false;
    const auto target = toNativePath(sideFilePath(key));
    // Unchanged side files are not rewritten (see persist).
    if (Expected<std::string> old = files_.readFile(target, bytes.size()); old && *old == bytes) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    if (files_.replaceFile(target, bytes)) return true;
    saveFailed_ = true;
    return false;
}

void SettingsStore::saveControls(Controls& controls, std::string_view window,
                                 std::string_view section) {
    // One replacement of the file for the whole window rather than one per key: a hundred
    // file replacements take the better part of a second on a slow disk, and a save cut short
    // leaves the previous window whole instead of half of each.
    const bool alreadyHolding = holdingFile_;
    holdingFile_ = true;
    saveControlValues(controls, window, section);
    holdingFile_ = alreadyHolding;
    persist();
}

void SettingsStore::saveControlValues(Controls& controls, std::string_view window,
                                      std::string_view section) {
    if (!section.empty()) selectSection(section);
    const auto save = [&](const std::string& name, Binding binding, const std::string& tag) {
        switch (binding) {
            case Binding::ButtonTag:
                if (tag == kStoredAsBytesTag) {
                    writeSideFile(name + kTagKeySuffix.str(), tag);
                } else {
                    writeText(name + kTagKeySuffix.str(), tag);
                }
                break;
            case Binding::Text:
                if (tag == kStoredAsBytesTag) {
                    writeSideFile(name, controls.text(window, name));
                } else {
                    writeText(name, controls.text(window, name));
                }
                break;
            case Binding::Checked:
                writeBool(name, controls.checked(window, name));
                break;
            case Binding::SelectedIndex:
                writeNumber(name, controls.selectedIndex(window, name));
                break;
            case Binding::None:
                break;
        }
    };
    forEachKept(controls, window, save, [this] { letGuiRun(); });
}

void SettingsStore::restoreControls(Controls& controls, std::string_view window,
                                    std::string_view section) {
    if (!section.empty()) selectSection(section);
    const auto restore = [&](const std::string& name, Binding binding, const std::string& tag) {
        switch (binding) {
            case Binding::ButtonTag: {
                const std::string key = name + kTagKeySuffix.str();
                controls.setTagText(
                    window, name,
                    tag == kStoredAsBytesTag ? readSideFile(key, tag) : readText(key, tag));
                break;
            }
            case Binding::Text: {
                const std::string text = controls.text(window, name);
                controls.setText(
                    window, name,
                    tag == kStoredAsBytesTag ? readSideFile(name, text) : readText(name, text));
                break;
            }
            case Binding::Checked:
                controls.setChecked(window, name, readBool(name, controls.checked(window, name)));
                break;
            case Binding::SelectedIndex: {
                const int current = controls.selectedIndex(window, name);
                controls.setSelectedIndex(window, name,
                                          toIndex(readNumber(name, current), current));
                break;
            }
            case Binding::None:
                break;
        }
    };
    forEachKept(controls, window, restore, [this] { letGuiRun(); });
}

}  // namespace yelian
