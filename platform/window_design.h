// What a window is made of: its controls with their kinds, design geometry and
// design texts. The logic describes its windows this way; every window system
// (the desktop toolkit, the headless one) builds them from the same description.
#pragma once

#include <string>
#include <vector>

namespace veltra {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class ControlKind {
    Label,
    TransparentLabel,
    PictureButton,
    Button,
    Panel,
    Timer,
    EditBox,      // single line
    SpinEditBox,  // single line with a spin adjuster
    PlanEditBox,  // multi-line, selectable, typing filtered by the program
    ComboBox,
    Slider,
    ListView,  // report style
    Browser,   // shows a web page
    BalloonTip,
    PictureBox,
};

struct ListColumn {
    std::string title;
    int width = 0;
};

struct ControlDesign {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string parent;  // a panel's name, or empty for the window itself
    Rect geometry;       // relative to the parent
    std::string text;
    bool visible = true;
    std::vector<std::string> items;              // combo box items
    std::vector<ListColumn> columns;             // list view columns
    std::vector<std::vector<std::string>> rows;  // design-time list rows
    std::string picture;                         // artwork name for pictures and picture buttons
};

struct WindowDesign {
    std::string name;
    std::string caption;
    Rect geometry;
    std::string background;  // artwork name of the background picture
    std::vector<ControlDesign> controls;
};

}  // namespace veltra
