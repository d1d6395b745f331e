#include "game/screens/Screen.h"

#include <algorithm>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"

namespace Kelvane {

namespace {

void moveFirst(Screen::ObjectList& from, Screen::ObjectList& to, int32_t id) {
    auto it = std::find_if(from.begin(), from.end(), [id](const auto& o) { return o->id == id; });
    if (it == from.end()) return;
    std::unique_ptr<ScreenObject> object = std::move(*it);
    from.erase(it);
    to.push_back(std::move(object));
}

}  // namespace

Screen::Screen(GameApp& application, GUISystem& switcher) : app(application), gui(switcher) {
    ScreenObject* background = addPermanent(KNEW ScreenObject());
    background->x = 0;
    background->y = 0;
    background->width = 640;
    background->height = 480;
    background->id = OBJECT_BACKGROUND;
    background->clickable = false;
}

Screen::~Screen() {
    deleteAllObjects();
}

void Screen::init() {}

void Screen::enter() {}

void Screen::update() {
    // Indexed loops: an object's update may not add objects, but a list must never be walked
    // through a dangling iterator if a subclass does.
    for (size_t i = 0; i < permanentObjects.size(); ++i) permanentObjects[i]->update();
    for (size_t i = 0; i < visitObjects.size(); ++i) visitObjects[i]->update();
}

void Screen::onEvent(int32_t, void*) {}

void Screen::deleteAllObjects() {
    deleteVisitObjects();
    permanentObjects.clear();
}

void Screen::deleteVisitObjects() {
    visitObjects.clear();
}

void Screen::moveToPermanent(int32_t id) {
    moveFirst(visitObjects, permanentObjects, id);
}

void Screen::moveToVisit(int32_t id) {
    moveFirst(permanentObjects, visitObjects, id);
}

void Screen::onMouseUp(int x, int y) {
    for (const ObjectList* list : {&permanentObjects, &visitObjects}) {
        for (const auto& object : *list) {
            if (object->hitTest(x, y)) {
                if (object->id != OBJECT_COVER) app.sounds().play(Sfx::Click);
                // The event may switch screens and delete this screen's visit objects, so
                // nothing of the object is touched after it is sent.
                gui.sendEvent(object->id, object->param);
                return;
            }
        }
    }
}

void Screen::onMouseMove(int x, int y) {
    for (const ObjectList* list : {&permanentObjects, &visitObjects})
        for (const auto& object : *list)
            if (object->updateHover(x, y)) return;
}

void Screen::onMouseDrag(int, int) {}

void Screen::onMouseDown(int, int) {}

void Screen::collectDrawList(DrawList& list) {
    for (const auto& object : permanentObjects) object->addToDrawList(list);
    for (const auto& object : visitObjects) object->addToDrawList(list);
}

ScreenObject* Screen::findObject(int32_t id) {
    for (const ObjectList* list : {&permanentObjects, &visitObjects})
        for (const auto& object : *list)
            if (object->id == id) return object.get();
    return nullptr;
}

ScreenObject* Screen::makeButton(float x, float y, int32_t imageId, int32_t id) {
    auto* button = KNEW ScreenObject();
    button->x = x;
    button->y = y;
    button->setImage(imageId);
    button->id = id;
    return button;
}

ScreenObject* Screen::makeCover() {
    ScreenObject* cover = makeButton(0, 0, Res::IMAGE_TINTED_SCREEN_COVER, OBJECT_COVER);
    setShown(cover, false);
    return cover;
}

void Screen::setShown(ScreenObject* object, bool shown) {
    if (object == nullptr) return;
    object->hasImage = shown;
    object->clickable = shown;
}

void Screen::setBackgroundImage(int32_t imageId) {
    if (ScreenObject* background = findObject(OBJECT_BACKGROUND)) {
        background->hasImage = true;
        background->imageId = imageId;
    }
}

}  // namespace Kelvane
