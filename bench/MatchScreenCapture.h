// The match screen's draw list exactly as the game draws it: the built game is run headless in
// this process with the autoplayer until a match is well under way, and one whole frame of the
// match screen is drawn into a recording back buffer, which keeps every drawing operation the
// widgets asked of it (clipped, with its colour and mode) and performs it as well. The game stays
// alive afterwards, so the images the operations name remain valid.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/Board.h"
#include "game/GameApp.h"
#include "game/screens/GUISystem.h"
#include "game/screens/MainScreen.h"
#include "game/screens/ScreenIds.h"
#include "graphics/Color.h"
#include "graphics/MemoryImage.h"
#include "graphics/Rect.h"
#include "widgets/WidgetManager.h"

namespace MatchBench {

using Zarvo::Color;
using Zarvo::Image;
using Zarvo::MemoryImage;
using Zarvo::Rect;

struct DrawOp {
    enum Kind { Fill, Clear, Blit, Stretch };
    Kind kind = Fill;
    MemoryImage* image = nullptr;
    int x = 0, y = 0;  // Blit: the destination of the source rectangle's corner
    Rect src, dest, clip;
    Color color;
    int drawMode = 0;
    bool fastStretch = false;
};

// A back buffer that keeps what was drawn into it. Operations the match screen never uses are
// only counted, so a list that would not be complete is noticed.
class RecordingImage : public MemoryImage {
public:
    std::vector<DrawOp> ops;
    int unrecorded = 0;

    RecordingImage() : MemoryImage(nullptr) {
        Create(640, 480);
        SetImageMode(false, false);
    }

    void FillRect(const Rect& rect, const Color& color, int drawMode) override {
        DrawOp op;
        op.kind = DrawOp::Fill;
        op.dest = rect;
        op.color = color;
        op.drawMode = drawMode;
        ops.push_back(op);
        MemoryImage::FillRect(rect, color, drawMode);
    }
    void ClearRect(const Rect& rect) override {
        DrawOp op;
        op.kind = DrawOp::Clear;
        op.dest = rect;
        ops.push_back(op);
        MemoryImage::ClearRect(rect);
    }
    void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color,
             int drawMode) override {
        if (auto* source = dynamic_cast<MemoryImage*>(image)) {
            DrawOp op;
            op.kind = DrawOp::Blit;
            op.image = source;
            op.x = x;
            op.y = y;
            op.src = srcRect;
            op.color = color;
            op.drawMode = drawMode;
            ops.push_back(op);
        } else {
            ++unrecorded;
        }
        MemoryImage::Blt(image, x, y, srcRect, color, drawMode);
    }
    void StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, bool fastStretch) override {
        if (auto* source = dynamic_cast<MemoryImage*>(image)) {
            DrawOp op;
            op.kind = DrawOp::Stretch;
            op.image = source;
            op.dest = destRect;
            op.src = srcRect;
            op.clip = clipRect;
            op.color = color;
            op.drawMode = drawMode;
            op.fastStretch = fastStretch;
            ops.push_back(op);
        } else {
            ++unrecorded;
        }
        MemoryImage::StretchBlt(image, destRect, srcRect, clipRect, color, drawMode, fastStretch);
    }
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                  int drawMode) override {
        ++unrecorded;
        MemoryImage::DrawLine(x1, y1, x2, y2, color, drawMode);
    }
    void DrawLineAA(double x1, double y1, double x2, double y2, const Color& color,
                    int drawMode) override {
        ++unrecorded;
        MemoryImage::DrawLineAA(x1, y1, x2, y2, color, drawMode);
    }
    void BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
              const Color& color, int drawMode) override {
        ++unrecorded;
        MemoryImage::BltF(image, x, y, srcRect, clipRect, color, drawMode);
    }
    void BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color,
                   int drawMode) override {
        ++unrecorded;
        MemoryImage::BltMirror(image, x, y, srcRect, color, drawMode);
    }
    void StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect,
                          const Rect& clipRect, const Color& color, int drawMode,
                          bool fastStretch) override {
        ++unrecorded;
        MemoryImage::StretchBltMirror(image, destRect, srcRect, clipRect, color, drawMode,
                                      fastStretch);
    }
};

// The game, autoplaying a friendly match at full speed; after `playingUpdates` updates of play
// it draws one whole frame into `recording` and quits its loop.
class CaptureApp : public Kelvane::GameApp {
public:
    explicit CaptureApp(int playingUpdates) : playingUpdates_(playingUpdates) {}

    RecordingImage recording;
    bool captured = false;

    void UpdateOnce() override {
        // Until the match is on, the random numbers start over at every update: the menus take
        // a number of updates that depends on loading times, and the match (its board, the
        // autoplayer's moves) then always starts from the same numbers and draws the same
        // frame.
        if (currentScreenId() != Kelvane::SCREEN_MAIN) {
            SeedRandom(1);
            std::srand(1);
        }
        GameApp::UpdateOnce();
        if (captured || currentScreenId() != Kelvane::SCREEN_MAIN) return;
        auto* match = static_cast<Kelvane::MainScreen*>(gui()->currentScreen());
        if (!match->playing || ++played_ < playingUpdates_) return;
        Zarvo::WidgetManager* manager = GetWidgetManager();
        Image* backBuffer = manager->backBuffer;
        // The whole frame: the board, and with it everything over it, is drawn.
        board()->Invalidate();
        manager->SetBackBuffer(&recording);
        manager->RunDrawPass();
        manager->SetBackBuffer(backBuffer);
        board()->Invalidate();
        captured = true;
        Quit();
    }

private:
    int playingUpdates_;
    int played_ = 0;
};

// Runs the game from the pack file in `dataFolder` (its settings and save go below `homeFolder`)
// until the capture; null when it did not get there.
inline std::unique_ptr<CaptureApp> CaptureMatchScreen(const std::string& dataFolder,
                                                      const std::string& homeFolder,
                                                      int playingUpdates) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("XDG_CONFIG_HOME", (homeFolder + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (homeFolder + "/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (homeFolder + "/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", homeFolder.c_str(), 1);
    auto app = std::make_unique<CaptureApp>(playingUpdates);
    std::string changeDir = "-changedir=" + dataFolder;
    char name[] = "kelvane";
    char autoplay[] = "-autoplay";
    char fast[] = "-fast";
    char* argv[] = {name, autoplay, fast, changeDir.data(), nullptr};
    app->SetCommandLine(4, argv);
    app->Init();
    app->Start();
    if (!app->captured) return nullptr;
    return app;
}

}  // namespace MatchBench
