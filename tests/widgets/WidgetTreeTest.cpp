#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "TestWidget.h"
#include "widgets/WidgetManager.h"

namespace Zarvo::test {
namespace {

using Log = std::vector<std::string>;

std::vector<const Widget*> Order(const WidgetContainer& c) {
    return std::vector<const Widget*>(c.children.begin(), c.children.end());
}

void ClearDirty(WidgetContainer& c) {
    c.dirty = false;
    for (Widget* w : c.children) ClearDirty(*w);
}

class WidgetTreeTest : public ::testing::Test {
protected:
    WidgetManager manager{nullptr};
    Log log;

    void SetUp() override { manager.SetMouseTransform(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480)); }
};

TEST_F(WidgetTreeTest, EqualZOrdersStackNewestOnTopAndLowerPutsBelow) {
    TestWidget a("a", &log), b("b", &log);
    manager.AddChild(&a);
    manager.AddChild(&b);
    manager.AddChild(&a);  // a second add leaves one entry
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&a, &b}));

    manager.LowerToBottom(&b);
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&b, &a}));
    manager.RaiseToTop(&b);
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&a, &b}));
    EXPECT_EQ(log, (Log{"b:order", "b:order"}));
}

TEST_F(WidgetTreeTest, ZOrderDecidesThePlaceAmongSiblings) {
    TestWidget low("low", &log), mid("mid", &log), high("high", &log), mid2("mid2", &log);
    low.zOrder = -1;
    high.zOrder = 1;
    manager.AddChild(&high);
    manager.AddChild(&mid);
    manager.AddChild(&low);
    manager.AddChild(&mid2);
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&low, &mid, &mid2, &high}));

    manager.RaiseToTop(&low);  // raising cannot lift it above higher z orders
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&low, &mid, &mid2, &high}));
    manager.LowerToBottom(&mid2);
    EXPECT_EQ(Order(manager), (std::vector<const Widget*>{&low, &mid2, &mid, &high}));
}

TEST_F(WidgetTreeTest, PlaceBelowAndAboveRespectZOrder) {
    struct Case {
        bool above;
        char reference;
        int zOrder;
        std::string expected;
    };
    const Case cases[] = {
        {false, 'p', 0, "wpqrs"}, {true, 'p', 0, "pwqrs"}, {true, 'r', 0, "pqrws"},
        {false, 'q', 0, "pwqrs"}, {true, 's', 0, "pqrws"}, {false, 's', 0, "pqrws"},
        {false, 'p', 5, "pqrws"}, {true, 's', 5, "pqrsw"},
    };
    for (const Case& c : cases) {
        WidgetManager m(nullptr);
        TestWidget p("p", nullptr), q("q", nullptr), r("r", nullptr), s("s", nullptr),
            w("w", nullptr);
        s.zOrder = 5;
        for (TestWidget* t : {&p, &q, &r, &s, &w}) m.AddChild(t);
        w.zOrder = c.zOrder;
        TestWidget* ref = c.reference == 'p'   ? &p
                          : c.reference == 'q' ? &q
                          : c.reference == 'r' ? &r
                                               : &s;
        if (c.above) {
            m.PlaceAbove(&w, ref);
        } else {
            m.PlaceBelow(&w, ref);
        }
        std::string order;
        for (const Widget* child : m.children) order += static_cast<const TestWidget*>(child)->name;
        EXPECT_EQ(order, c.expected)
            << (c.above ? "above " : "below ") << c.reference << " z" << c.zOrder;
    }
}

TEST_F(WidgetTreeTest, ComesBeforeWalksDepthFirst) {
    TestWidget a("a", &log), a1("a1", &log), b("b", &log);
    a.AddChild(&a1);
    manager.AddChild(&a);
    manager.AddChild(&b);
    EXPECT_TRUE(manager.ComesBefore(&a, &a1));
    EXPECT_TRUE(manager.ComesBefore(&a1, &b));
    EXPECT_FALSE(manager.ComesBefore(&b, &a1));
    EXPECT_FALSE(manager.ComesBefore(&a, &a));
}

TEST_F(WidgetTreeTest, WidgetRemovingItselfDuringUpdateDoesNotSkipItsSibling) {
    for (int remover = 0; remover < 3; ++remover) {
        Log events;
        WidgetManager m(nullptr);
        TestWidget a("a", &events), b("b", &events), c("c", &events);
        TestWidget* all[] = {&a, &b, &c};
        for (TestWidget* t : all) m.AddChild(t);
        all[remover]->onUpdate = [&m](TestWidget& self) { m.RemoveChild(&self); };
        m.RunUpdatePass();
        EXPECT_EQ(events, (Log{"a:update", "b:update", "c:update"})) << "remover " << remover;
        EXPECT_EQ(m.children.size(), 2u);
        EXPECT_EQ(all[remover]->parent, nullptr);
    }
}

TEST_F(WidgetTreeTest, ReparentedWidgetIsUpdatedOncePerPass) {
    TestWidget first("p1", &log), second("p2", &log), w("w", &log);
    first.AddChild(&w);
    manager.AddChild(&first);
    manager.AddChild(&second);
    w.onUpdate = [&](TestWidget& self) {
        if (self.parent == &first) {
            first.RemoveChild(&self);
            second.AddChild(&self);
        }
    };
    manager.RunUpdatePass();
    EXPECT_EQ(log, (Log{"p1:update", "w:update", "p2:update"}));
    EXPECT_EQ(w.parent, &second);
    EXPECT_EQ(w.updateCount, 1);

    log.clear();
    manager.RunUpdatePass();
    EXPECT_EQ(log, (Log{"p1:update", "p2:update", "w:update"}));
}

TEST_F(WidgetTreeTest, FlagsModifiersSelectWhatTheUpdatePassDoes) {
    TestWidget a("a", &log), base("base", &log), c("c", &log), sleeper("sleeper", &log);
    sleeper.flagsMod = FlagsMod{kWidgetFlagMarkDirty, kWidgetFlagUpdate};
    for (TestWidget* t : {&a, &base, &c, &sleeper}) manager.AddChild(t);
    manager.AddModalLayer(&base, FlagsMod{0, kWidgetFlagUpdate});
    ClearDirty(manager);

    EXPECT_TRUE(manager.RunUpdatePass());
    // Below the modal base nothing updates; the sleeper never updates but is marked dirty.
    EXPECT_EQ(log, (Log{"base:update", "c:update"}));
    EXPECT_TRUE(sleeper.dirty);
    EXPECT_FALSE(a.dirty);
}

TEST_F(WidgetTreeTest, InvalidatingAnAlreadyDirtyChildPropagatesNothing) {
    TestWidget a("a", &log, 0, 0, 100, 100), b("b", &log, 50, 50, 100, 100);
    TestWidget far("far", &log, 300, 300, 10, 10);
    for (TestWidget* t : {&a, &b, &far}) manager.AddChild(t);
    ClearDirty(manager);

    a.Invalidate();
    EXPECT_TRUE(a.dirty);
    EXPECT_TRUE(b.dirty);  // overlaps it from above
    EXPECT_FALSE(far.dirty);
    EXPECT_TRUE(manager.dirty);

    b.dirty = false;
    manager.dirty = false;
    a.Invalidate();
    EXPECT_FALSE(b.dirty);
    EXPECT_FALSE(manager.dirty);
}

TEST_F(WidgetTreeTest, HidingMarksWhatLiesBehindShowingOnlyWhatLiesAbove) {
    TestWidget back("back", &log, 0, 0, 200, 200), mid("mid", &log, 50, 50, 50, 50);
    TestWidget front("front", &log, 80, 80, 50, 50), far("far", &log, 300, 300, 10, 10);
    back.hasTransparencies = true;  // so that it alone does not stop the walk
    for (TestWidget* t : {&back, &mid, &front, &far}) manager.AddChild(t);
    ClearDirty(manager);

    mid.Show(false);
    EXPECT_TRUE(back.dirty);
    EXPECT_TRUE(mid.dirty);
    EXPECT_TRUE(front.dirty);
    EXPECT_FALSE(far.dirty);

    ClearDirty(manager);
    mid.Show(true);
    EXPECT_FALSE(back.dirty);
    EXPECT_TRUE(mid.dirty);
    EXPECT_TRUE(front.dirty);
    EXPECT_FALSE(far.dirty);

    ClearDirty(manager);
    mid.Show(true);  // no change, no effect
    EXPECT_FALSE(mid.dirty);
}

TEST_F(WidgetTreeTest, OpaqueCoverStopsTheBackgroundWalk) {
    struct Case {
        const char* what;
        Rect cover;
        bool transparencies;
        bool alpha;
        bool bottomDirty;
    };
    const Case cases[] = {
        {"opaque and covering", Rect(0, 0, 200, 200), false, false, false},
        {"exactly covering", Rect(50, 50, 50, 50), false, false, false},
        {"with transparencies", Rect(0, 0, 200, 200), true, false, true},
        {"with alpha", Rect(0, 0, 200, 200), false, true, true},
        {"short by one pixel", Rect(50, 50, 49, 50), false, false, true},
    };
    for (const Case& c : cases) {
        WidgetManager m(nullptr);
        m.SetMouseTransform(Rect(0, 0, 640, 480), Rect(0, 0, 640, 480));
        TestWidget bottom("bottom", nullptr, 0, 0, 300, 300), cover("cover", nullptr);
        TestWidget mid("mid", nullptr, 50, 50, 50, 50);
        cover.SetBounds(c.cover);
        cover.hasTransparencies = c.transparencies;
        cover.hasAlpha = c.alpha;
        for (TestWidget* t : {&bottom, &cover, &mid}) m.AddChild(t);
        ClearDirty(m);

        mid.Show(false);
        EXPECT_TRUE(cover.dirty) << c.what;
        EXPECT_EQ(bottom.dirty, c.bottomDirty) << c.what;
    }
}

TEST_F(WidgetTreeTest, AlphaWidgetRedrawsItsBackground) {
    TestWidget back("back", &log, 0, 0, 100, 100), glass("glass", &log, 10, 10, 20, 20);
    glass.hasAlpha = true;
    manager.AddChild(&back);
    manager.AddChild(&glass);
    ClearDirty(manager);
    glass.Invalidate();
    EXPECT_TRUE(back.dirty);
}

TEST_F(WidgetTreeTest, NestedInvalidationReachesTheTopLevelAndItsOverlaps) {
    TestWidget panel("panel", &log, 0, 0, 100, 100), inner("inner", &log, 10, 10, 10, 10);
    TestWidget above("above", &log, 90, 90, 50, 50), beside("beside", &log, 0, 0, 5, 5);
    panel.AddChild(&beside);
    panel.AddChild(&inner);
    manager.AddChild(&panel);
    manager.AddChild(&above);
    ClearDirty(manager);

    inner.Invalidate();
    EXPECT_TRUE(inner.dirty);
    EXPECT_TRUE(panel.dirty);
    EXPECT_TRUE(above.dirty);
    EXPECT_TRUE(manager.dirty);
    EXPECT_FALSE(beside.dirty);  // only the root looks at overlaps
}

TEST_F(WidgetTreeTest, MovingMarksTheOldPlaceAndWhatCoversTheNewOne) {
    TestWidget back("back", &log, 0, 0, 100, 100), w("w", &log, 10, 10, 20, 20);
    TestWidget top("top", &log, 200, 200, 50, 50);
    for (TestWidget* t : {&back, &w, &top}) manager.AddChild(t);
    ClearDirty(manager);

    w.MoveTo(210, 210);
    EXPECT_TRUE(back.dirty);
    EXPECT_TRUE(top.dirty);
    EXPECT_EQ(w.Bounds(), Rect(210, 210, 20, 20));
}

TEST_F(WidgetTreeTest, InvalidateSubtreeMarksEverything) {
    TestWidget a("a", &log), a1("a1", &log), b("b", &log);
    a.AddChild(&a1);
    manager.AddChild(&a);
    manager.AddChild(&b);
    ClearDirty(manager);
    manager.InvalidateSubtree();
    EXPECT_TRUE(manager.dirty && a.dirty && a1.dirty && b.dirty);
}

TEST_F(WidgetTreeTest, AttachingAndDetachingSetTheManagerThroughTheSubtree) {
    TestWidget a("a", &log), a1("a1", &log), a2("a2", &log);
    a1.AddChild(&a2);
    a.AddChild(&a1);
    EXPECT_EQ(a2.manager, nullptr);
    manager.AddChild(&a);
    EXPECT_EQ(a.manager, &manager);
    EXPECT_EQ(a2.manager, &manager);
    manager.RemoveChild(&a);
    EXPECT_EQ(a.manager, nullptr);
    EXPECT_EQ(a2.manager, nullptr);
    EXPECT_EQ(a.parent, nullptr);
    EXPECT_EQ(a2.parent, &a1);
}

TEST_F(WidgetTreeTest, DeletingAnAttachedWidgetTakesItOutOfTheTree) {
    auto* w = new TestWidget("w", &log, 0, 0, 10, 10);
    manager.AddChild(w);
    manager.PointerMoved(5, 5);
    EXPECT_EQ(manager.overWidget, w);
    delete w;
    EXPECT_TRUE(manager.children.empty());
    EXPECT_EQ(manager.overWidget, nullptr);
}

TEST_F(WidgetTreeTest, ClearChildrenCanDeleteRecursively) {
    auto* a = new TestWidget("a", &log);
    auto* a1 = new TestWidget("a1", &log);
    a->AddChild(a1);
    manager.AddChild(a);
    manager.ClearChildren(true, true);
    EXPECT_TRUE(manager.children.empty());
}

TEST_F(WidgetTreeTest, AbsolutePositionAddsTheParents) {
    TestWidget a("a", &log, 10, 20, 100, 100), a1("a1", &log, 3, 4, 10, 10);
    a.AddChild(&a1);
    manager.AddChild(&a);
    EXPECT_EQ(a1.AbsolutePosition(), (WidgetPoint{13, 24}));
}

TEST(WidgetHelpersTest, CountDigits) {
    TestWidget w("w", nullptr);
    const std::pair<int, int> cases[] = {{0, 1},   {9, 1},  {10, 2},          {99, 2},
                                         {100, 3}, {-5, 1}, {2147483647, 10}, {1000000000, 10}};
    for (auto [n, digits] : cases) EXPECT_EQ(w.CountDigits(n), digits) << n;
}

TEST(WidgetHelpersTest, PaletteEntries) {
    TestWidget w("w", nullptr);
    w.SetPaletteEntry(2, Color(1, 2, 3, 4));
    ASSERT_EQ(w.colors.size(), 3u);
    EXPECT_EQ(w.colors[0], Widget::DefaultColor());
    EXPECT_EQ(w.PaletteEntry(2), Color(1, 2, 3, 4));
    EXPECT_EQ(w.PaletteEntry(7), Widget::DefaultColor());
    EXPECT_EQ(w.PaletteEntry(7, Color(9, 9, 9, 9)), Color(9, 9, 9, 9));
    EXPECT_EQ(w.PaletteEntry(-1, Color(9, 9, 9, 9)), Color(9, 9, 9, 9));
    w.SetPaletteEntry(-1, Color(1, 1, 1, 1));
    w.SetPaletteEntry(1 << 30, Color(1, 1, 1, 1));  // refused instead of a huge array
    EXPECT_EQ(w.colors.size(), 3u);

    const std::array<int, 3> triples[] = {{10, 20, 30}, {40, 50, 60}};
    w.SetPalette(triples);
    ASSERT_EQ(w.colors.size(), 2u);
    EXPECT_EQ(w.colors[1], Color(40, 50, 60, 255));
    const std::array<int, 4> quads[] = {{1, 2, 3, 4}};
    w.SetPalette(quads);
    ASSERT_EQ(w.colors.size(), 1u);
    EXPECT_EQ(w.colors[0], Color(1, 2, 3, 4));
}

TEST(WidgetHelpersTest, MouseEventsMapClickCountsOntoButtons) {
    Log log;
    TestWidget w("w", &log);
    w.OnMouseDown(1, 2, 3);
    w.OnMouseDown(1, 2, -2);
    w.OnMouseDown(1, 2, 2);
    w.OnMouseUp(1, 2, -1);
    EXPECT_EQ(log,
              (Log{"w:down 1,2 b2 c1", "w:down 1,2 b1 c2", "w:down 1,2 b0 c2", "w:up 1,2 b1 c1"}));
}

TEST(WidgetHelpersTest, MouseRectAndContainsPoint) {
    TestWidget w("w", nullptr, 10, 20, 100, 50);
    w.mouseInsets = Insets{1, 2, 3, 4};
    EXPECT_EQ(w.MouseRect(), Rect(11, 22, 96, 44));
    EXPECT_TRUE(w.ContainsPoint(10, 20));
    EXPECT_TRUE(w.ContainsPoint(109, 69));
    EXPECT_FALSE(w.ContainsPoint(110, 69));
    EXPECT_FALSE(w.ContainsPoint(109, 70));
}

TEST(WidgetHelpersTest, LayoutRelative) {
    struct Case {
        int flags;
        bool toParent;
        int left, top, width, height;
        Rect expected;
    };
    // The widget starts at (5, 6, 30, 40); the relative sibling is (50, 60, 100, 80); the
    // parent is (100, 100, 400, 300) but counts as lying at (0, 0).
    const Case cases[] = {
        {0x40 | 0x100000, false, 0, 0, 20, 0, Rect(90, 6, 20, 40)},
        {0x400 | 0x4000, false, 5, 2, 0, 0, Rect(155, 62, 30, 40)},
        {0x100, false, 0, -3, 0, 0, Rect(5, 17, 30, 40)},
        {0x800, false, -4, 0, 0, 0, Rect(16, 6, 30, 40)},
        {0x200, false, 0, 1, 0, 0, Rect(5, 141, 30, 40)},
        {0x1 | 0x2, true, 0, 0, -10, -20, Rect(5, 6, 390, 280)},
        {0x1000 | 0x4000, true, 7, 8, 0, 0, Rect(7, 8, 30, 40)},
        {0x10 | 0x10000, false, 10, 0, 5, 0, Rect(10, 6, 145, 40)},
        {0x10 | 0x20000, false, 0, 0, 0, 0, Rect(0, 6, 50, 40)},
        {0x20 | 0x40000, false, 0, 10, 0, 0, Rect(5, 10, 30, 50)},
        {0x20 | 0x80000, false, 0, 70, 0, 0, Rect(5, 70, 30, 70)},
        {0x2000 | 0x8000, false, 0, 0, 0, 0, Rect(120, 100, 30, 40)},
        {0x80 | 0x200000, false, 0, 0, 0, 20, Rect(5, 90, 30, 20)},
        {0x4 | 0x8, false, 99, 99, 99, 99, Rect(5, 6, 30, 40)},
    };
    for (const Case& c : cases) {
        TestWidget parent("p", nullptr, 100, 100, 400, 300);
        TestWidget relative("r", nullptr, 50, 60, 100, 80);
        TestWidget w("w", nullptr, 5, 6, 30, 40);
        parent.AddChild(&relative);
        parent.AddChild(&w);
        w.LayoutRelative(c.flags, c.toParent ? static_cast<WidgetContainer*>(&parent) : &relative,
                         c.left, c.top, c.width, c.height);
        EXPECT_EQ(w.Bounds(), c.expected) << std::hex << c.flags;
    }
}

}  // namespace
}  // namespace Zarvo::test
