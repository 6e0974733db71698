// Window tables: each window's controls as data, written once. The Qt backend builds its
// widgets from them (objectName = control name) and the plain record builds its values from
// them. All texts are GBK.
#pragma once

#include <string>
#include <vector>

#include "controls/control_ops.h"
#include "support/gbk_text.h"

namespace yelian {

// Tag texts of the design that tell the settings store how to keep a control: never, or as
// bytes in a side file of its own.
inline constexpr GbkConstant<"禁止保存"> kNeverSaveTag;
inline constexpr GbkConstant<"字节集方式"> kStoredAsBytesTag;

// Left, top, width, height in pixels, relative to the control's container.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlSpec {
    std::string name;
    ControlKind kind = ControlKind::Label;
    // The group box, frame or tab page that holds the control; empty for the window itself.
    std::string container;
    Geometry geometry;
    // Caption (buttons, labels, group boxes, check boxes, tab pages) or design text (edit boxes).
    std::string text;
    bool checked = false;
    // Design selection of combo boxes, list boxes and tab controls; -1 for none.
    int selectedIndex = -1;
    std::vector<std::string> items;
    bool visible = true;
    bool enabled = true;
    // Edit boxes: several lines; combo boxes: the edit part can be typed into.
    bool multiline = false;
    bool editable = false;
    // Edit boxes: the user cannot change the text.
    bool readOnly = false;
    // The free tag text of the design ("字节集方式", "禁止保存").
    std::string tag;
};

struct WindowSpec {
    std::string name;
    std::string caption;
    Geometry geometry;
    std::vector<ControlSpec> controls;
};

}  // namespace yelian
