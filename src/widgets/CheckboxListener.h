#pragma once

namespace Zarvo {

// Receives the changes of a checkbox (not owned by it).
class CheckboxListener {
public:
    virtual ~CheckboxListener() = default;
    virtual void CheckboxChecked(int id, bool checked) { (void)id, (void)checked; }
};

}  // namespace Zarvo
