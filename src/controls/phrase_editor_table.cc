#include "controls/phrase_editor_table.h"

#include "controls/window_table_builder.h"

namespace yelian {
namespace {

using enum ControlKind;

WindowSpec buildPhraseEditorSpec() {
    WindowTableBuilder b(kPhraseEditorWindow, "随机词组编辑器", {50, 50, 559, 354});
    b.add(Label, kPhraseHintLabel, {}, {8, 8, 544, 48},
          "多组词以“|”隔开，最后一个如果是网址（http://开头），则自动组合锚文本\r\n"
          "如果想多条网址随机，可以用“*”隔开多条网址");
    b.add(Label, kPhraseListLabel, {}, {8, 60, 248, 24}, "词组列表（双击列表项自动赋值）：");
    b.add(Button, kPhraseAddButton, {}, {321, 60, 55, 24}, "添加");
    b.add(Button, kPhraseDeleteButton, {}, {377, 60, 55, 24}, "删除");
    b.add(Button, kPhraseModifyButton, {}, {433, 60, 55, 24}, "修改");
    b.add(Button, kPhraseClearButton, {}, {489, 60, 55, 24}, "清空");
    // No items of its own: the list always comes from the settings store.
    b.add(ListBox, kPhraseList, {}, {8, 88, 536, 224});
    return b.take();
}

}  // namespace

const WindowSpec& phraseEditorSpec() {
    static const WindowSpec spec = buildPhraseEditorSpec();
    return spec;
}

}  // namespace yelian
