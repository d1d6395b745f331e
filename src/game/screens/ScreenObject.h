// One positioned thing on a screen: an image (whole, stretched or one cel) and/or a line of
// text, with an optional hover image, a click id and parameter, and a fader for its alpha.
// Objects are owned by the screen list they sit in; the Board draws them in draw-list order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/ResourceIds.h"
#include "game/screens/Fader.h"
#include "graphics/Color.h"

namespace Kelvane {

class ScreenObject;
using DrawList = std::vector<ScreenObject*>;

class ScreenObject {
public:
    float x = -1.0f;  // top-left corner in game-area pixels
    float y = -1.0f;
    float width = -1.0f;  // hit rectangle and stretched draw size
    float height = -1.0f;
    int32_t id = -1;        // sent as the event id when the object is clicked
    void* param = nullptr;  // sent as the event parameter when clicked
    bool hasText = false;
    std::string text = "error";
    bool hasImage = false;  // clearing it hides the object's image
    int32_t imageId = RESOURCE_ID_COUNT;
    int32_t hoverImageId = RESOURCE_ID_COUNT;   // shown while the mouse is over it; 133 = none
    int32_t normalImageId = RESOURCE_ID_COUNT;  // restored when the mouse leaves
    int32_t fontId = 0;
    Zarvo::Color textColor{255, 255, 255, 255};
    bool celMode = false;  // draw cel `cel` of a multi-cel image instead of the whole image
    int16_t cel = 0;
    bool clickable = true;
    bool fading = false;  // `fader` drives `alpha` each update
    int32_t alpha = 255;
    std::unique_ptr<Fader> fader;
    int32_t counterMode = -1;  // when 1, `counter` advances each update
    float counter = 0.0f;
    bool additiveOverlay = false;  // after the normal draw, draw the image again additively
    bool naturalSize = false;      // draw at the image's own size instead of width x height

    ScreenObject();
    virtual ~ScreenObject();
    ScreenObject(const ScreenObject&) = delete;
    ScreenObject& operator=(const ScreenObject&) = delete;

    // Shows the hover image while (x, y) is inside the rectangle (clickable or not) and answers
    // true; outside, puts the normal image back if the hover image is still showing and answers
    // false.
    virtual bool updateHover(int px, int py);
    // Whether a click at (px, py) lands on the object: clickable and inside the half-open
    // rectangle.
    virtual bool hitTest(int px, int py);
    // A query no object of the game answers with true.
    virtual bool isHeld();
    // A hook no object of the game uses.
    virtual void onHook();
    // One update tick: the fade, then the unused counter.
    virtual void update();
    // Appends the object to the draw list.
    virtual void addToDrawList(DrawList& list);

    // Shows image `imageId` at its natural size and takes the object's size from the image
    // (the size is kept while the id is not bound to an image).
    void setImage(int32_t newImageId);
    // Shows `text` in font `newFontId`; the text's baseline is the object's y moved down by its
    // height.
    void setText(const std::string& newText, int32_t newFontId);
    // Starts the fader: fade in, hold and fade out as configured, one step per timer step.
    void startFade(int32_t interval, bool fadeIn, int32_t fadeInStep, bool fadeOut,
                   int32_t fadeOutStep, bool hold, int32_t holdSteps);

    // Whether (px, py) is inside the half-open rectangle.
    bool contains(int px, int py) const;
};

}  // namespace Kelvane
