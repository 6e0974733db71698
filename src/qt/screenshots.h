// Pictures of the windows for the documentation (scripts/screenshots.sh): the main window on
// each tab page, the "更多" menu, the phrase editor, the input dialog and the help text. The
// other windows are opened as the user opens them, through the shell's handlers.
#pragma once

#include <QString>

#include <string>
#include "qt/event_sink.h"

#include "qt/qt_controls.h"

namespace yelian {

// Saves the PNG files into folder; false when one could not be written. With a page address
// the template maker is shown after a generation from that page.
bool saveScreenshots(QtControls& controls, EventSink& sink, const QString& folder,
                     const std::string& pageUrl);

}  // namespace yelian
