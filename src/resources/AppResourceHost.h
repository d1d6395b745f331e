#pragma once

#include <string>

#include "resources/StandaloneResourceHost.h"

namespace Zarvo {

// Lets an application object serve the resource manager without knowing its interface: the
// application's sound manager and error popup are used, and its shared images when it has a
// GetSharedImage(path, variant, isNew); otherwise images come from the image library into a
// table of this host's own.
template <class App>
class AppResourceHost : public StandaloneResourceHost {
public:
    explicit AppResourceHost(App* application) : app(application) {}

    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  bool* isNew) override {
        if constexpr (requires(App * a, bool* b) {
                          { a->GetSharedImage(path, variant, b) } -> std::same_as<SharedImageRef>;
                      }) {
            if (app != nullptr) return app->GetSharedImage(path, variant, isNew);
        }
        return StandaloneResourceHost::GetSharedImage(path, variant, isNew);
    }

    SoundManager* GetSoundManager() override {
        if constexpr (requires(App * a) { a->GetSoundManager(); }) {
            if (app != nullptr) return app->GetSoundManager();
        }
        return nullptr;
    }

    void ShowFontError(const std::string& text) override {
        StandaloneResourceHost::ShowFontError(text);
        if constexpr (requires(App * a) { a->Popup(text); }) {
            if (app != nullptr) app->Popup(text);
        }
    }

private:
    App* app;
};

}  // namespace Zarvo
