// One screen of the game: a permanent object list built once by `init` and a visit list built by
// `enter` and emptied whenever the screen is left. Subclasses override the hooks they need; the
// base updates, draws and dispatches input over both lists, permanent objects first.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/screens/ScreenObject.h"

namespace Kelvane {

class GameApp;
class GUISystem;

class Screen {
public:
    using ObjectList = std::vector<std::unique_ptr<ScreenObject>>;

    ObjectList permanentObjects;
    ObjectList visitObjects;

    // Creates the background object (640 x 480, id 2001, not clickable, no image yet) as the
    // first permanent object.
    Screen(GameApp& app, GUISystem& gui);
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Builds the permanent objects; runs once, at start-up.
    virtual void init();
    // Runs each time the screen becomes current.
    virtual void enter();
    // Updates every permanent object, then every visit object.
    virtual void update();
    // A screen event (an object's click or a message from the game); the base ignores it.
    virtual void onEvent(int32_t id, void* param);
    virtual void deleteAllObjects();
    virtual void deleteVisitObjects();
    // Moves the first object with `id` from one list to the end of the other; nothing when the
    // source list has none.
    virtual void moveToPermanent(int32_t id);
    virtual void moveToVisit(int32_t id);
    // Click dispatch: the first object (permanent, then visit) whose hitTest holds sends its id
    // and parameter as an event.
    virtual void onMouseUp(int x, int y);
    // Hover dispatch: updateHover on each object in list order, stopping at the first that
    // answers true.
    virtual void onMouseMove(int x, int y);
    virtual void onMouseDrag(int x, int y);
    virtual void onMouseDown(int x, int y);
    // Appends what to draw, in list order.
    virtual void collectDrawList(DrawList& list);

    // The first object with `id`, permanent objects first; null if none.
    ScreenObject* findObject(int32_t id);

    // Take ownership of `object` and append it; answer it back for further setting up.
    template <class T>
    T* addPermanent(T* object) {
        permanentObjects.emplace_back(object);
        return object;
    }
    template <class T>
    T* addVisit(T* object) {
        visitObjects.emplace_back(object);
        return object;
    }

    // A button: an object at (x, y) showing image `imageId` at its own size that sends `id`
    // when clicked. The caller takes ownership.
    static ScreenObject* makeButton(float x, float y, int32_t imageId, int32_t id);
    // The tinted cover shown while a dialog opened from the screen is up: the whole screen,
    // id 1001, hidden. The caller takes ownership.
    static ScreenObject* makeCover();
    // Showing a cover (or a button) draws it and lets it take clicks; hiding it does neither.
    static void setShown(ScreenObject* object, bool shown);

protected:
    // Shows `imageId` on the background object, stretched to the whole screen.
    void setBackgroundImage(int32_t imageId);

    GameApp& app;
    GUISystem& gui;
};

}  // namespace Kelvane
