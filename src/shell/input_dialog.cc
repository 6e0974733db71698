// The multi-line input dialog's opening, buttons, close question and layout.
#include "shell/input_dialog.h"

#include <algorithm>
#include <vector>

#include "controls/input_dialog_table.h"
#include "support/gbk_text.h"
#include "support/shared_texts.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// The prompt's font cell.
constexpr int kCharWidth = 6;
constexpr int kLineHeight = 12;

Geometry designGeometry(std::string_view control) {
    for (const ControlSpec& spec : inputDialogSpec().controls) {
        if (spec.name == control) return spec.geometry;
    }
    return {};
}

int displayLines(std::string_view prompt, int charsPerLine) {
    int lines = 0;
    for (const std::string& part : splitText(prompt, "\r\n")) {
        const int length = static_cast<int>(part.size());
        lines += std::max(1, (length + charsPerLine - 1) / charsPerLine);
    }
    return lines;
}

void closeDialog(Application& app) {
    app.controls().closeWindow(kInputDialogWindow);
}

std::string textBoxText(Application& app) {
    return app.controls().text(kInputDialogWindow, kInputTextEdit);
}

}  // namespace

std::string displayedPrompt(const DialogRequest& request) {
    if (!request.prompt) return {};
    if (!request.prompt->empty()) return *request.prompt;
    return request.inputMode ? "请输入数据："_gbk : "以下为信息详情："_gbk;
}

std::string displayedTitle(const DialogRequest& request) {
    if (!request.title.empty()) return request.title;
    return request.inputMode ? "输入："_gbk : "信息："_gbk;
}

TextDialogResult showTextDialog(Application& app, std::string_view initialText,
                                std::optional<std::string_view> prompt, std::string_view title,
                                std::string_view owner, bool inputMode) {
    Controls& controls = app.controls();
    if (controls.windowExists(kInputDialogWindow)) return {};
    DialogRequest& request = app.dialogRequest();
    request.prompt = prompt ? std::optional<std::string>(*prompt) : std::nullopt;
    request.title = std::string(title);
    request.initialText = std::string(initialText);
    request.inputMode = inputMode;
    request.confirmed = false;
    request.resultText.clear();
    const std::string ownerName = controls.windowExists(owner) ? std::string(owner) : std::string();
    controls.showWindow(kInputDialogWindow, true, ownerName);
    // A backend whose modal windows do not wait leaves the dialog open: it ends here, as if
    // closed unconfirmed, so that the next call can open it again.
    if (controls.windowExists(kInputDialogWindow)) closeDialog(app);
    if (!request.confirmed) return {};
    return {true, request.resultText};
}

void onInputDialogOpened(Application& app) {
    Controls& controls = app.controls();
    DialogRequest& request = app.dialogRequest();
    const bool input = request.inputMode;
    controls.setText(kInputDialogWindow, kInputPromptEdit, displayedPrompt(request));
    controls.setCaption(kInputDialogWindow, {}, displayedTitle(request));
    controls.setText(kInputDialogWindow, kInputTextEdit, request.initialText);
    controls.setReadOnly(kInputDialogWindow, kInputTextEdit, !input);
    controls.setVisible(kInputDialogWindow, kInputOkButton, input);
    controls.setVisible(kInputDialogWindow, kInputToolbarFrame, input);
    controls.setCaption(kInputDialogWindow, kInputCancelButton,
                        input ? "取消"_gbk : "关闭(&G)"_gbk);
    request.confirmed = false;
    request.resultText.clear();
    controls.setFocus(kInputDialogWindow, kInputTextEdit);
}

void onInputOk(Application& app) {
    DialogRequest& request = app.dialogRequest();
    request.resultText = textBoxText(app);
    request.confirmed = true;
    closeDialog(app);
}

void onInputCancel(Application& app) {
    closeDialog(app);
}

void onInputClear(Application& app) {
    app.controls().setText(kInputDialogWindow, kInputTextEdit, {});
}

void onInputRestore(Application& app) {
    const std::string& initial = app.dialogRequest().initialText;
    if (initial.empty()) {
        app.desktop().messageBox("启动值为空！"_gbk, kBrandTitle, MessageButtons::Ok,
                                 MessageIcon::Information);
        return;
    }
    app.controls().setText(kInputDialogWindow, kInputTextEdit, initial);
}

void onInputPaste(Application& app) {
    app.controls().setText(kInputDialogWindow, kInputTextEdit, app.desktop().clipboardText());
}

void closeInputDialogAsked(Application& app) {
    const DialogRequest& request = app.dialogRequest();
    if (request.inputMode && textBoxText(app) != request.initialText &&
        app.desktop().messageBox("内容已被改动，是否要放弃？"_gbk, kBrandTitle,
                                 MessageButtons::YesNo,
                                 MessageIcon::Information) != MessageAnswer::Yes) {
        return;
    }
    closeDialog(app);
}

InputDialogLayout inputDialogLayout(const DialogRequest& request, int clientWidth,
                                    int clientHeight) {
    const int m = request.margin;
    const int width = std::max(0, clientWidth - 2 * m);
    // A window narrower than one character still shows the prompt, one byte per line.
    const int charsPerLine = std::max(1, width / kCharWidth);
    const Geometry toolbar = designGeometry(kInputToolbarFrame);
    const Geometry ok = designGeometry(kInputOkButton);
    const Geometry cancel = designGeometry(kInputCancelButton);

    InputDialogLayout layout;
    layout.prompt = {m, m, width,
                     kLineHeight * displayLines(displayedPrompt(request), charsPerLine)};
    const int textTop = layout.prompt.top + layout.prompt.height + m;
    layout.text = {m, textTop, width, std::max(0, clientHeight - textTop - toolbar.height)};
    layout.toolbar = {m, textTop + layout.text.height, toolbar.width, toolbar.height};
    const int buttonTop = layout.toolbar.top + (toolbar.height - cancel.height) / 2;
    layout.cancel = {clientWidth - m - cancel.width, buttonTop, cancel.width, cancel.height};
    layout.ok = {layout.cancel.left - ok.width, buttonTop, ok.width, ok.height};
    return layout;
}

}  // namespace yelian
