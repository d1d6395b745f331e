// Helpers for the match components' tests: an event recorder, and images and fonts of chosen
// sizes bound to resource ids without any data file (unbound ids stay null).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/ResourceIds.h"
#include "game/goals/EventSink.h"
#include "graphics/Font.h"
#include "graphics/MemoryImage.h"

namespace Kelvane::testing {

struct RecordedEvent {
    int32_t id;
    void* param;
};

class EventRecorder : public EventSink {
public:
    std::vector<RecordedEvent> events;
    void sendEvent(int32_t id, void* param) override { events.push_back({id, param}); }
    int count(int32_t id) const {
        int n = 0;
        for (const auto& e : events) n += e.id == id ? 1 : 0;
        return n;
    }
};

// A font whose every character is `charWidth` wide and whose height is `fontHeight`.
class FixedWidthFont : public Zarvo::Font {
public:
    int charWidth;
    FixedWidthFont(int w, int h) : charWidth(w) { height = h; }
    int StringWidth(const std::string& text) override {
        return static_cast<int>(text.size()) * charWidth;
    }
    std::unique_ptr<Zarvo::Font> Duplicate() const override {
        return std::make_unique<FixedWidthFont>(charWidth, height);
    }
};

// Binds fake resources to ids for the length of a test and unbinds everything afterwards.
class FakeResources {
public:
    FakeResources() { clearResourceIds(); }
    ~FakeResources() { clearResourceIds(); }
    FakeResources(const FakeResources&) = delete;
    FakeResources& operator=(const FakeResources&) = delete;

    // Binds an image of w x h to the variable of `id` (10..132).
    void image(int32_t id, int w, int h) {
        auto img = std::make_unique<Zarvo::MemoryImage>();
        img->Create(w, h);
        *imageVariable(id) = img.get();
        images.push_back(std::move(img));
    }
    // Binds a font to the variable of `id` (0..9).
    void font(int32_t id, int charWidth, int height) {
        auto f = std::make_unique<FixedWidthFont>(charWidth, height);
        *fontVariable(id) = f.get();
        fonts.push_back(std::move(f));
    }

private:
    static Zarvo::MemoryImage** imageVariable(int32_t id) {
        static const std::map<int32_t, Zarvo::MemoryImage**> table = {
#define KELVANE_GOALS_IMAGE_ENTRY(name, number) {number, &Kelvane::name},
            KELVANE_IMAGE_IDS(KELVANE_GOALS_IMAGE_ENTRY)
#undef KELVANE_GOALS_IMAGE_ENTRY
        };
        return table.at(id);
    }
    static Zarvo::Font** fontVariable(int32_t id) {
        static const std::map<int32_t, Zarvo::Font**> table = {
#define KELVANE_GOALS_FONT_ENTRY(name, number) {number, &Kelvane::name},
            KELVANE_FONT_IDS(KELVANE_GOALS_FONT_ENTRY)
#undef KELVANE_GOALS_FONT_ENTRY
        };
        return table.at(id);
    }

    std::vector<std::unique_ptr<Zarvo::MemoryImage>> images;
    std::vector<std::unique_ptr<Zarvo::Font>> fonts;
};

}  // namespace Kelvane::testing
