#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestWidget.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/WidgetManager.h"

namespace Zarvo::test {
namespace {

using Log = std::vector<std::string>;

std::string Str(const Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

// A drawing target that records the rectangles the context hands it (already translated and
// clipped).
class RecordingImage : public Image {
public:
    Log* log;
    RecordingImage(Log* eventLog, int w, int h) : log(eventLog) {
        width = w;
        height = h;
    }
    void FillRect(const Rect& rect, const Color&, int) override {
        log->push_back("fill " + Str(rect));
    }
    void Blt(Image*, int bx, int by, const Rect& src, const Color&, int) override {
        log->push_back("blt " + std::to_string(bx) + "," + std::to_string(by) + " src " + Str(src));
    }
};

// Fills far beyond its own rectangle, so the recorded rectangle shows the clipping; may queue
// overlays while drawing.
class PaintWidget : public TestWidget {
public:
    std::vector<int> overlays;
    using TestWidget::TestWidget;
    void DrawSelf(Graphics* g) override {
        Record("draw");
        g->FillRect(-1000, -1000, 3000, 3000);
        for (int p : overlays) manager->DeferOverlay(this, p);
    }
    void DrawOverlayLayer(Graphics* g, int overlayPriority) override {
        Record("overlay " + std::to_string(overlayPriority));
        g->FillRect(0, 0, 1, 1);
    }
};

class WidgetDrawTest : public ::testing::Test {
protected:
    Log log;
    RecordingImage screen{&log, 640, 480};
    WidgetManager manager{nullptr};

    void SetUp() override {
        manager.SetMouseTransform(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480));
        manager.SetBackBuffer(&screen);
    }
    Log Take() {
        Log taken;
        taken.swap(log);
        return taken;
    }
};

TEST_F(WidgetDrawTest, DrawsDirtyTopLevelWidgetsTranslatedAndClipped) {
    PaintWidget a("a", &log, 10, 10, 20, 20), inner("inner", &log, 5, 5, 50, 5);
    PaintWidget b("b", &log, 100, 100, 10, 10);
    a.AddChild(&inner);
    manager.AddChild(&a);
    manager.AddChild(&b);
    EXPECT_TRUE(manager.RunDrawPass());
    Take();

    a.Invalidate();
    EXPECT_TRUE(manager.RunDrawPass());
    // The inner widget is clipped by its own rectangle and by its parent's.
    EXPECT_EQ(Take(), (Log{"a:draw", "fill 10,10 20x20", "inner:draw", "fill 15,15 15x5"}));
    EXPECT_FALSE(a.dirty || inner.dirty || b.dirty || manager.dirty);

    EXPECT_FALSE(manager.RunDrawPass());
    EXPECT_EQ(Take(), Log{});
}

TEST_F(WidgetDrawTest, FlagsAndTheClipSwitchDecideWhatIsDrawnWhere) {
    PaintWidget loose("loose", &log, 10, 10, 20, 20), silent("silent", &log, 50, 50, 5, 5);
    loose.clip = false;
    silent.flagsMod = FlagsMod{0, kWidgetFlagDraw};
    manager.AddChild(&loose);
    manager.AddChild(&silent);
    manager.RunDrawPass();
    EXPECT_EQ(Take(), (Log{"loose:draw", "fill 0,0 640x480"}));
}

TEST_F(WidgetDrawTest, HiddenWidgetsAreNotDrawnAndBelowModalFlagsApply) {
    PaintWidget below("below", &log, 0, 0, 10, 10), base("base", &log, 20, 0, 10, 10);
    PaintWidget hidden("hidden", &log, 40, 0, 10, 10), top("top", &log, 60, 0, 10, 10);
    hidden.visible = false;
    for (PaintWidget* w : {&below, &base, &hidden, &top}) manager.AddChild(w);
    manager.AddModalLayer(&base, FlagsMod{0, kWidgetFlagDraw});
    manager.InvalidateSubtree();
    manager.RunDrawPass();
    EXPECT_EQ(Take(), (Log{"base:draw", "fill 20,0 10x10", "top:draw", "fill 60,0 10x10"}));
    EXPECT_FALSE(hidden.dirty);
}

TEST_F(WidgetDrawTest, ShowingANestedChildAgainRedrawsItsParent) {
    PaintWidget panel("panel", &log, 0, 0, 100, 100), child("child", &log, 10, 10, 10, 10);
    panel.AddChild(&child);
    manager.AddChild(&panel);
    manager.RunDrawPass();
    Take();
    child.Show(false);
    manager.RunDrawPass();
    EXPECT_EQ(Take(), (Log{"panel:draw", "fill 0,0 100x100"}));

    child.Show(true);
    EXPECT_TRUE(panel.dirty);
    manager.RunDrawPass();
    EXPECT_EQ(Take(), (Log{"panel:draw", "fill 0,0 100x100", "child:draw", "fill 10,10 10x10"}));
}

TEST_F(WidgetDrawTest, OverlaysInterleaveWithTheTreeByPriority) {
    PaintWidget first("first", &log, 0, 0, 10, 10), second("second", &log, 20, 0, 10, 10);
    PaintWidget third("third", &log, 40, 0, 10, 10);
    first.overlays = {5, 1, 1};
    second.priority = 3;
    third.priority = 3;
    for (PaintWidget* w : {&first, &second, &third}) manager.AddChild(w);
    manager.RunDrawPass();
    // Before the priority-3 widget draws, the overlays below 3 are drawn; the rest after the
    // tree. Overlays are drawn at the widget's position and are not clipped to it.
    EXPECT_EQ(Take(), (Log{"first:draw", "fill 0,0 10x10", "first:overlay 1", "fill 0,0 1x1",
                           "first:overlay 1", "fill 0,0 1x1", "second:draw", "fill 20,0 10x10",
                           "third:draw", "fill 40,0 10x10", "first:overlay 5", "fill 0,0 1x1"}));
    EXPECT_TRUE(manager.deferredOverlays.empty());
    EXPECT_EQ(manager.minDeferredOverlayPriority, INT_MAX);
}

TEST_F(WidgetDrawTest, WithoutBackBufferNothingIsDrawnAndDirtyMarksWait) {
    PaintWidget a("a", &log, 0, 0, 10, 10);
    manager.AddChild(&a);
    manager.SetBackBuffer(nullptr);
    EXPECT_FALSE(manager.RunDrawPass());
    EXPECT_TRUE(a.dirty);
    manager.SetBackBuffer(&screen);
    EXPECT_TRUE(manager.RunDrawPass());
}

TEST_F(WidgetDrawTest, DrawNumberFromStripDrawsEachDigitThroughItsOwnClip) {
    RecordingImage strip(&log, 100, 12);
    TestWidget w("w", nullptr);
    Graphics g(&screen);
    w.DrawNumberFromStrip(&g, 205, 50, 60, &strip, 2);
    EXPECT_EQ(Take(), (Log{"blt 50,60 src 20,0 10x12", "blt 62,60 src 0,0 10x12",
                           "blt 74,60 src 50,0 10x12"}));
    w.DrawNumberFromStrip(&g, 0, 0, 0, &strip, 0);
    EXPECT_EQ(Take(), (Log{"blt 0,0 src 0,0 10x12"}));
}

// A font whose characters are all 7 pixels wide, ascent 10, height 14.
class FixedFont : public Font {
public:
    Log* log;
    explicit FixedFont(Log* eventLog) : log(eventLog) {
        ascent = 10;
        height = 14;
    }
    int StringWidth(const std::string& text) override { return 7 * int(text.size()); }
    void DrawString(Graphics*, int dx, int dy, const std::string& text, const Color& color,
                    const Rect&) override {
        log->push_back("text '" + text + "' " + std::to_string(dx) + "," + std::to_string(dy) +
                       " " + std::to_string(color.red));
    }
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<FixedFont>(log); }
};

TEST_F(WidgetDrawTest, TextHelpers) {
    FixedFont font(&log);
    TestWidget w("w", nullptr, 0, 0, 100, 50);
    Graphics g(&screen);
    g.SetFont(&font);
    g.SetColor(Color(9, 0, 0));

    EXPECT_EQ(w.WriteCenteredLine(&g, 30, "abc"), Rect(39, 20, 21, 14));
    EXPECT_EQ(Take(), (Log{"text 'abc' 39,30 9"}));

    EXPECT_EQ(w.WriteCenteredLine(&g, 30, "abc", Color(200, 0, 0), Color(1, 0, 0), 1, 2),
              Rect(39, 20, 22, 16));
    EXPECT_EQ(Take(), (Log{"text 'abc' 40,32 1", "text 'abc' 39,30 200"}));

    // The string writer turns colour codes on for the call and restores the switch.
    g.SetWriteColoredString(false);
    g.SetColor(Color(9, 0, 0));
    EXPECT_EQ(w.WriteString(&g, "a^FF0000^b", 0, 10), 14);
    EXPECT_EQ(Take(), (Log{"text 'a' 0,10 9", "text 'b' 7,10 255"}));
    EXPECT_FALSE(g.GetWriteColoredString());
}

}  // namespace
}  // namespace Zarvo::test
