// Pictures of the windows for the documentation (scripts/screenshots.sh): the main window on
// each tab page, the "更多" menu, the phrase editor, the input dialog and the help text. The
// other windows are opened as the user opens them, through the shell's handlers.
#pragma once

#include <QString>

#include "qt/event_sink.h"
#include "qt/qt_controls.h"

namespace yelian {

// Saves the PNG files into folder; false when one could not be written.
bool saveScreenshots(QtControls& controls, EventSink& sink, const QString& folder);

}  // namespace yelian
