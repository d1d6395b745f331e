#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/SharedImageRef.h"
#include "widgets/Widget.h"

namespace Zarvo {
class ButtonListener;
class ButtonWidget;
class Font;
class ResourceManager;
}  // namespace Zarvo

// The showcase screen: a background image, one line of text in each image font and in a system
// font, a row of piece images and an image button. Throws std::runtime_error when a resource it
// shows is missing.
class ShowcaseWidget : public Zarvo::Widget {
public:
    ShowcaseWidget(Zarvo::ButtonListener* listener, Zarvo::ResourceManager& resources);
    ~ShowcaseWidget() override;

    void DrawSelf(Zarvo::Graphics* g) override;

private:
    struct FontLine {
        std::string id;
        Zarvo::Font* font;  // owned by the resource manager, or by systemFont_
    };

    Zarvo::SharedImageRef background_;
    std::vector<Zarvo::SharedImageRef> pieces_;
    Zarvo::SharedImageRef buttonImage_;
    Zarvo::SharedImageRef buttonOverImage_;
    std::unique_ptr<Zarvo::Font> systemFont_;
    std::vector<FontLine> lines_;
    std::unique_ptr<Zarvo::ButtonWidget> button_;
};
