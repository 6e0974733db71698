// The multi-line input dialog: one modal window for every multi-line entry (the keyword list,
// the phrase groups) and every long read-only text (the help). The caller's arguments and the
// user's answer travel through the application's DialogRequest.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "controls/window_table.h"
#include "shell/application.h"
#include "shell/dialog_request.h"

namespace yelian {

struct TextDialogResult {
    bool confirmed = false;
    // The edited text when confirmed, else empty.
    std::string text;
};

// Shows the dialog modally (owned by owner when that window exists) and returns when it has
// closed. Without a prompt nothing is shown above the text; an empty prompt shows the mode's
// default. While the dialog is open a second call returns unconfirmed at once.
TextDialogResult showTextDialog(Application& app, std::string_view initialText,
                                std::optional<std::string_view> prompt, std::string_view title,
                                std::string_view owner, bool inputMode);

// The dialog has been created: prompt, caption and text from the request, the controls of
// the mode, the focus in the text.
void onInputDialogOpened(Application& app);

// The buttons. "确定" keeps the text and closes; "取消" (or "关闭(&G)") closes unconfirmed.
void onInputOk(Application& app);
void onInputCancel(Application& app);
void onInputClear(Application& app);
// Back to the initial text; says "启动值为空！" when there is none.
void onInputRestore(Application& app);
void onInputPaste(Application& app);

// The close box: an edited text in input mode is given up only when the user says so.
void closeInputDialogAsked(Application& app);

// Where the dialog's boxes go in a client area of the given size (pixels). The prompt box is
// 12 pixels per display line of the prompt, at 6 pixels per byte.
struct InputDialogLayout {
    Geometry prompt;
    Geometry text;
    Geometry toolbar;
    Geometry ok;
    Geometry cancel;
};
InputDialogLayout inputDialogLayout(const DialogRequest& request, int clientWidth,
                                    int clientHeight);

// The texts the dialog shows for the request: the prompt (defaults by mode) and the caption.
std::string displayedPrompt(const DialogRequest& request);
std::string displayedTitle(const DialogRequest& request);

}  // namespace yelian
