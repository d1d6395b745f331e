// The game application on the headless platform with every resource id bound to a fake image or
// font and a real Board; a recording screen is current, so that the screen events the dialogs
// send can be checked. Buttons are pressed with real pointer events through the widget manager.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/FakeGameResources.h"
#include "game/ResourceIds.h"
#include "game/dialogs/GameDialog.h"
#include "game/screens/GUISystem.h"
#include "game/screens/GameTestApp.h"
#include "game/screens/Screen.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetManager.h"

namespace Zarvo {
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
}  // namespace Zarvo

namespace Kelvane::testing {

// Records the ids of the events it receives.
class RecordingScreen : public Screen {
public:
    using Screen::Screen;
    std::vector<int32_t> events;
    void onEvent(int32_t id, void*) override { events.push_back(id); }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(extractInitResources(resources));
        ASSERT_TRUE(extractGameResources(resources));
        app.createBoard();
        ASSERT_NE(app.gui(), nullptr);
        screen = std::make_unique<RecordingScreen>(app, *app.gui());
        onScreen(SCREEN_MAIN);
        app.GetWidgetManager()->WindowGotFocus();
    }

    void TearDown() override {
        app.gui()->makeCurrent(nullptr, 0);
        clearResourceIds();
        PlayState::release();
    }

    void onScreen(int32_t number) { app.gui()->makeCurrent(screen.get(), number); }

    // Gives a fake image its own size (the binding keeps pointing at the same image).
    void sizeImage(const std::string& id, int width, int height) {
        Zarvo::MemoryImage* image = resources.image(id);
        ASSERT_NE(image, nullptr) << id;
        image->Create(width, height);
    }

    // A click in the middle of `w` as the window system would deliver it.
    void click(Zarvo::Widget* w) {
        ASSERT_NE(w, nullptr);
        Zarvo::WidgetManager* m = app.GetWidgetManager();
        const int cx = w->x + w->width / 2;
        const int cy = w->y + w->height / 2;
        m->PointerMoved(cx, cy);
        m->PointerPressed(cx, cy, 1);
        m->PointerReleased(cx, cy, 1);
        app.FlushDeferredDeletes();
    }

    // Opens `dialog` as its creators do.
    template <class D>
    D* open(D* dialog, int x, int y, int width, int height) {
        dialog->SetBounds(x, y, width, height);
        app.AddDialog(D::kDialogId, dialog);
        return dialog;
    }

    // Runs one update of the whole widget tree.
    void update() { app.GetWidgetManager()->RunUpdatePass(); }

    // Draws `dialog` into an image of the screen's size, as the draw pass would, and answers
    // the pixel drawn at the screen point (px, py).
    uint32_t draw(Zarvo::Widget* dialog, int px = 0, int py = 0) {
        Zarvo::MemoryImage canvas(nullptr);
        canvas.Create(640, 480);
        Zarvo::Graphics g(&canvas);
        g.Translate(dialog->x, dialog->y);
        dialog->DrawSelf(&g);
        return canvas.GetBits()[py * canvas.GetPitch() + px];
    }

    // Whether two pixels agree in every channel up to the rounding of blending.
    static bool samePixel(uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int ca = static_cast<int>((a >> shift) & 0xFF);
            const int cb = static_cast<int>((b >> shift) & 0xFF);
            if (ca - cb > 2 || cb - ca > 2) return false;
        }
        return true;
    }

    // Fills a fake image with one colour.
    void paintImage(const std::string& id, const Zarvo::Color& color) {
        Zarvo::MemoryImage* image = resources.image(id);
        ASSERT_NE(image, nullptr) << id;
        image->FillRect(Zarvo::Rect(0, 0, image->GetWidth(), image->GetHeight()), color, 0);
    }

    static Zarvo::Rect bounds(const Zarvo::Widget* w) { return w->Bounds(); }

    FakeGameResources resources;
    GameTestApp app;
    std::unique_ptr<RecordingScreen> screen;
};

}  // namespace Kelvane::testing
