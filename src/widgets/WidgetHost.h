#pragma once

namespace Zarvo {

// What the widget manager asks of the application that owns it. The application implements it;
// the widgets never see the application itself.
class WidgetHost {
public:
    virtual ~WidgetHost() = default;
    // Switches the mouse cursor to one of the cursor ids.
    virtual void SetCursorId(int id) = 0;
};

}  // namespace Zarvo
