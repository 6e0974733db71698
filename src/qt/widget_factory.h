// Builds the widgets of one control from its window table entry: a switch over the control
// kinds, objectName = control name, geometry from the table scaled for the screen.
#pragma once

#include <QWidget>

#include "controls/window_table.h"

namespace yelian {

// Where the design's pixels land on this screen, and the one place that says how much room
// Linux fonts need beyond the design.
struct WidgetScale {
    double factor = 1.0;
    QRect rect(const Geometry& geometry) const;
    int pixels(int designPixels) const;
};

// The scale for the primary screen: its logical DPI against the design's 96.
WidgetScale screenScale();

// Tab controls keep a header band of this height (design pixels) above their pages; the
// table places the pages' controls below it.
inline constexpr int kTabHeaderHeight = 26;

// A widget for the control, a child of parent, in its design state. Tab pages are added to
// their tab control (parent); menu items have no widget (nullptr).
// isContainer: other controls lie on it (a picture box holding pictures is drawn as a band).
QWidget* createControlWidget(const ControlSpec& spec, QWidget* parent, const WidgetScale& scale,
                             bool isContainer);

// The application's font: one CJK font for every window, sized like the design's.
QFont designFont();

}  // namespace yelian
