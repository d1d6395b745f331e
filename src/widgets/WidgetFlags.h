#pragma once

namespace Zarvo {

// Bits of a widget pass flags word: what the update, draw and mouse passes do with a widget.
enum WidgetFlags : int {
    kWidgetFlagUpdate = 1,       // the widget's update operations run
    kWidgetFlagMarkDirty = 2,    // the widget is marked dirty on every update pass
    kWidgetFlagDraw = 4,         // the widget's own drawing runs
    kWidgetFlagClip = 8,         // drawing is clipped to the widget's rectangle
    kWidgetFlagAllowMouse = 16,  // the mouse hit test may find the widget
    kWidgetFlagAllowFocus = 32,  // the widget may keep the keyboard focus
};

}  // namespace Zarvo
