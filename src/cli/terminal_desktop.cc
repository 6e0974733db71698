// Terminal desktop services of the command line.
#include "cli/terminal_desktop.h"

#include <chrono>
#include <istream>
#include <ostream>
#include <thread>

#include "controls/main_window_names.h"
#include "shell/import_handlers.h"
#include "support/gbk_text.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr int kBarWidth = 24;
// Caption characters shown beside the bar, so the line stays on one terminal row.
constexpr int kCaptionChars = 40;

bool affirmative(std::string_view answer) {
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "是" ||
           answer == "确定";
}

}  // namespace

std::string terminalText(std::string_view gbk) {
    const std::string utf8 = gbkToUtf8(gbk);
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        text += utf8[i];
    }
    return text;
}

TerminalDesktop::TerminalDesktop(const Controls& controls, std::istream& in, std::ostream& out,
                                 std::ostream& err, TerminalSettings settings)
    : controls_(controls), in_(in), out_(out), err_(err), settings_(std::move(settings)) {}

MessageAnswer TerminalDesktop::messageBox(std::string_view text, std::string_view,
                                          MessageButtons buttons, MessageIcon) {
    clearProgress();
    err_ << terminalText(text) << '\n';
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    const MessageAnswer yes =
        buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    const MessageAnswer no =
        buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    if (settings_.assumeYes) return yes;
    if (!settings_.canAsk) {
        err_ << "yelian: standard input is not a terminal, so this is answered "
             << (no == MessageAnswer::No ? "No" : "Cancel") << " (--yes answers "
             << (yes == MessageAnswer::Yes ? "Yes" : "OK") << ")\n";
        return no;
    }
    err_ << (yes == MessageAnswer::Yes ? "[是/否] (y/N): " : "[确定/取消] (y/N): ") << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) return no;
    return affirmative(answer) ? yes : no;
}

void TerminalDesktop::processPendingEvents() {
    if (!interruptSeen_ && settings_.interrupted && settings_.interrupted()) {
        // As a second click on the running button: the article in progress is finished.
        interruptSeen_ = true;
        if (requestStop_) requestStop_();
        drawnCaption_.clear();
    }
    if (settings_.showProgress) drawProgress();
}

void TerminalDesktop::drawProgress() {
    const std::string caption = controls_.caption(kMainWindow, "");
    if (caption == drawnCaption_) return;
    drawnCaption_ = caption;
    // The run's progress caption: "已处理 N 个文件，当前：title".
    const std::string& prefix = "已处理 "_gbk;
    if (!caption.starts_with(prefix)) return;
    const std::int64_t done = textToInteger(std::string_view(caption).substr(prefix.size()));
    const std::int64_t total = static_cast<std::int64_t>(jobSize_);
    const int filled =
        total > 0 ? static_cast<int>(std::min<std::int64_t>(done, total) * kBarWidth / total) : 0;
    err_ << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] "
         << done << '/' << total << ' ' << terminalText(leftChars(caption, kCaptionChars));
    if (interruptSeen_) err_ << ' ' << terminalText(kImportFilesStopping);
    err_ << "\x1b[K" << std::flush;
    barShown_ = true;
}

void TerminalDesktop::clearProgress() {
    if (!barShown_) return;
    err_ << "\r\x1b[K" << std::flush;
    barShown_ = false;
    drawnCaption_.clear();
}

void TerminalDesktop::openUrl(std::string_view url) {
    out_ << terminalText(url) << '\n';
}

void TerminalDesktop::openFolder(std::string_view folder) {
    out_ << terminalText(folder) << '\n';
}

std::int64_t TerminalDesktop::ticks() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TerminalDesktop::sleep(std::int64_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace yelian
