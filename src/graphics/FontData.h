#pragma once

#include <list>
#include <map>
#include <string>

#include "graphics/DescParser.h"
#include "graphics/FontLayer.h"

namespace Zarvo {

class FontHost;
class MemoryImage;

// The shared description of an image font: its layers, character map and default point size,
// loaded from a descriptor. Fonts that are copies of each other share one `FontData`.
class FontData : public DescParser {
public:
    // Each layer holds the data of every character code (tens of kilobytes), so a descriptor may
    // create only this many; the game's fonts have three.
    static constexpr size_t kMaxLayers = 64;
    // Tags a layer may require, and tags it may exclude. Beyond either bound the statement fails
    // with kTooManyElements.
    static constexpr size_t kMaxLayerTags = 256;

    explicit FontData(FontHost* host = nullptr);
    ~FontData() override;

    // Loads a descriptor file. On failure the data stays uninitialized and the formatted error
    // (header, text, line and statement) has been shown through the host and kept.
    bool Load(const std::string& path);
    // Runs descriptor text held in memory; `path` names it in errors and is the base of
    // relative image paths.
    bool LoadFromText(const std::string& path, std::string_view text);
    // The simple form: one layer on `image` (borrowed; it must outlive this data), with the
    // widths read from a plain text file: the width of the space, the ascent, then pairs of a
    // character and its width. False when the width file cannot be read.
    bool LoadLegacy(MemoryImage* image, const std::string& widthFilePath);

    bool Error(const std::string& text) override;
    bool HandleCommand(const std::vector<DataElement>& params) override;

    // The layer of that name (compared without regard to case), or null.
    FontLayer* GetLayer(const std::string& name);

    bool initialized = false;
    FontHost* host;
    int defaultPointSize = 0;
    unsigned char charMap[256];
    std::list<FontLayer> fontLayerList;  // in creation order; a list keeps layer pointers valid
    std::map<std::string, FontLayer*> fontLayerMap;
    std::string sourceFile;
    std::string fontErrorHeader;

private:
    bool GetLayerParam(const DataElement& param, FontLayer** layer);
    bool CharList(const DataElement& param, std::vector<unsigned char>* out);
    FontLayer& NewLayer(const std::string& name);

    bool CmdDefine(const std::vector<DataElement>& p);
    bool CmdCreateHorzSpanRectList(const std::vector<DataElement>& p);
    bool CmdSetCharMap(const std::vector<DataElement>& p);
    bool CmdCreateLayer(const std::vector<DataElement>& p, bool from);
    bool CmdLayerTags(const std::vector<DataElement>& p, bool require);
    bool CmdLayerSetImage(const std::vector<DataElement>& p);
    bool CmdLayerSetImageMap(const std::vector<DataElement>& p);
    bool CmdLayerSetCharOffsets(const std::vector<DataElement>& p);
    bool CmdLayerSetKerningPairs(const std::vector<DataElement>& p);
    bool CmdLayerPerChar(const std::vector<DataElement>& p, bool widths);
    bool CmdLayerColor(const std::vector<DataElement>& p, bool mult);
};

}  // namespace Zarvo
