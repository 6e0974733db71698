// The routing of the windows' events to their handlers, and closing windows whose handlers may
// still be under way beneath the event hook.
#include "shell/window_events.h"

#include <algorithm>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/phrase_editor_table.h"
#include "controls/template_maker_table.h"
#include "shell/help_links.h"
#include "shell/import_handlers.h"
#include "shell/input_dialog.h"
#include "shell/main_window.h"
#include "shell/phrase_editor.h"
#include "shell/tag_insertion.h"
#include "support/shared_texts.h"

namespace yelian {
namespace {

using enum ControlEvent;
using Handler = void (*)(Application&);

struct Route {
    std::string_view window;
    std::string_view control;
    ControlEvent event;
    Handler handler;
};

void requestClose(Application& app, std::string_view window);

std::vector<Route> mainWindowRoutes() {
    const std::string_view w = kMainWindow;
    return {
        {w, {}, Closing, [](Application& a) { requestClose(a, kMainWindow); }},
        // Header bar.
        {w, kSaveSettingsPicture, Clicked, onSaveSettingsLink},
        {w, kSaveSettingsLink, Clicked, onSaveSettingsLink},
        {w, kHelpPicture, Clicked, showHelp},
        {w, kHelpLink, Clicked, showHelp},
        {w, kContactPicture, Clicked,
         [](Application& a) { openExternal(a, contactPageAddress()); }},
        {w, kContactLink, Clicked, [](Application& a) { openExternal(a, contactPageAddress()); }},
        {w, kHomePagePicture, Clicked, [](Application& a) { openExternal(a, homePageAddress()); }},
        {w, kHomePageLink, Clicked, [](Application& a) { openExternal(a, homePageAddress()); }},
        {w, kLogoPicture, Clicked, [](Application& a) { openExternal(a, homePageAddress()); }},
        {w, kTemplateMakerPicture, Clicked, openTemplateMaker},
        {w, kTemplateMakerLink, Clicked, openTemplateMaker},
        // Tag buttons and the "更多" menu.
        {w, kImportedArticleButton, Clicked, [](Application& a) { insertTag(a, kContentTag); }},
        {w, kPreviousTitleButton, Clicked, [](Application& a) { insertTag(a, kPreviousTitleTag); }},
        {w, kNextTitleButton, Clicked, [](Application& a) { insertTag(a, kNextTitleTag); }},
        {w, kPreviousLinkButton, Clicked, [](Application& a) { insertTag(a, kPreviousLinkTag); }},
        {w, kNextLinkButton, Clicked, [](Application& a) { insertTag(a, kNextLinkTag); }},
        {w, kThisTitleButton, Clicked, [](Application& a) { insertTag(a, kThisTitleTag); }},
        {w, kThisLinkButton, Clicked, [](Application& a) { insertTag(a, kThisLinkTag); }},
        {w, kRandomTitleButton, Clicked, [](Application& a) { insertTag(a, kRandomTitleTag); }},
        {w, kRandomLinkButton, Clicked, [](Application& a) { insertTag(a, kRandomLinkTag); }},
        {w, kKeywordTagButton, Clicked, [](Application& a) { insertTag(a, kKeywordTag); }},
        {w, kDescriptionTagButton, Clicked, [](Application& a) { insertTag(a, kDescriptionTag); }},
        {w, kMoreButton, Clicked, showMoreTagsMenu},
        {w, kCounterMenuItem, Clicked, [](Application& a) { insertTag(a, kCounterTag); }},
        {w, kTimeMenuItem, Clicked, [](Application& a) { insertTag(a, kTimeTag); }},
        {w, kRandomChineseMenuItem, Clicked,
         [](Application& a) { insertTag(a, kRandomChineseTag); }},
        {w, kRandomLettersMenuItem, Clicked,
         [](Application& a) { insertTag(a, kRandomLettersTag); }},
        {w, kTemplateEditor1, FocusGained,
         [](Application& a) { setInsertionTarget(a, kTemplateEditor1); }},
        {w, kTemplateEditor2, FocusGained,
         [](Application& a) { setInsertionTarget(a, kTemplateEditor2); }},
        {w, kTemplateEditor3, FocusGained,
         [](Application& a) { setInsertionTarget(a, kTemplateEditor3); }},
        {w, kTemplateEditor4, FocusGained,
         [](Application& a) { setInsertionTarget(a, kTemplateEditor4); }},
        {w, kTemplateEditor5, FocusGained,
         [](Application& a) { setInsertionTarget(a, kTemplateEditor5); }},
        // The samples of the generator group boxes.
        {w, kMostCommonRadio, Clicked, refreshRandomChineseCaption},
        {w, kCommonRadio, Clicked, refreshRandomChineseCaption},
        {w, kLessCommonRadio, Clicked, refreshRandomChineseCaption},
        {w, kTraditionalCheck, Clicked, refreshRandomChineseCaption},
        {w, kChineseLengthMinEdit, Changed, refreshRandomChineseCaption},
        {w, kChineseLengthMaxEdit, Changed, refreshRandomChineseCaption},
        {w, kDigitsCheck, Clicked, refreshRandomLettersCaption},
        {w, kLowercaseCheck, Clicked, refreshRandomLettersCaption},
        {w, kUppercaseCheck, Clicked, refreshRandomLettersCaption},
        {w, kFullWidthCheck, Clicked, refreshRandomLettersCaption},
        {w, kLettersLengthMinEdit, Changed, refreshRandomLettersCaption},
        {w, kLettersLengthMaxEdit, Changed, refreshRandomLettersCaption},
        {w, kRandomTimeCheck, Clicked, refreshTimeCaption},
        {w, kTimeFormatEdit, Changed, refreshTimeCaption},
        {w, kTimeFormatEdit, Clicked, refreshTimeCaption},
        {w, kYearFromEdit, Changed, refreshTimeCaption},
        {w, kYearToEdit, Changed, refreshTimeCaption},
        {w, kEnterKeywordsButton, Clicked, enterKeywords},
        // The list-page code boxes.
        {w, kPasteListHeadButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kListHeadEdit); }},
        {w, kPasteListTailButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kListTailEdit); }},
        {w, kPastePageBarHeadButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kPageBarHeadEdit); }},
        {w, kPastePageBarTailButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kPageBarTailEdit); }},
        {w, kPastePageEntryButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kPageEntryEdit); }},
        {w, kPasteArticleEntryButton, Clicked,
         [](Application& a) { pasteInto(a, kMainWindow, kArticleEntryEdit); }},
        // Dependent controls.
        {w, kTitleSourceCombo, Changed, [](Application& a) { onTitleSourceChanged(a.controls()); }},
        {w, kCutContentCheck, Clicked, [](Application& a) { onCutContentClicked(a.controls()); }},
        {w, kExtensionCheck, Clicked, [](Application& a) { onExtensionClicked(a.controls()); }},
        {w, kReplaceTitleCheck, Clicked,
         [](Application& a) { onReplaceTitleClicked(a.controls()); }},
        {w, kListPagesCheck, Clicked, [](Application& a) { onListPagesClicked(a.controls()); }},
        {w, kInsertPhrasesCheck, Clicked,
         [](Application& a) { onInsertPhrasesClicked(a.controls()); }},
        {w, kEditPhrasesButton, Clicked, openPhraseEditor},
        // Runs.
        {w, kImportFilesButton, Clicked, importFiles},
        {w, kImportFolderButton, Clicked, [](Application& a) { importFolder(a, true); }},
        {w, kImportFolderButton, RightClicked, [](Application& a) { importFolder(a, false); }},
    };
}

std::vector<Route> otherWindowRoutes() {
    const std::string_view p = kPhraseEditorWindow;
    const std::string_view d = kInputDialogWindow;
    return {
        {p, {}, Opened, onPhraseEditorOpened},
        {p, {}, Closing, [](Application& a) { requestClose(a, kPhraseEditorWindow); }},
        {p, kPhraseAddButton, Clicked, onPhraseAdd},
        {p, kPhraseDeleteButton, Clicked, onPhraseDelete},
        {p, kPhraseModifyButton, Clicked, onPhraseModify},
        {p, kPhraseClearButton, Clicked, onPhraseClear},
        {p, kPhraseList, DoubleClicked, onPhraseDoubleClicked},
        {d, {}, Opened, onInputDialogOpened},
        {d, {}, Closing, [](Application& a) { requestClose(a, kInputDialogWindow); }},
        {d, kInputOkButton, Clicked, onInputOk},
        {d, kInputCancelButton, Clicked, onInputCancel},
        {d, kInputClearButton, Clicked, onInputClear},
        {d, kInputRestoreButton, Clicked, onInputRestore},
        {d, kInputPasteButton, Clicked, onInputPaste},
    };
}

std::vector<Route> templateMakerRoutes() {
    const std::string_view t = kTemplateMakerWindow;
    return {
        {t, {}, Opened, onTemplateMakerOpened},
        {t, {}, Closing, closeTemplateMaker},
        {t, kMakeTemplateButton, Clicked,
         [](Application& a) { a.templateMaker().makeTemplate(true); }},
        {t, kMakeTemplateButton, RightClicked,
         [](Application& a) { a.templateMaker().makeTemplate(false); }},
        {t, kTemplateMakerTabs, Changed, [](Application& a) { a.templateMaker().onTabChanged(); }},
        {t, kCandidateCombo, Changed,
         [](Application& a) { a.templateMaker().onCandidateChosen(); }},
        {t, kFindNextButton, Clicked, [](Application& a) { a.templateMaker().findNext(); }},
        {t, kSearchEdit, EnterPressed, [](Application& a) { a.templateMaker().findNext(); }},
        {t, kFindPreviousButton, Clicked, [](Application& a) { a.templateMaker().findPrevious(); }},
        {t, kPasteAddressButton, Clicked, [](Application& a) { a.templateMaker().pasteAddress(); }},
        {t, kPasteSearchButton, Clicked,
         [](Application& a) { a.templateMaker().pasteSearchText(); }},
        {t, kPasteTemplateButton, Clicked,
         [](Application& a) { a.templateMaker().pasteTemplate(); }},
        {t, kCopyTemplateButton, Clicked, [](Application& a) { a.templateMaker().copyTemplate(); }},
    };
}

const std::vector<Route>& routes() {
    static const std::vector<Route> table = [] {
        std::vector<Route> all = mainWindowRoutes();
        for (std::vector<Route> more : {otherWindowRoutes(), templateMakerRoutes()}) {
            all.insert(all.end(), more.begin(), more.end());
        }
        return all;
    }();
    return table;
}

const Route* findRoute(std::string_view window, std::string_view control, ControlEvent event) {
    const auto& table = routes();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Route& route) {
        return route.event == event && route.window == window && route.control == control;
    });
    return found == table.end() ? nullptr : &*found;
}

// Whether a handler of the window, other than the one asking, is still under way. The main
// window owns the others: it waits for every handler.
bool handlersUnderWay(Application& app, std::string_view window, int asking) {
    const WindowActivity& activity = app.windowActivity();
    if (window == kMainWindow) return activity.runningAnywhere() > asking;
    return activity.running(window) > asking;
}

void performClose(Application& app, std::string_view window) {
    WindowActivity& activity = app.windowActivity();
    activity.setCloseState(window, CloseState::InProgress);
    if (window == kMainWindow) {
        closeMainWindow(app);
    } else if (window == kPhraseEditorWindow) {
        closePhraseEditor(app);
    } else if (window == kInputDialogWindow) {
        closeInputDialogAsked(app);
    }
    activity.setCloseState(window, CloseState::Open);
}

// The Closing event. A close that is already decided absorbs the request; a window with a
// handler under way beneath this one closes once that has ended, so that nothing it uses
// goes away under it. The main window also stops a run at its next article and ends an open
// dialog unanswered, so that the handlers beneath come to their end.
void requestClose(Application& app, std::string_view window) {
    WindowActivity& activity = app.windowActivity();
    if (!app.controls().windowExists(window) || activity.closeState(window) != CloseState::Open) {
        return;
    }
    if (!handlersUnderWay(app, window, 1)) {
        performClose(app, window);
        return;
    }
    activity.setCloseState(window, CloseState::Pending);
    if (window == kMainWindow) {
        app.stopRequested() = true;
        app.controls().closeWindow(kInputDialogWindow);
    }
}

// Closes that waited, once their windows' handlers have ended; the dialog before the editor
// before the main window, which owns them.
void finishPendingCloses(Application& app) {
    WindowActivity& activity = app.windowActivity();
    for (std::string_view window :
         {std::string_view(kInputDialogWindow), std::string_view(kPhraseEditorWindow),
          std::string_view(kMainWindow)}) {
        if (activity.closeState(window) != CloseState::Pending ||
            handlersUnderWay(app, window, 0)) {
            continue;
        }
        if (app.controls().windowExists(window)) {
            performClose(app, window);
        } else {
            activity.setCloseState(window, CloseState::Open);
        }
    }
}

// While the main window closes, or the window itself does, its events come too late.
bool closingAlready(Application& app, std::string_view window) {
    const WindowActivity& activity = app.windowActivity();
    return activity.closeState(kMainWindow) == CloseState::InProgress ||
           activity.closeState(window) == CloseState::InProgress;
}

template <typename Run>
void runHandler(Application& app, std::string_view window, Run run) {
    {
        HandlerScope scope(app.windowActivity(), window);
        run();
    }
    finishPendingCloses(app);
}

}  // namespace

bool dispatchControlEvent(Application& app, std::string_view window, std::string_view control,
                          ControlEvent event) {
    const Route* route = findRoute(window, control, event);
    if (route == nullptr) return false;
    if (closingAlready(app, window)) return true;
    runHandler(app, window, [&] { route->handler(app); });
    return true;
}

void dispatchFilesDropped(Application& app, std::string_view window,
                          const std::vector<std::string>& paths) {
    if (window != kMainWindow || closingAlready(app, window)) return;
    runHandler(app, window, [&] { onFilesDropped(app.controls(), paths); });
}

}  // namespace yelian
