// The record through which a caller and the multi-line input dialog talk: what to show, and
// what the user answered. The application object holds the one instance of the run.
#pragma once

#include <optional>
#include <string>

namespace yelian {

struct DialogRequest {
    // Shown above the text; none shows nothing, an empty text shows the mode's default
    // prompt ("请输入数据：" or "以下为信息详情：").
    std::optional<std::string> prompt;
    // The window caption; empty gives "输入：" or "信息：" by mode.
    std::string title;
    // The text the editor starts with, and the text "恢复" brings back.
    std::string initialText;
    // True: editable text with OK, Cancel and the tool bar; false: read-only information.
    bool inputMode = true;
    // Results: set when the user pressed "确定", with the editor's text at that moment.
    bool confirmed = false;
    std::string resultText;
    // Pixels between the window's edge and its boxes.
    int margin = 5;
};

}  // namespace yelian
