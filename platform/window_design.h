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

// How a window system that draws should present a control; no behaviour hangs on it.
enum class ControlLook {
    Plain,
    WindowTitle,   // the title on the window's own title band; dragging it moves the window
    Heading,       // a section heading
    Die,           // one drawn number, shown as a die face
    Countdown,     // the time left to the next draw, on its own dark pill
    ColumnHeader,  // an opaque header strip above a list
    Message,       // a centred message
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
    ControlLook look = ControlLook::Plain;
};

// A control with the fields most designs set; the rest keep their defaults.
inline ControlDesign MakeControl(const char* name, ControlKind kind, Rect geometry,
                                 const char* text = "", const char* parent = "") {
    ControlDesign design;
    design.name = name;
    design.kind = kind;
    design.geometry = geometry;
    design.text = text;
    design.parent = parent;
    return design;
}

struct WindowDesign {
    std::string name;
    std::string caption;
    Rect geometry;
    std::string background;   // artwork name of the background picture
    bool systemFrame = true;  // false: the window draws its own title band and buttons
    std::vector<ControlDesign> controls;
};

}  // namespace veltra
