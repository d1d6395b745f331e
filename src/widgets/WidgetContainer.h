#pragma once

#include <list>

#include "graphics/Rect.h"
#include "widgets/FlagsMod.h"
#include "widgets/ModalFlags.h"
#include "widgets/WidgetPoint.h"

namespace Zarvo {

class Graphics;
class Widget;
class WidgetManager;

// A node of the widget tree: a rectangle, an ordered list of children (back to front), dirty
// state and the recursive update and draw passes. The children are not owned: whoever creates
// a widget deletes it, after taking it out of the tree.
class WidgetContainer {
public:
    using ChildList = std::list<Widget*>;

    ChildList children;  // back to front: the first child is drawn first and lies lowest
    WidgetManager* manager = nullptr;  // the tree's root, set while the subtree is attached
    WidgetContainer* parent = nullptr;
    // Where the running update pass stands in `children`; `updateMoved` is set when the child
    // under it was taken out, so the pass does not advance past its successor.
    ChildList::iterator updatePosition = children.end();
    bool updateMoved = false;
    int lastManagerUpdateCount = 0;  // the manager's update count at this node's last update
    int updateCount = 0;
    bool dirty = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool hasAlpha = false;  // drawn with partial transparency
    bool clip = true;       // clip own drawing to the rectangle
    FlagsMod flagsMod;      // applied on entry to every pass
    int priority = 0;       // deferred-overlay priority at which this node draws
    int zOrder = 0;         // sort key among siblings

    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer();

    virtual Rect Bounds() const;
    // The rectangles overlap; touching edges do not count.
    virtual bool Overlaps(const WidgetContainer* other) const;
    // Inserts `w` after the last child whose z order is at most its own, so that among equal
    // z orders the newest lies on top. Nothing when `w` is already a child.
    virtual void AddChild(Widget* w);
    // Takes `w` out and makes the manager forget its whole subtree. A child may remove itself
    // during its own update: the running pass then continues with the next sibling.
    virtual void RemoveChild(Widget* w);
    virtual bool HasChild(const Widget* w) const;
    virtual void ForgetWidget(Widget* w);
    virtual void ClearChildren(bool deleteThem = false, bool recursive = false);
    virtual void GiveFocus(Widget* w);
    // Whether a depth-first walk of this subtree in child order meets `a` before `b`.
    virtual bool ComesBefore(const Widget* a, const Widget* b) const;
    virtual void InvalidateSubtree();
    virtual void RaiseToTop(Widget* w);
    virtual void LowerToBottom(Widget* w);
    virtual void PlaceBelow(Widget* w, Widget* reference);
    virtual void PlaceAbove(Widget* w, Widget* reference);
    virtual WidgetPoint AbsolutePosition() const;
    // Marks `child` dirty and everything that must be redrawn with it; only the root looks at
    // the overlaps between siblings.
    virtual void InvalidateChild(Widget* child);
    virtual void Invalidate();
    // Like `InvalidateChild`, and also what lies behind `child`, down to the first opaque
    // sibling that covers it completely.
    virtual void InvalidateChildWithBackground(Widget* child);
    virtual void InvalidateWithBackground();
    virtual void OnAttached(WidgetManager* m);
    virtual void OnDetached(WidgetManager* m);
    virtual void UpdateSelf();
    virtual void UpdateTree(ModalFlags& flags);
    virtual void UpdateSelfFraction(float fraction);
    virtual void UpdateTreeFraction(ModalFlags& flags, float fraction);
    virtual void DrawSelf(Graphics* g);
    virtual void DrawTree(ModalFlags& flags, Graphics* g);
    virtual void SystemColoursChangedTree();
    virtual void OnSystemColoursChanged();

protected:
    // Takes `w` out of `children`, moving a running update pass off it.
    void UnlinkChild(ChildList::iterator it);
    // Inserts `w` as adding does: after the last child with a z order at most its own.
    void InsertByZOrder(Widget* w);
    void InsertBelowByZOrder(Widget* w);
    void InsertFrom(Widget* w, ChildList::iterator start);
    void RunChildUpdates(ModalFlags& flags, bool fraction, float fractionValue);
};

}  // namespace Zarvo
