#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace Zarvo::test {

// A widget that writes every event it receives into a shared log as "name:event".
class TestWidget : public Widget {
public:
    std::string name;
    std::vector<std::string>* log = nullptr;
    std::function<void(TestWidget&)> onUpdate;
    std::function<bool(int, int)> hits;
    int selfUpdates = 0;

    TestWidget(std::string widgetName, std::vector<std::string>* eventLog, int wx = 0, int wy = 0,
               int ww = 0, int wh = 0)
        : name(std::move(widgetName)), log(eventLog) {
        x = wx;
        y = wy;
        width = ww;
        height = wh;
    }

    void Record(const std::string& event) {
        if (log != nullptr) log->push_back(name + ":" + event);
    }
    static std::string Pt(int px, int py) { return std::to_string(px) + "," + std::to_string(py); }

    void UpdateSelf() override {
        Widget::UpdateSelf();
        ++selfUpdates;
        Record("update");
        if (onUpdate) onUpdate(*this);
    }
    void OnOrderChanged() override { Record("order"); }
    void OnMouseEnter() override { Record("enter"); }
    void OnMouseLeave() override { Record("leave"); }
    void OnMouseMove(int mx, int my) override { Record("move " + Pt(mx, my)); }
    void OnMouseDrag(int mx, int my) override { Record("drag " + Pt(mx, my)); }
    void OnMouseButtonDown(int mx, int my, int button, int clicks) override {
        Record("down " + Pt(mx, my) + " b" + std::to_string(button) + " c" +
               std::to_string(clicks));
    }
    void OnMouseButtonUp(int mx, int my, int button, int clicks) override {
        Record("up " + Pt(mx, my) + " b" + std::to_string(button) + " c" + std::to_string(clicks));
    }
    void OnMouseWheel(int delta) override { Record("wheel " + std::to_string(delta)); }
    void OnKeyDown(int key) override {
        Record("keydown " + std::to_string(key));
        Widget::OnKeyDown(key);
    }
    void OnKeyUp(int key) override { Record("keyup " + std::to_string(key)); }
    void OnKeyChar(char c) override { Record("char " + std::to_string(int(c))); }
    void OnGotFocus() override {
        Widget::OnGotFocus();
        Record("gotfocus");
    }
    void OnLostFocus() override {
        Widget::OnLostFocus();
        Record("lostfocus");
    }
    bool HitsPoint(int hx, int hy) override { return hits ? hits(hx, hy) : true; }
};

}  // namespace Zarvo::test
