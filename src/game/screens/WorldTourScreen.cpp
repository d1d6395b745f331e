#include "game/screens/WorldTourScreen.h"

#include <cstdio>

#include "diagnostics/AllocationTracker.h"
#include "game/GameApp.h"
#include "game/ResourceIds.h"
#include "game/audio/GameSounds.h"
#include "game/dialogs/MenuDialog.h"
#include "game/dialogs/PreMatchDialog.h"
#include "game/dialogs/ShopDialog.h"
#include "game/dialogs/WorldTourCompletedDialog.h"
#include "game/save/SaveGame.h"
#include "game/screens/GUISystem.h"
#include "game/screens/ScreenIds.h"
#include "game/tour/PlayState.h"

namespace Kelvane {

namespace {

// The stages' places on the map, by stage index: from South America north, over to Europe and
// Asia, round Oceania and Africa, and back to the Mediterranean.
constexpr std::pair<int32_t, int32_t> kMapPoints[WorldTourScreen::kStageCount] = {
    {153, 367}, {151, 336}, {160, 308}, {171, 279}, {152, 264}, {134, 248}, {103, 221}, {70, 199},
    {69, 177},  {66, 154},  {84, 136},  {115, 131}, {146, 139}, {166, 124}, {224, 91},  {302, 109},
    {335, 114}, {387, 107}, {439, 102}, {498, 114}, {554, 129}, {548, 164}, {519, 158}, {510, 194},
    {566, 261}, {606, 344}, {562, 321}, {534, 300}, {498, 256}, {483, 216}, {443, 199}, {395, 182},
    {364, 189}, {356, 216}, {353, 249}, {372, 291}, {340, 300}, {323, 316}, {312, 283}, {312, 254},
    {296, 228}, {264, 225}, {273, 182}, {269, 158}, {292, 144}, {270, 130}};

}  // namespace

WorldTourScreen::WorldTourScreen(GameApp& app, GUISystem& gui) : Screen(app, gui) {}

void WorldTourScreen::init() {
    setBackgroundImage(Res::IMAGE_WORLD_TOUR_SCREEN_BACKGROUND);
    addPermanent(makeButton(500, 420, Res::IMAGE_NEXT_BUTTON, EVENT_NEXT));
    addPermanent(makeButton(50, 20, Res::IMAGE_MENU_BUTTON, EVENT_MENU));
    addPermanent(makeButton(500, 20, Res::IMAGE_SHOP_BUTTON, EVENT_SHOP));
    addPermanent(makeButton(400, 20, Res::IMAGE_PROFILE_BUTTON, EVENT_PROFILE));
    for (int i = 0; i < kStageCount; ++i) mapPoints[i] = kMapPoints[i];
}

void WorldTourScreen::enter() {
    GamePlay& play = PlayState::instance().gamePlay;
    if (play.completed()) {
        app.sounds().play(Sfx::Fanfare);
        auto* done = KNEW WorldTourCompletedDialog(app);
        done->SetBounds(170, 90, 300, 300);
        app.AddDialog(WorldTourCompletedDialog::kDialogId, done);
    } else if (TourStage* stage = play.currentStage(); stage && stage->opponent) {
        char text[160];
        std::snprintf(text, sizeof text, play.replay() ? "Replay Match: v %s" : "Next Match: v %s",
                      stage->opponent->name.c_str());
        ScreenObject* label = addVisit(KNEW ScreenObject());
        label->x = 50;
        label->y = 450;
        label->setText(text, Res::FONT_ROCKWELLEXTRABOLD12);
        label->id = OBJECT_COVER;
        label->textColor = Zarvo::Color(0, 0, 0, 255);
    }
    for (const auto& stage : play.stages()) {
        // An index outside the map has no place to be drawn.
        if (stage->index < 0 || stage->index >= kStageCount) continue;
        const auto [px, py] = mapPoints[stage->index];
        ScreenObject* marker = addVisit(makeButton(
            static_cast<float>(px), static_cast<float>(py),
            stage->completed ? Res::IMAGE_COMPLETED_NODE : Res::IMAGE_NODE, EVENT_TOUR_NODE));
        marker->param = stage.get();
        stage->mapObject = marker;
    }
    cover = addVisit(makeCover());
    if (play.completed()) setShown(cover, true);
}

void WorldTourScreen::deleteVisitObjects() {
    // The markers go with the visit: no stage may keep pointing at its old one.
    for (const auto& stage : PlayState::instance().gamePlay.stages()) stage->mapObject = nullptr;
    Screen::deleteVisitObjects();
    cover = nullptr;
}

void WorldTourScreen::onEvent(int32_t id, void*) {
    GamePlay& play = PlayState::instance().gamePlay;
    switch (id) {
        case EVENT_MENU: {
            setShown(cover, true);
            auto* menu = KNEW MenuDialog(app, " ", " ");
            menu->SetBounds(500, 50, 100, 300);
            app.AddDialog(MenuDialog::kDialogId, menu);
            break;
        }
        case EVENT_NEXT:
            if (play.completed()) {
                play.discardPlay();
                app.saveGame().deleteSave();
                gui.switchTo(SCREEN_START);
            } else if (play.prepareTourMatch()) {
                gui.switchTo(SCREEN_MAIN);
            }
            break;
        case EVENT_SHOP: {
            setShown(cover, true);
            auto* shop = KNEW ShopDialog(app);
            shop->SetBounds(50, 50, 400, 390);
            app.AddDialog(ShopDialog::kDialogId, shop);
            break;
        }
        case EVENT_DIALOG_CLOSED:
            setShown(cover, false);
            break;
        case EVENT_PROFILE: {
            setShown(cover, true);
            auto* profile = KNEW PreMatchDialog(app);
            profile->SetBounds(50, 50, 500, 330);
            app.AddDialog(PreMatchDialog::kDialogId, profile);
            break;
        }
        default:
            break;
    }
}

}  // namespace Kelvane
