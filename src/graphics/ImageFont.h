#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/ActiveFontLayer.h"
#include "graphics/Font.h"
#include "graphics/FontData.h"

namespace Zarvo {

class FontHost;
class MemoryImage;

// A bitmap font drawn from the layers of its `FontData`. The layers that apply to the current
// point size, scale and tags are chosen lazily; a string is drawn by queueing one draw per
// character per layer and drawing the queue by order, so that all shadows of a string lie under
// all faces.
class ImageFont : public Font {
public:
    // Loads a descriptor. If it fails the font is uninitialized: it measures and draws nothing.
    ImageFont(FontHost* host, const std::string& descriptorPath);
    // The simple width-table font on `image` (borrowed; it must outlive the font).
    ImageFont(MemoryImage* image, const std::string& widthFilePath);
    // A font on already loaded font data (shared with any other font on it).
    explicit ImageFont(std::shared_ptr<FontData> data);
    // Shares the font data; tags, point size, scale and active layers are this font's own.
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    // Metrics follow the current point size, scale and tags (the layers are prepared first).
    int GetAscent() override;
    int GetAscentPadding() override;
    int GetDescent() override;
    int GetHeight() override;
    int GetLineSpacingOffset() override;
    int GetLineSpacing() override;
    int StringWidth(const std::string& text) override;
    int CharWidth(char c) override;
    int CharWidthKern(char c, char previous) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    std::unique_ptr<Font> Duplicate() const override;

    virtual void GenerateActiveFontLayers();
    // Draws under the lock shared by all image fonts. `drawnRects` (optional) receives the
    // destination rectangle of every queued draw, `width` (optional) the advance of the drawn
    // part of the string.
    virtual void DrawStringEx(Graphics* g, int x, int y, const std::string& text,
                              const Color& color, const Rect& clipRect,
                              std::vector<Rect>* drawnRects, int* width);
    virtual void SetPointSize(int size);
    virtual int GetPointSize();
    virtual void SetScale(double newScale);
    virtual int GetDefaultPointSize();
    // Tags are upper-cased; adding a present tag or removing an absent one returns false.
    virtual bool AddTag(const std::string& tag);
    virtual bool RemoveTag(const std::string& tag);
    virtual bool HasTag(const std::string& tag);
    // The text of a value the descriptor defined, or empty.
    virtual std::string GetDefine(const std::string& name);
    // Rebuilds the active layers if a change made them stale.
    virtual void Prepare();

    // Whether the descriptor loaded.
    bool IsInitialized() const { return fontData->initialized; }

    std::shared_ptr<FontData> fontData;
    int pointSize = 0;
    std::vector<std::string> tags;
    bool activeListValid = false;
    std::vector<ActiveFontLayer> activeLayerList;
    double scale = 1.0;
    bool forceScaledImagesWhite = false;

private:
    // The factor from layer units to pixels: scale x point size / layer point size, or the
    // scale alone for a layer without a point size.
    double LayerFactor(const FontLayer& layer) const;
    // A horizontal length of a layer (a width, a kerning plus spacing) in pixels: multiplied by
    // point size x scale before dividing by the layer point size, so that 11 units of a layer
    // made for 11 points are exactly 15 pixels at 15 points; truncated.
    int LayerLength(const FontLayer& layer, long long units) const;
};

}  // namespace Zarvo
