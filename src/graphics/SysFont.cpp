#include "graphics/SysFont.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "platform/FreeTypeFace.h"

namespace Zarvo {

namespace {

// Rendered strings larger than this are not drawn (the text would be far outside any screen).
constexpr long long kMaxTextPixels = 1LL << 24;

// Rounds a x b / c to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long n = static_cast<long long>(a) * b;
    const long long q = (std::llabs(n) + c / 2) / c;
    return static_cast<int>(n < 0 ? -q : q);
}

}  // namespace

SysFont::SysFont(const std::string& face, int size, bool isBold, bool isItalic, bool isUnderline)
    : faceName(face), pointSize(size), bold(isBold), italic(isItalic), underline(isUnderline) {
    Open();
}

SysFont::SysFont(const SysFont& other)
    : Font(other),
      faceName(other.faceName),
      pointSize(other.pointSize),
      bold(other.bold),
      italic(other.italic),
      underline(other.underline) {
    Open();
}

SysFont::~SysFont() = default;

void SysFont::Open() {
    platformFont = FreeTypeFace::Open(faceName, MulDiv(pointSize, 96, 72), bold, italic, underline);
    ascent = platformFont ? platformFont->GetAscent() : 0;
    height = platformFont ? platformFont->GetHeight() : 0;
    ascentPadding = 0;
    lineSpacingOffset = 0;
}

std::unique_ptr<Font> SysFont::Duplicate() const {
    return std::make_unique<SysFont>(*this);
}

std::string SysFont::GetFamily() const {
    return platformFont ? platformFont->GetFamily() : std::string();
}

int SysFont::StringWidth(const std::string& text) {
    return platformFont ? platformFont->StringWidth(text) : 0;
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                         const Rect& clipRect) {
    (void)clipRect;  // the context clips the drawn image
    if (g == nullptr || !platformFont || g->GetDestImage() == Graphics::GetEmptyImage()) return;
    const int textWidth = StringWidth(text);
    if (textWidth <= 0 || height <= 0) return;

    // The shadow and the simulated bold reach one pixel further each; the image grows with them
    // so that neither is cut off.
    const int extraX = (drawShadow ? 1 : 0) + (simulateBold ? 1 : 0);
    const int extraY = drawShadow ? 1 : 0;
    const long long w = static_cast<long long>(textWidth) + extraX;
    const long long h = static_cast<long long>(height) + extraY;
    if (w * h > kMaxTextPixels) return;
    const int iw = static_cast<int>(w);
    const int ih = static_cast<int>(h);

    std::vector<uint8_t> face(static_cast<size_t>(w * h), 0);
    platformFont->Render(text, 0, ascent, face.data(), iw, ih);
    if (simulateBold) platformFont->Render(text, 1, ascent, face.data(), iw, ih);
    std::vector<uint8_t> shadow;
    if (drawShadow) {
        shadow.assign(face.size(), 0);
        platformFont->Render(text, 1, ascent + 1, shadow.data(), iw, ih);
        if (simulateBold) platformFont->Render(text, 2, ascent + 1, shadow.data(), iw, ih);
    }

    // Coverage is the alpha: the face in its colour over the shadow in black.
    const int r = std::clamp(color.red, 0, 255);
    const int gr = std::clamp(color.green, 0, 255);
    const int b = std::clamp(color.blue, 0, 255);
    std::vector<uint32_t> pixels(face.size(), 0);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int af = face[i];
        const int as = shadow.empty() ? 0 : shadow[i];
        const int a = af + as * (255 - af) / 255;
        if (a == 0) continue;
        const uint32_t pr = static_cast<uint32_t>(r * af / a);
        const uint32_t pg = static_cast<uint32_t>(gr * af / a);
        const uint32_t pb = static_cast<uint32_t>(b * af / a);
        pixels[i] = (static_cast<uint32_t>(a) << 24) | (pr << 16) | (pg << 8) | pb;
    }
    MemoryImage image;
    image.SetBits(pixels.data(), iw, ih);
    g->DrawImage(&image, x, y - ascent);
}

}  // namespace Zarvo
