// Page expansion with hostile templates, titles, links and bodies (tags inside the values
// included) and whatever text the number boxes and the keyword list hold.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/tag_expansion.h"
#include "fuzz_input.h"

namespace {

using namespace yelian;

// The boxes the expansion reads numbers from; each gets a hostile text of its own.
void fillNumberBoxes(FuzzInput& input, RecordControls& controls) {
    const std::string_view boxes[] = {
        kCounterStartEdit,         kCounterStepEdit,      kDescriptionLengthMinEdit,
        kDescriptionLengthMaxEdit, kKeywordCountMinEdit,  kKeywordCountMaxEdit,
        kChineseLengthMinEdit,     kChineseLengthMaxEdit, kLettersLengthMinEdit,
        kLettersLengthMaxEdit,     kYearFromEdit,         kYearToEdit,
        kTimeFormatEdit,           kKeywordListEdit};
    for (std::string_view box : boxes) controls.setText(kMainWindow, box, input.takeText());
    const std::uint8_t flags = input.takeByte();
    const std::string_view checks[] = {kOrderedCheck,    kTraditionalCheck, kDigitsCheck,
                                       kLowercaseCheck,  kUppercaseCheck,   kFullWidthCheck,
                                       kRandomTimeCheck, kMostCommonRadio};
    for (std::size_t i = 0; i < std::size(checks); ++i) {
        controls.setChecked(kMainWindow, checks[i], (flags >> i) & 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    RecordControls controls{mainWindowSpec()};
    fillNumberBoxes(input, controls);
    RandomSource random(input.takeByte());
    const bool folderForm = input.takeBool();
    const std::string title(input.takeText());
    const std::string link(input.takeText());
    const std::vector<std::string> randomTitles{title, std::string(input.takeText())};
    const std::vector<std::string> randomLinks{link};
    const std::string pageTemplate(input.takeText());
    const std::string content(input.takeRest());

    ExpansionState state(controls, random);
    const PageValues values{title, link,         link,        title,   link,
                            title, randomTitles, randomLinks, content, folderForm};
    // Two pages: the counter and the keyword cursor go on from the first.
    expandPage(pageTemplate, values, state);
    expandPage(pageTemplate, values, state);
    descriptionOf(content, state);
    keywordsText(state);
    return 0;
}
