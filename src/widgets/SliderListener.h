#pragma once

namespace Zarvo {

// Receives the value changes of a slider (not owned by it).
class SliderListener {
public:
    virtual ~SliderListener() = default;
    virtual void SliderVal(int id, double value) { (void)id, (void)value; }
};

}  // namespace Zarvo
