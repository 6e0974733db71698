#include "controls/input_dialog_table.h"

#include "controls/window_table_builder.h"

namespace yelian {
namespace {

using enum ControlKind;

WindowSpec buildInputDialogSpec() {
    WindowTableBuilder b(kInputDialogWindow, "输入：", {50, 50, 495, 393});
    // The prompt may run over several lines; the user only reads it.
    ControlSpec& prompt = b.add(EditBox, kInputPromptEdit, {}, {13, 8, 395, 33});
    prompt.multiline = true;
    prompt.readOnly = true;
    b.add(EditBox, kInputTextEdit, {}, {5, 56, 411, 168}).multiline = true;
    b.add(Frame, kInputToolbarFrame, {}, {8, 320, 336, 34});
    b.add(Button, kInputRestoreButton, kInputToolbarFrame, {0, 5, 51, 24}, "恢复");
    b.add(Button, kInputClearButton, kInputToolbarFrame, {54, 5, 51, 24}, "清空");
    b.add(Button, kInputPasteButton, kInputToolbarFrame, {107, 5, 85, 24}, "粘贴");
    b.add(Button, kInputOkButton, {}, {351, 328, 64, 24}, "确定");
    b.add(Button, kInputCancelButton, {}, {414, 328, 64, 24}, "取消");
    return b.take();
}

}  // namespace

const WindowSpec& inputDialogSpec() {
    static const WindowSpec spec = buildInputDialogSpec();
    return spec;
}

}  // namespace yelian
