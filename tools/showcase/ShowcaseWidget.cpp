#include "ShowcaseWidget.h"

#include <stdexcept>

#include "ShowcaseApp.h"
#include "game/ResourceIds.h"
#include "graphics/Color.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"
#include "resources/ResourceManager.h"
#include "widgets/ButtonWidget.h"

using namespace Zarvo;

namespace {

// The names come from the game's one list of resource ids.
std::string NameOf(int32_t id) {
    return std::string(Kelvane::kResourceNames[id]);
}

const int32_t kPieces[] = {Kelvane::Res::IMAGE_RED_CARD,    Kelvane::Res::IMAGE_MONEY,
                           Kelvane::Res::IMAGE_CORNER_FLAG, Kelvane::Res::IMAGE_OFFSIDE_FLAG,
                           Kelvane::Res::IMAGE_INJURY,      Kelvane::Res::IMAGE_YELLOW_CARD,
                           Kelvane::Res::IMAGE_EXTRA_TIME,  Kelvane::Res::IMAGE_WHITE_BALL};

SharedImageRef Need(ResourceManager& resources, const std::string& id) {
    SharedImageRef image = resources.GetImage(id);
    if (!image) throw std::runtime_error("missing image " + id);
    return image;
}

}  // namespace

ShowcaseWidget::ShowcaseWidget(ButtonListener* listener, ResourceManager& resources) {
    background_ = Need(resources, NameOf(Kelvane::Res::IMAGE_START_SCREEN_BACKGROUND));
    for (int32_t id : kPieces) pieces_.push_back(Need(resources, NameOf(id)));
    buttonImage_ = Need(resources, NameOf(Kelvane::Res::IMAGE_MENU_BUTTON));
    buttonOverImage_ = Need(resources, NameOf(Kelvane::Res::IMAGE_MENU_BUTTON_CLICKED));

    for (int32_t id = 0; id < Kelvane::kFirstImageId; ++id) {
        Font* font = resources.GetFont(NameOf(id));
        if (font == nullptr) throw std::runtime_error("missing font " + NameOf(id));
        lines_.push_back({NameOf(id), font});
    }
    systemFont_ = std::make_unique<SysFont>("Arial Unicode MS", 12);
    lines_.push_back({"SysFont \"Arial Unicode MS\" 12 pt", systemFont_.get()});

    button_ = std::make_unique<ButtonWidget>(ShowcaseApp::kShowDialogButtonId, listener);
    button_->buttonImage = buttonImage_.Get();
    button_->overImage = buttonOverImage_.Get();
    button_->SetBounds(540, 440, buttonImage_->GetWidth(), buttonImage_->GetHeight());
    AddChild(button_.get());
}

ShowcaseWidget::~ShowcaseWidget() {
    RemoveChild(button_.get());
}

void ShowcaseWidget::DrawSelf(Graphics* g) {
    g->DrawImage(background_.Get(), 0, 0);

    // A dark panel keeps every line readable on the picture.
    g->SetColor(Color(0, 0, 0, 200));
    g->FillRect(8, 8, 624, 424);

    int baseline = 14;
    for (const FontLine& line : lines_) {
        baseline += line.font->GetAscent();
        g->SetFont(line.font);
        g->SetColor(Color(255, 240, 120));
        g->DrawString(line.id, 16, baseline);
        const int labelWidth = line.font->StringWidth(line.id);
        g->SetColor(Color::White);
        g->DrawString(" - Goal! 2:1", 16 + labelWidth, baseline);
        baseline += line.font->GetLineSpacing() - line.font->GetAscent() + 6;
    }

    // The pieces of the board in a row under the text.
    for (size_t i = 0; i < pieces_.size(); ++i) {
        g->DrawImage(pieces_[i].Get(), 16 + static_cast<int>(i) * 48, 386);
    }

    g->SetFont(systemFont_.get());
    g->SetColor(Color::White);
    g->DrawString("Press the button:", 395, 461);
}
