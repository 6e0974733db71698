// The main window's help with writing templates: the tag buttons and the "更多" menu insert
// their tag where the user last worked, the generator group boxes show a live sample of their
// tag, and the paste buttons fill the list-page code boxes from the clipboard.
#pragma once

#include <string_view>

#include "shell/application.h"

namespace yelian {

// Inserts the tag (with its "#" marks) in place of the insertion target's selection and gives
// the target the focus. While the template maker is open its code editor is the target; with
// no target, or one whose window is gone, nothing happens.
void insertTag(Application& app, std::string_view tag);

// A template editor of the main window got the focus: it becomes the insertion target.
void setInsertionTarget(Application& app, std::string_view editor);

// "更多": the popup menu of four more tags; the chosen one is inserted.
void showMoreTagsMenu(Application& app);

// Each sets its group box caption to the tag, " - " and a sample drawn anew from the settings
// the window shows now.
void refreshRandomChineseCaption(Application& app);
void refreshRandomLettersCaption(Application& app);
void refreshTimeCaption(Application& app);

// The text of an edit box of the window becomes the clipboard text (empty when the clipboard
// holds no text).
void pasteInto(Application& app, std::string_view window, std::string_view editBox);

}  // namespace yelian
