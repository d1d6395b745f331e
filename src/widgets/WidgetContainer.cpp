#include "widgets/WidgetContainer.h"

#include <algorithm>
#include <vector>

#include "graphics/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {

WidgetContainer::~WidgetContainer() {
    // Children are not owned; they only lose their link to this node.
    for (Widget* child : children) child->parent = nullptr;
    children.clear();
}

Rect WidgetContainer::Bounds() const {
    return Rect(x, y, width, height);
}

bool WidgetContainer::Overlaps(const WidgetContainer* other) const {
    return other != nullptr && Bounds().Intersects(other->Bounds());
}

void WidgetContainer::InsertByZOrder(Widget* w) {
    // After the last child whose z order is at most w's: among equal z orders the newest lies
    // on top.
    auto it = children.end();
    while (it != children.begin()) {
        auto prev = std::prev(it);
        if ((*prev)->zOrder <= w->zOrder) break;
        it = prev;
    }
    children.insert(it, w);
}

void WidgetContainer::InsertBelowByZOrder(Widget* w) {
    auto it = std::find_if(children.begin(), children.end(),
                           [w](const Widget* c) { return c->zOrder >= w->zOrder; });
    children.insert(it, w);
}

void WidgetContainer::InsertFrom(Widget* w, ChildList::iterator start) {
    auto it = std::find_if(start, children.end(),
                           [w](const Widget* c) { return c->zOrder >= w->zOrder; });
    if (it == children.end() || ((*it)->zOrder > w->zOrder && it != children.begin())) {
        // A higher z order stands in the way (or nothing was found): go back to just after the
        // last child that w may lie above, or to the front when there is none.
        while (it != children.begin() && (*std::prev(it))->zOrder > w->zOrder) --it;
    }
    children.insert(it, w);
}

void WidgetContainer::UnlinkChild(ChildList::iterator it) {
    if (it == updatePosition) {
        updatePosition = std::next(it);
        updateMoved = true;
    }
    children.erase(it);
}

void WidgetContainer::AddChild(Widget* w) {
    if (w == nullptr || HasChild(w)) return;
    if (w->parent != nullptr) w->parent->RemoveChild(w);
    InsertByZOrder(w);
    w->manager = manager;
    w->parent = this;
    if (manager != nullptr) {
        w->OnAttached(manager);
        w->InvalidateWithBackground();
        manager->RecheckMouse();
    }
    Invalidate();
}

void WidgetContainer::RemoveChild(Widget* w) {
    if (w == nullptr || !HasChild(w)) return;
    if (manager != nullptr) {
        // What lay behind the widget shows again.
        if (w->visible) w->InvalidateWithBackground();
        WidgetManager* m = manager;
        w->OnDetached(m);
        m->ForgetWidget(w);
    }
    w->manager = nullptr;
    // The detach hooks may have moved the widget already.
    auto it = std::find(children.begin(), children.end(), w);
    if (it == children.end()) return;
    w->parent = nullptr;
    UnlinkChild(it);
}

bool WidgetContainer::HasChild(const Widget* w) const {
    return std::find(children.begin(), children.end(), w) != children.end();
}

void WidgetContainer::ForgetWidget(Widget*) {}

void WidgetContainer::ClearChildren(bool deleteThem, bool recursive) {
    while (!children.empty()) {
        Widget* child = children.front();
        RemoveChild(child);
        // A detach hook that put it back must not make this loop spin.
        if (!children.empty() && children.front() == child) {
            child->parent = nullptr;
            UnlinkChild(children.begin());
        }
        if (recursive) child->ClearChildren(deleteThem, recursive);
        if (deleteThem) delete child;
    }
}

void WidgetContainer::GiveFocus(Widget*) {}

namespace {

// Depth-first in child order: 1 when a is met first, 2 when b is, 0 when neither.
int FindFirstOf(const WidgetContainer* node, const Widget* a, const Widget* b) {
    for (const Widget* child : node->children) {
        if (child == a) return 1;
        if (child == b) return 2;
        if (int found = FindFirstOf(child, a, b)) return found;
    }
    return 0;
}

}  // namespace

bool WidgetContainer::ComesBefore(const Widget* a, const Widget* b) const {
    // A widget does not come before itself.
    return a != b && FindFirstOf(this, a, b) == 1;
}

void WidgetContainer::InvalidateSubtree() {
    Invalidate();
    for (Widget* child : children) {
        child->dirty = true;
        child->InvalidateSubtree();
    }
}

void WidgetContainer::RaiseToTop(Widget* w) {
    auto it = std::find(children.begin(), children.end(), w);
    if (it == children.end()) return;
    UnlinkChild(it);
    InsertByZOrder(w);
    w->OnOrderChanged();
}

void WidgetContainer::LowerToBottom(Widget* w) {
    auto it = std::find(children.begin(), children.end(), w);
    if (it == children.end()) return;
    UnlinkChild(it);
    InsertBelowByZOrder(w);
    w->OnOrderChanged();
}

void WidgetContainer::PlaceBelow(Widget* w, Widget* reference) {
    if (w == reference || !HasChild(reference)) return;
    auto it = std::find(children.begin(), children.end(), w);
    if (it == children.end()) return;
    UnlinkChild(it);
    InsertFrom(w, std::find(children.begin(), children.end(), reference));
    w->OnOrderChanged();
}

void WidgetContainer::PlaceAbove(Widget* w, Widget* reference) {
    if (w == reference || !HasChild(reference)) return;
    auto it = std::find(children.begin(), children.end(), w);
    if (it == children.end()) return;
    UnlinkChild(it);
    InsertFrom(w, std::next(std::find(children.begin(), children.end(), reference)));
    w->OnOrderChanged();
}

WidgetPoint WidgetContainer::AbsolutePosition() const {
    if (parent == nullptr) return {x, y};
    WidgetPoint p = parent->AbsolutePosition();
    return {p.x + x, p.y + y};
}

void WidgetContainer::Invalidate() {
    if (parent != nullptr) {
        parent->InvalidateChild(static_cast<Widget*>(this));
    } else {
        dirty = true;
    }
}

void WidgetContainer::InvalidateWithBackground() {
    if (parent != nullptr) {
        parent->InvalidateChildWithBackground(static_cast<Widget*>(this));
    } else {
        dirty = true;
    }
}

void WidgetContainer::InvalidateChild(Widget* child) {
    if (child->dirty) return;
    Invalidate();
    child->dirty = true;
    // Only the root looks at overlaps: deeper nodes are redrawn whole with their top-level
    // ancestor.
    if (parent != nullptr) return;
    if (child->hasAlpha) {
        InvalidateChildWithBackground(child);
        return;
    }
    auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end()) return;
    const Rect area = child->Bounds();
    for (++it; it != children.end(); ++it) {
        Widget* above = *it;
        if (above->visible && above->Bounds().Intersects(area)) InvalidateChild(above);
    }
}

void WidgetContainer::InvalidateChildWithBackground(Widget* child) {
    InvalidateWithBackground();
    child->dirty = true;
    if (parent != nullptr) return;
    auto pos = std::find(children.begin(), children.end(), child);
    if (pos == children.end()) return;
    const Rect area = child->Bounds();
    const Rect covered = area.Intersection(Bounds());
    // Behind the child, down to an opaque sibling that hides everything below it.
    for (auto it = pos; it != children.begin();) {
        --it;
        Widget* below = *it;
        if (!below->visible) continue;
        const bool opaque = !below->hasTransparencies && !below->hasAlpha;
        if (opaque && !covered.IsEmpty() && below->ContainsPoint(covered.x, covered.y) &&
            below->ContainsPoint(covered.x + covered.width - 1, covered.y + covered.height - 1)) {
            below->dirty = true;
            break;
        }
        if (below->Bounds().Intersects(area)) InvalidateChild(below);
    }
    for (auto it = std::next(pos); it != children.end(); ++it) {
        Widget* above = *it;
        if (above->visible && above->Bounds().Intersects(area)) InvalidateChild(above);
    }
}

void WidgetContainer::OnAttached(WidgetManager* m) {
    const std::vector<Widget*> snapshot(children.begin(), children.end());
    for (Widget* child : snapshot) {
        child->manager = m;
        child->OnAttached(m);
    }
    Invalidate();
}

void WidgetContainer::OnDetached(WidgetManager* m) {
    const std::vector<Widget*> snapshot(children.begin(), children.end());
    for (Widget* child : snapshot) {
        child->OnDetached(m);
        m->ForgetWidget(child);
        child->manager = nullptr;
    }
    if (m->popupCommandWidget == this) m->popupCommandWidget = nullptr;
}

void WidgetContainer::UpdateSelf() {}

void WidgetContainer::RunChildUpdates(ModalFlags& flags, bool fraction, float fractionValue) {
    // An update may detach this node; the manager itself stays.
    const WidgetManager* m = manager;
    for (updatePosition = children.begin(); updatePosition != children.end();) {
        updateMoved = false;
        Widget* child = *updatePosition;
        if (child == m->baseModalWidget) flags.isOver = true;
        if (fraction) {
            child->UpdateTreeFraction(flags, fractionValue);
        } else {
            child->UpdateTree(flags);
        }
        if (!updateMoved) ++updatePosition;
    }
    updateMoved = false;
}

void WidgetContainer::UpdateTree(ModalFlags& flags) {
    const ModalFlags saved = flags;
    flags.Apply(flagsMod);
    const int f = flags.Current();
    if (f & kWidgetFlagMarkDirty) Invalidate();
    if (manager != nullptr) {
        // Once per manager update, however often the node is reached (it may be moved to
        // a parent that the pass has not visited yet).
        if ((f & kWidgetFlagUpdate) && manager->updateCount != lastManagerUpdateCount) {
            lastManagerUpdateCount = manager->updateCount;
            UpdateSelf();
        }
        // The update may have detached this node.
        if (manager != nullptr) RunChildUpdates(flags, false, 0.0f);
    }
    flags.overFlags = saved.overFlags;
    flags.underFlags = saved.underFlags;
}

void WidgetContainer::UpdateSelfFraction(float) {}

void WidgetContainer::UpdateTreeFraction(ModalFlags& flags, float fraction) {
    const ModalFlags saved = flags;
    flags.Apply(flagsMod);
    const int f = flags.Current();
    if (f & kWidgetFlagMarkDirty) Invalidate();
    if (manager != nullptr) {
        if (f & kWidgetFlagUpdate) UpdateSelfFraction(fraction);
        if (manager != nullptr) RunChildUpdates(flags, true, fraction);
    }
    flags.overFlags = saved.overFlags;
    flags.underFlags = saved.underFlags;
}

void WidgetContainer::DrawSelf(Graphics*) {}

void WidgetContainer::DrawTree(ModalFlags& flags, Graphics* g) {
    if (manager != nullptr && manager->minDeferredOverlayPriority < priority) {
        manager->DrawOverlaysBelow(priority);
    }
    const ModalFlags saved = flags;
    flags.Apply(flagsMod);
    int f = flags.Current();
    if (clip && (f & kWidgetFlagClip)) g->ClipRect(0, 0, width, height);
    if (!children.empty()) {
        if (f & kWidgetFlagDraw) {
            g->PushState();
            DrawSelf(g);
            g->PopState();
        }
        for (Widget* child : children) {
            if (manager != nullptr && child == manager->baseModalWidget) flags.isOver = true;
            // A hidden child is up to date too: it has nothing to draw, and a dirty mark left
            // on it would stop its next invalidation from reaching the parent.
            if (child->visible) {
                Graphics childGraphics(*g);
                childGraphics.Translate(child->x, child->y);
                child->DrawTree(flags, &childGraphics);
            }
            child->dirty = false;
        }
    } else if (f & kWidgetFlagDraw) {
        DrawSelf(g);
    }
    flags.overFlags = saved.overFlags;
    flags.underFlags = saved.underFlags;
}

void WidgetContainer::SystemColoursChangedTree() {
    OnSystemColoursChanged();
    for (Widget* child : children) child->SystemColoursChangedTree();
}

void WidgetContainer::OnSystemColoursChanged() {}

}  // namespace Zarvo
