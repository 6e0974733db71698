// The header bar's help text and the maker's web pages: the help is shown read-only in the
// input dialog, the pages open in the desktop's browser.
#pragma once

#include <string>
#include <string_view>

#include "shell/application.h"

namespace yelian {

// The help text (GBK, CR LF between lines).
const std::string& helpText();

// Shows the help text in the input dialog in information mode, titled "疑点说明", owned by the
// main window.
void showHelp(Application& app);

// Opens the address in the desktop's browser; nothing is said when no browser opens.
void openExternal(Application& app, std::string_view address);

// The maker's pages behind the header's contact link and home-page link (and the logo).
std::string_view contactPageAddress();
std::string_view homePageAddress();

}  // namespace yelian
