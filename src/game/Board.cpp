#include "game/Board.h"

#include <cassert>
#include <climits>
#include <cstdio>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/input/KeyboardControl.h"
#include "game/screens/GUISystem.h"
#include "game/tour/PlayState.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "platform/WindowMessage.h"
#include "widgets/WidgetManager.h"

namespace Kelvane {

namespace {

constexpr int kDrawModeNormal = 0;
constexpr int kDrawModeAdditive = 1;

void reportMissing(const ScreenObject& object, const char* kind, int32_t resourceId) {
    std::fprintf(stderr, "Board: object %d has no %s for resource id %d\n", object.id, kind,
                 resourceId);
    assert(!"a screen object names a resource id that is not bound");
}

}  // namespace

Board::Board(GameApp& application) : app(application), guiSystem(KNEW GUISystem(application)) {
    guiSystem->init();
    // The teams, the tour and the profile live for the whole run from here on.
    PlayState::instance();
}

Board::~Board() = default;

void Board::UpdateSelf() {
    Widget::UpdateSelf();
    guiSystem->update();
}

namespace {

// FNV-1a over the bytes of plain values.
class Digest {
public:
    template <class T>
    void add(const T& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof(T); ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    void add(const std::string& text) {
        add(text.size());
        for (char c : text) add(c);
    }
    uint64_t value() const { return hash; }

private:
    uint64_t hash = 14695981039346656037ull;
};

}  // namespace

uint64_t Board::frameDigest() {
    Digest d;
    DrawList list;
    guiSystem->draw(list);
    d.add(list.size());
    for (const ScreenObject* o : list) {
        d.add(o->hasImage);
        if (o->hasImage) {
            d.add(o->imageId);
            d.add(o->x);
            d.add(o->y);
            d.add(o->width);
            d.add(o->height);
            d.add(o->alpha);
            d.add(o->celMode);
            d.add(o->cel);
            d.add(o->naturalSize);
            d.add(o->additiveOverlay);
        }
        d.add(o->hasText);
        if (o->hasText) {
            d.add(o->x);
            d.add(o->y);
            d.add(o->fontId);
            d.add(o->text);
            d.add(o->textColor.ToInt());
        }
    }
    d.add(app.keyboard().digest());
    // The widgets over the board: one that comes, goes or moves uncovers part of it.
    if (manager != nullptr) {
        for (const Zarvo::Widget* w : manager->children) {
            d.add(w);
            d.add(w->x);
            d.add(w->y);
            d.add(w->width);
            d.add(w->height);
            d.add(w->visible);
        }
    }
    return d.value();
}

bool Board::invalidateIfChanged() {
    bool changed = !drawnOnce || dirty;
    if (manager != nullptr) {
        for (const Zarvo::Widget* w : manager->children) changed = changed || w->dirty;
    }
    const uint64_t digest = frameDigest();
    changed = changed || digest != drawnDigest;
    if (changed) {
        drawnDigest = digest;
        drawnOnce = true;
        Invalidate();
    }
    return changed;
}

void Board::DrawSelf(Zarvo::Graphics* g) {
    g->SetColor(Zarvo::Color(0, 0, 0, 255));
    g->FillRect(0, 0, width, height);
    DrawList list;
    guiSystem->draw(list);
    for (ScreenObject* object : list) drawObject(*g, *object);
    if (manager != nullptr && app.keyboard().ringVisible()) manager->DeferOverlay(this, INT_MAX);
}

void Board::DrawOverlayLayer(Zarvo::Graphics* g, int) {
    app.keyboard().drawOverlay(*g);
}

void Board::drawObject(Zarvo::Graphics& g, const ScreenObject& object) {
    const int x = static_cast<int>(object.x);
    const int y = static_cast<int>(object.y);
    if (object.hasImage) {
        if (Zarvo::MemoryImage* image = getImageById(object.imageId)) {
            g.SetColor(Zarvo::Color(255, 255, 255, object.alpha));
            g.SetColorizeImages(true);
            if (object.celMode) {
                g.DrawImageCel(image, x, y, object.cel);
            } else {
                if (object.naturalSize)
                    g.DrawImage(image, x, y);
                else
                    g.DrawImage(image, x, y, static_cast<int>(object.width),
                                static_cast<int>(object.height));
                if (object.additiveOverlay) {
                    g.SetDrawMode(kDrawModeAdditive);
                    g.DrawImage(image, x, y);
                    g.SetDrawMode(kDrawModeNormal);
                }
            }
            g.SetColorizeImages(false);
        } else {
            reportMissing(object, "image", object.imageId);
        }
    }
    if (object.hasText) {
        if (Zarvo::Font* font = getFontById(object.fontId)) {
            g.SetColor(object.textColor);
            g.SetFont(font);
            g.DrawString(object.text, x, y);
        } else {
            reportMissing(object, "font", object.fontId);
        }
    }
}

void Board::OnMouseMove(int x, int y) {
    app.keyboard().pointerMoved();
    lastMouseX = x;
    lastMouseY = y;
    guiSystem->mouseMove(x, y);
}

void Board::OnMouseDrag(int x, int y) {
    lastMouseX = x;
    lastMouseY = y;
    guiSystem->mouseDrag(x, y);
}

void Board::OnMouseDown(int x, int y, int clickCount) {
    Widget::OnMouseDown(x, y, clickCount);
    if (clickCount == 3)
        middleHeld = true;
    else if (clickCount > 0)
        leftHeld = true;
    else
        rightHeld = true;
    guiSystem->mouseDown(x, y);
}

void Board::OnMouseUp(int x, int y, int clickCount) {
    Widget::OnMouseUp(x, y, clickCount);
    guiSystem->mouseUp(x, y);
    if (clickCount == 3)
        middleHeld = false;
    else if (clickCount > 0)
        leftHeld = false;
    else
        rightHeld = false;
}

void Board::AddChild(Zarvo::Widget* w) {
    WidgetContainer::AddChild(w);
}

void Board::RemoveChild(Zarvo::Widget* w) {
    WidgetContainer::RemoveChild(w);
}

}  // namespace Kelvane
