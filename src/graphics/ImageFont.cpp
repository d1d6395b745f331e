#include "graphics/ImageFont.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <mutex>

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Zarvo {

namespace {

// Scaled layer images larger than this many pixels are not made (the layer then draws nothing),
// so that an absurd point size cannot exhaust memory.
constexpr long long kMaxScaledImagePixels = 1LL << 24;

constexpr int kOrderBuckets = 256;
constexpr int kDrawPoolSize = 4096;

// Truncates toward zero, holding values outside the int range at its limits.
int Trunc(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

int ClampInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// One queued character draw.
struct QueuedDraw {
    Image* image;
    int x;
    int y;
    Rect source;
    Color color;
    int drawMode;
    int next;  // index of the next draw in the same bucket, -1 at the end
};

// The order buckets and the draw pool are shared by every image font; `gDrawLock` guards them.
std::mutex gDrawLock;
QueuedDraw gDrawPool[kDrawPoolSize];
int gBucketHead[kOrderBuckets];
int gBucketTail[kOrderBuckets];

int TintChannel(int mult, int color, int add) {
    long long v = static_cast<long long>(mult) * color / 255 + add;
    return static_cast<int>(std::clamp<long long>(v, 0, 255));
}

}  // namespace

ImageFont::ImageFont(FontHost* host, const std::string& descriptorPath)
    : fontData(std::make_shared<FontData>(host)) {
    fontData->Load(descriptorPath);
    pointSize = fontData->defaultPointSize;
    GenerateActiveFontLayers();
    activeListValid = true;
}

ImageFont::ImageFont(MemoryImage* image, const std::string& widthFilePath)
    : fontData(std::make_shared<FontData>(nullptr)) {
    fontData->LoadLegacy(image, widthFilePath);
    pointSize = fontData->defaultPointSize;
    GenerateActiveFontLayers();
    activeListValid = true;
}

ImageFont::ImageFont(std::shared_ptr<FontData> data) : fontData(std::move(data)) {
    pointSize = fontData->defaultPointSize;
    GenerateActiveFontLayers();
    activeListValid = true;
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other),
      fontData(other.fontData),
      pointSize(other.pointSize),
      tags(other.tags),
      scale(other.scale),
      forceScaledImagesWhite(other.forceScaledImagesWhite) {}

ImageFont::~ImageFont() = default;

std::unique_ptr<Font> ImageFont::Duplicate() const {
    return std::make_unique<ImageFont>(*this);
}

double ImageFont::LayerFactor(const FontLayer& layer) const {
    if (layer.pointSize == 0) return scale;
    return scale * pointSize / layer.pointSize;
}

int ImageFont::LayerLength(const FontLayer& layer, long long units) const {
    if (layer.pointSize == 0) return Trunc(static_cast<double>(units) * scale);
    const double s = pointSize * scale;
    return Trunc(static_cast<double>(units) * s / layer.pointSize);
}

void ImageFont::GenerateActiveFontLayers() {
    if (!fontData->initialized) return;
    activeLayerList.clear();
    ascent = 0;
    ascentPadding = 0;
    height = 0;
    lineSpacingOffset = 0;

    bool first = true;
    for (FontLayer& layer : fontData->fontLayerList) {
        if (pointSize < layer.minPointSize) continue;
        if (layer.maxPointSize != -1 && pointSize > layer.maxPointSize) continue;
        bool tagsMatch = std::all_of(
            layer.requiredTags.begin(), layer.requiredTags.end(), [this](const std::string& t) {
                return std::find(tags.begin(), tags.end(), t) != tags.end();
            });
        for (const std::string& t : tags) {
            if (std::find(layer.excludedTags.begin(), layer.excludedTags.end(), t) !=
                layer.excludedTags.end()) {
                tagsMatch = false;
            }
        }
        if (!tagsMatch) continue;

        ActiveFontLayer& active = activeLayerList.emplace_back();
        active.baseFontLayer = &layer;
        const double factor = LayerFactor(layer);
        const bool scaled = scale != 1.0 || (layer.pointSize != 0 && layer.pointSize != pointSize);
        if (scaled) {
            long long x = 0;
            long long tallest = 0;
            for (int c = 0; c < 256; ++c) {
                const Rect& src = layer.charData[c].imageRect;
                int w = std::max(0, Trunc(factor * src.width));
                int h = std::max(0, Trunc(factor * src.height));
                active.scaledCharImageRects[c] = Rect(ClampInt(x), 0, w, h);
                x += w;
                tallest = std::max<long long>(tallest, h);
            }
            if (layer.image && x > 0 && tallest > 0 && x <= INT_MAX &&
                x * tallest <= kMaxScaledImagePixels) {
                auto image = std::make_unique<MemoryImage>();
                image->Create(static_cast<int>(x), static_cast<int>(tallest));
                Graphics g(image.get());
                for (int c = 0; c < 256; ++c) {
                    const Rect& src = layer.charData[c].imageRect;
                    const Rect& dst = active.scaledCharImageRects[c];
                    if (src.IsEmpty() || dst.IsEmpty()) continue;
                    g.DrawImage(layer.image.Get(), dst, src);
                }
                if (forceScaledImagesWhite) {
                    if (uint32_t* bits = image->GetBits()) {
                        const size_t count = static_cast<size_t>(x) * static_cast<size_t>(tallest);
                        for (size_t i = 0; i < count; ++i) bits[i] |= 0x00FFFFFF;
                        image->BitsChanged();
                    }
                }
                image->Palletize();
                active.image = image.get();
                active.ownsImage = true;
                active.scaledImage = std::move(image);
            } else {
                // Nothing to draw from: the characters keep their advances but draw nothing.
                for (Rect& r : active.scaledCharImageRects) r = Rect();
            }
        } else {
            active.image = layer.image.Get();
            for (int c = 0; c < 256; ++c) {
                active.scaledCharImageRects[c] = layer.charData[c].imageRect;
            }
        }

        const int layerHeight = layer.height != 0 ? layer.height : layer.defaultHeight;
        const int layerAscent = Trunc(layer.ascent * factor);
        const int layerPadding = Trunc(layer.ascentPadding * factor);
        const int layerLineSpacing = Trunc(layer.lineSpacingOffset * factor);
        ascent = std::max(ascent, layerAscent);
        height = std::max(height, Trunc(layerHeight * factor));
        ascentPadding = first ? layerPadding : std::min(ascentPadding, layerPadding);
        lineSpacingOffset =
            first ? layerLineSpacing : std::max(lineSpacingOffset, layerLineSpacing);
        first = false;
    }
    activeListValid = true;
}

void ImageFont::Prepare() {
    if (!activeListValid) GenerateActiveFontLayers();
    activeListValid = true;
}

int ImageFont::GetAscent() {
    Prepare();
    return Font::GetAscent();
}

int ImageFont::GetAscentPadding() {
    Prepare();
    return Font::GetAscentPadding();
}

int ImageFont::GetDescent() {
    Prepare();
    return Font::GetDescent();
}

int ImageFont::GetHeight() {
    Prepare();
    return Font::GetHeight();
}

int ImageFont::GetLineSpacingOffset() {
    Prepare();
    return Font::GetLineSpacingOffset();
}

int ImageFont::GetLineSpacing() {
    Prepare();
    return Font::GetLineSpacing();
}

int ImageFont::CharWidthKern(char c, char previous) {
    Prepare();
    const unsigned char ch = fontData->charMap[static_cast<unsigned char>(c)];
    const unsigned char prev =
        previous == 0 ? 0 : fontData->charMap[static_cast<unsigned char>(previous)];
    long long best = 0;
    bool any = false;
    for (const ActiveFontLayer& active : activeLayerList) {
        const FontLayer& layer = *active.baseFontLayer;
        const int width = LayerLength(layer, layer.charData[ch].width);
        const int kern =
            prev == 0 ? 0
                      : LayerLength(
                            layer, static_cast<long long>(layer.charData[prev].kerningOffsets[ch]) +
                                       layer.spacing);
        const long long total = static_cast<long long>(width) + kern;
        best = any ? std::max(best, total) : total;
        any = true;
    }
    return ClampInt(best);
}

int ImageFont::CharWidth(char c) {
    return CharWidthKern(c, 0);
}

int ImageFont::StringWidth(const std::string& text) {
    long long width = 0;
    char previous = 0;
    for (char c : text) {
        width += CharWidthKern(c, previous);
        previous = c;
    }
    return ClampInt(width);
}

void ImageFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                           const Rect& clipRect) {
    DrawStringEx(g, x, y, text, color, clipRect, nullptr, nullptr);
}

void ImageFont::DrawStringEx(Graphics* g, int x, int y, const std::string& text, const Color& color,
                             const Rect& clipRect, std::vector<Rect>* drawnRects, int* width) {
    (void)clipRect;  // the context's own clip rectangle applies to every character
    std::lock_guard<std::mutex> lock(gDrawLock);
    if (width != nullptr) *width = 0;
    if (!fontData->initialized || g == nullptr) return;
    Prepare();

    const bool oldColorize = g->GetColorizeImages();
    const Color oldColor = g->GetColor();
    g->SetColorizeImages(true);

    std::fill(std::begin(gBucketHead), std::end(gBucketHead), -1);
    std::fill(std::begin(gBucketTail), std::end(gBucketTail), -1);
    int poolUsed = 0;
    // The range of buckets in use: a string's characters usually share one order.
    int firstBucket = kOrderBuckets;
    int lastBucket = -1;

    const unsigned char* charMap = fontData->charMap;
    long long penX = x;
    for (size_t i = 0; i < text.size(); ++i) {
        // A string longer than the pool is drawn only in part.
        if (poolUsed + static_cast<long long>(activeLayerList.size()) > kDrawPoolSize) break;
        const unsigned char c = charMap[static_cast<unsigned char>(text[i])];
        const bool last = i + 1 == text.size();
        const unsigned char next = last ? 0 : charMap[static_cast<unsigned char>(text[i + 1])];

        long long nextPenX = penX;
        bool any = false;
        for (ActiveFontLayer& active : activeLayerList) {
            const FontLayer& layer = *active.baseFontLayer;
            const CharData& data = layer.charData[c];
            const double f = LayerFactor(layer);
            const long long drawX =
                penX + Trunc(f * (static_cast<long long>(data.offsetX) + layer.offsetX));
            const long long drawY =
                y -
                static_cast<long long>(Trunc(
                    f * (layer.ascent - (static_cast<long long>(data.offsetY) + layer.offsetY))));
            // The same rule as the widths, so that a drawn string is as wide as it measures.
            const int advance = LayerLength(layer, data.width);
            const int kern =
                last ? 0
                     : LayerLength(layer, static_cast<long long>(data.kerningOffsets[next]) +
                                              layer.spacing);

            QueuedDraw& draw = gDrawPool[poolUsed];
            draw.image = active.image;
            draw.x = ClampInt(drawX);
            draw.y = ClampInt(drawY);
            draw.source = active.scaledCharImageRects[c];
            draw.color =
                Color(TintChannel(layer.colorMult.red, color.red, layer.colorAdd.red),
                      TintChannel(layer.colorMult.green, color.green, layer.colorAdd.green),
                      TintChannel(layer.colorMult.blue, color.blue, layer.colorAdd.blue),
                      TintChannel(layer.colorMult.alpha, color.alpha, layer.colorAdd.alpha));
            draw.drawMode = layer.drawMode;
            draw.next = -1;
            const int order = std::clamp<long long>(
                                  static_cast<long long>(data.order) + layer.baseOrder, -128, 127) +
                              128;
            if (gBucketTail[order] < 0) {
                gBucketHead[order] = poolUsed;
            } else {
                gDrawPool[gBucketTail[order]].next = poolUsed;
            }
            gBucketTail[order] = poolUsed;
            firstBucket = std::min(firstBucket, order);
            lastBucket = std::max(lastBucket, order);
            ++poolUsed;
            if (drawnRects != nullptr) {
                drawnRects->emplace_back(draw.x, draw.y, draw.source.width, draw.source.height);
            }

            const long long reach = penX + kern + advance;
            nextPenX = any ? std::max(nextPenX, reach) : reach;
            any = true;
        }
        penX = nextPenX;
    }

    for (int bucket = firstBucket; bucket <= lastBucket; ++bucket) {
        for (int i = gBucketHead[bucket]; i >= 0; i = gDrawPool[i].next) {
            const QueuedDraw& draw = gDrawPool[i];
            if (draw.image == nullptr || draw.source.IsEmpty()) continue;
            const int oldMode = g->GetDrawMode();
            if (draw.drawMode != -1) g->SetDrawMode(draw.drawMode);
            g->SetColor(draw.color);
            g->DrawImage(draw.image, draw.x, draw.y, draw.source);
            g->SetDrawMode(oldMode);
        }
    }

    g->SetColor(oldColor);
    g->SetColorizeImages(oldColorize);
    if (width != nullptr) *width = ClampInt(penX - x);
}

void ImageFont::SetPointSize(int size) {
    pointSize = size;
    activeListValid = false;
}

int ImageFont::GetPointSize() {
    return pointSize;
}

void ImageFont::SetScale(double newScale) {
    scale = newScale;
    activeListValid = false;
}

int ImageFont::GetDefaultPointSize() {
    return fontData->defaultPointSize;
}

bool ImageFont::AddTag(const std::string& tag) {
    if (HasTag(tag)) return false;
    tags.push_back(DescParser::ToUpper(tag));
    activeListValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag) {
    auto it = std::find(tags.begin(), tags.end(), DescParser::ToUpper(tag));
    if (it == tags.end()) return false;
    tags.erase(it);
    activeListValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag) {
    return std::find(tags.begin(), tags.end(), DescParser::ToUpper(tag)) != tags.end();
}

std::string ImageFont::GetDefine(const std::string& name) {
    const DescParser::DataElement* value = fontData->GetDefine(name);
    if (value == nullptr || value->isList) return std::string();
    return value->value;
}

}  // namespace Zarvo
