// The random-phrase editor: the window in which the user keeps the list of phrase groups of
// the keyword insertion. The list is loaded from the settings when the window opens, edited in
// its list box, and stored when it closes; a double-clicked group becomes the main window's
// current group.
#pragma once

#include "shell/application.h"

namespace yelian {

// "按钮编辑": shows the editor, owned by the main window and not modal.
void openPhraseEditor(Application& app);

// The editor has been created: the stored groups and the stored selection.
void onPhraseEditorOpened(Application& app);

// Stores the list and its selection, then closes the editor.
void closePhraseEditor(Application& app);

// The selected group is stored with the list, becomes the text of "组合框词", and the editor
// closes.
void onPhraseDoubleClicked(Application& app);

// "添加" and "修改" ask for the group in the input dialog; "删除" keeps a selection at the same
// place; "清空" asks first.
void onPhraseAdd(Application& app);
void onPhraseDelete(Application& app);
void onPhraseModify(Application& app);
void onPhraseClear(Application& app);

}  // namespace yelian
