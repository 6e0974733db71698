// The multi-line input dialog on Qt: its boxes placed by the shell's layout rule for the
// current client size, and the look of information mode that the control operations do not
// cover (the default button, the read-only text's background).
#pragma once

#include "qt/qt_controls.h"
#include "shell/dialog_request.h"

namespace yelian {

// From now on the dialog arranges itself from request whenever it opens or is resized.
void installInputDialogPlacement(QtControls& controls, const DialogRequest& request);

// Places the boxes of an open dialog for its client size and applies the mode's look.
void placeInputDialog(QtWindow& dialog, const DialogRequest& request, const WidgetScale& scale);

}  // namespace yelian
