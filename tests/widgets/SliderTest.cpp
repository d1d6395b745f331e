// The slider: its value from where the mouse puts the thumb, held to 0..1, and told to its
// listener only when it changes.
#include "widgets/Slider.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "widgets/SliderListener.h"

namespace Zarvo {
namespace {

class Recorder : public SliderListener {
public:
    std::vector<std::pair<int, double>> values;
    void SliderVal(int id, double value) override { values.emplace_back(id, value); }
};

TEST(SliderTest, TheMousePutsTheThumbsCentreUnderItAndTheValueStaysInRange) {
    Recorder listener;
    Slider slider(nullptr, nullptr, 4, &listener);  // plain thumb, 10 pixels wide
    slider.SetBounds(0, 0, 110, 20);
    struct Case {
        int mouseX;
        double value;
        int thumbX;
    };
    const Case cases[] = {{5, 0.0, 0},   {55, 0.5, 50},   {105, 1.0, 100},
                          {-40, 0.0, 0}, {500, 1.0, 100}, {30, 0.25, 25}};
    for (const Case& c : cases) {
        slider.OnMouseDrag(c.mouseX, 10);
        EXPECT_DOUBLE_EQ(slider.GetValue(), c.value) << c.mouseX;
        EXPECT_EQ(slider.ThumbX(), c.thumbX) << c.mouseX;
    }
    // Dragging to where it already is tells nothing new.
    const std::vector<std::pair<int, double>> expected = {
        {4, 0.5}, {4, 1.0}, {4, 0.0}, {4, 1.0}, {4, 0.25}};
    EXPECT_EQ(listener.values, expected);
}

TEST(SliderTest, SetValueHoldsToTheRangeAndTellsOnlyWhenAsked) {
    Recorder listener;
    Slider slider(nullptr, nullptr, 1, &listener);
    slider.SetValue(1.7, false);
    EXPECT_DOUBLE_EQ(slider.GetValue(), 1.0);
    slider.SetValue(-3.0);
    EXPECT_DOUBLE_EQ(slider.GetValue(), 0.0);
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_DOUBLE_EQ(listener.values[0].second, 0.0);
}

}  // namespace
}  // namespace Zarvo
