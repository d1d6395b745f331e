#include "graphics/FontData.h"

#include <algorithm>
#include <fstream>

#include "graphics/FontHost.h"
#include "graphics/MemoryImage.h"

namespace Zarvo {

namespace {

// Layer commands that set one integer field.
struct IntCommand {
    const char* name;
    int FontLayer::*field;
};

const IntCommand kIntCommands[] = {
    {"LAYERSETPOINTSIZE", &FontLayer::pointSize},
    {"LAYERSETHEIGHT", &FontLayer::height},
    {"LAYERSETDRAWMODE", &FontLayer::drawMode},
    {"LAYERSETASCENT", &FontLayer::ascent},
    {"LAYERSETASCENTPADDING", &FontLayer::ascentPadding},
    {"LAYERSETLINESPACINGOFFSET", &FontLayer::lineSpacingOffset},
    {"LAYERSETSPACING", &FontLayer::spacing},
    {"LAYERSETBASEORDER", &FontLayer::baseOrder},
};

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

FontData::FontData(FontHost* fontHost) : host(fontHost) {
    for (int i = 0; i < 256; ++i) charMap[i] = static_cast<unsigned char>(i);
}

FontData::~FontData() = default;

bool FontData::Load(const std::string& path) {
    sourceFile = path;
    fontErrorHeader = "Font Descriptor Error in " + path + "\r\n";
    initialized = LoadDescriptor(path);
    return initialized;
}

bool FontData::LoadFromText(const std::string& path, std::string_view text) {
    sourceFile = path;
    fontErrorHeader = "Font Descriptor Error in " + path + "\r\n";
    initialized = LoadDescriptorText(text);
    return initialized;
}

bool FontData::LoadLegacy(MemoryImage* image, const std::string& widthFilePath) {
    sourceFile = widthFilePath;
    // The width file is read from the file system directly, never from the archive.
    std::ifstream in(widthFilePath);
    if (!in || image == nullptr) return false;

    FontLayer& layer = NewLayer("");
    layer.image = SharedImageRef(image);
    const int imageWidth = image->GetWidth();
    const int imageHeight = image->GetHeight();
    layer.defaultHeight = imageHeight;
    layer.ascent = imageHeight;

    int spaceWidth = 0;
    int ascent = 0;
    if (!(in >> spaceWidth >> ascent)) return false;
    layer.charData[' '].width = spaceWidth;
    layer.ascent = ascent;

    int x = 0;
    char c = 0;
    int width = 0;
    while (in >> c >> width) {
        CharData& data = layer.charData[static_cast<unsigned char>(c)];
        data.width = width;
        // A glyph that does not fit in the image keeps its advance but draws nothing.
        if (width > 0 && x <= imageWidth - width) data.imageRect = Rect(x, 0, width, imageHeight);
        if (width > 0) x = x > imageWidth - width ? imageWidth : x + width;
    }

    // A letter missing in one case falls back to the other case.
    for (int upper = 'A'; upper <= 'Z'; ++upper) {
        int lower = upper - 'A' + 'a';
        if (layer.charData[upper].width == 0 && layer.charData[lower].width != 0) {
            charMap[upper] = static_cast<unsigned char>(lower);
        } else if (layer.charData[lower].width == 0 && layer.charData[upper].width != 0) {
            charMap[lower] = static_cast<unsigned char>(upper);
        }
    }
    initialized = true;
    return true;
}

bool FontData::Error(const std::string& text) {
    std::string message = fontErrorHeader + text;
    if (mInStatement) {
        message += " on Line " + std::to_string(mCurrentLineNum) + ":\r\n\r\n" + mCurrentLine;
    }
    mError = message;
    if (host != nullptr) host->ShowFontError(message);
    return false;
}

FontLayer* FontData::GetLayer(const std::string& name) {
    auto it = fontLayerMap.find(ToUpper(name));
    return it == fontLayerMap.end() ? nullptr : it->second;
}

FontLayer& FontData::NewLayer(const std::string& name) {
    fontLayerList.emplace_back(this);
    FontLayer& layer = fontLayerList.back();
    fontLayerMap[ToUpper(name)] = &layer;
    return layer;
}

bool FontData::GetLayerParam(const DataElement& param, FontLayer** layer) {
    if (param.isList) return Error(kInvalidParamType);
    *layer = GetLayer(param.value);
    if (*layer == nullptr) return Error("Undefined Layer");
    return true;
}

bool FontData::CharList(const DataElement& param, std::vector<unsigned char>* out) {
    DataElement list;
    if (!GetList(param, &list)) return false;
    out->clear();
    for (const DataElement& e : list.list) {
        unsigned char c = 0;
        if (!GetChar(e, &c)) return false;
        out->push_back(c);
    }
    return true;
}

bool FontData::HandleCommand(const std::vector<DataElement>& p) {
    const std::string cmd = ToUpper(p[0].value);
    auto expect = [&](size_t count) { return p.size() == count || Error(kInvalidParamCount); };

    if (cmd == "DEFINE") return expect(3) && CmdDefine(p);
    if (cmd == "CREATEHORZSPANRECTLIST") return expect(4) && CmdCreateHorzSpanRectList(p);
    if (cmd == "SETDEFAULTPOINTSIZE") return expect(2) && GetInt(p[1], &defaultPointSize);
    if (cmd == "SETCHARMAP") return expect(3) && CmdSetCharMap(p);
    if (cmd == "CREATELAYER") return expect(2) && CmdCreateLayer(p, false);
    if (cmd == "CREATELAYERFROM") return expect(3) && CmdCreateLayer(p, true);
    if (cmd == "LAYERREQUIRETAGS") return expect(3) && CmdLayerTags(p, true);
    if (cmd == "LAYEREXCLUDETAGS") return expect(3) && CmdLayerTags(p, false);
    if (cmd == "LAYERPOINTRANGE") {
        FontLayer* layer = nullptr;
        int minSize = 0;
        int maxSize = 0;
        if (!expect(4) || !GetLayerParam(p[1], &layer)) return false;
        if (!GetInt(p[2], &minSize) || !GetInt(p[3], &maxSize)) return false;
        layer->minPointSize = minSize;
        layer->maxPointSize = maxSize;
        return true;
    }
    for (const IntCommand& ic : kIntCommands) {
        if (cmd == ic.name) {
            FontLayer* layer = nullptr;
            int value = 0;
            if (!expect(3) || !GetLayerParam(p[1], &layer) || !GetInt(p[2], &value)) return false;
            layer->*ic.field = value;
            return true;
        }
    }
    if (cmd == "LAYERSETIMAGE") return expect(3) && CmdLayerSetImage(p);
    if (cmd == "LAYERSETCOLORMULT") return expect(3) && CmdLayerColor(p, true);
    if (cmd == "LAYERSETCOLORADD") return expect(3) && CmdLayerColor(p, false);
    if (cmd == "LAYERSETOFFSET") {
        FontLayer* layer = nullptr;
        std::vector<int> offset;
        if (!expect(3) || !GetLayerParam(p[1], &layer) || !GetIntList(p[2], &offset, 2, 2)) {
            return false;
        }
        layer->offsetX = offset[0];
        layer->offsetY = offset[1];
        return true;
    }
    if (cmd == "LAYERSETCHARWIDTHS") return expect(4) && CmdLayerPerChar(p, true);
    if (cmd == "LAYERSETCHARORDERS") return expect(4) && CmdLayerPerChar(p, false);
    if (cmd == "LAYERSETIMAGEMAP") return expect(4) && CmdLayerSetImageMap(p);
    if (cmd == "LAYERSETCHAROFFSETS") return expect(4) && CmdLayerSetCharOffsets(p);
    if (cmd == "LAYERSETKERNINGPAIRS") return expect(4) && CmdLayerSetKerningPairs(p);
    return Error(kUnknownCommand);
}

bool FontData::CmdDefine(const std::vector<DataElement>& p) {
    std::string name;
    DataElement value;
    if (!GetName(p[1], &name) || !Dereference(p[2], &value)) return false;
    return SetDefine(name, std::move(value));
}

bool FontData::CmdCreateHorzSpanRectList(const std::vector<DataElement>& p) {
    std::string name;
    std::vector<int> rect;
    std::vector<int> widths;
    if (!GetName(p[1], &name) || !GetIntList(p[2], &rect, 4, 4)) return false;
    if (!GetIntList(p[3], &widths, 0, SIZE_MAX)) return false;
    // The rectangles stand side by side, starting at the given one's left edge, each as tall as
    // the given rectangle.
    DataElement list = DataElement::MakeList();
    long long x = rect[0];
    for (int w : widths) {
        if (x > INT32_MAX || x < INT32_MIN) return Error(kInvalidParamType);
        DataElement r = DataElement::MakeList();
        for (long long v : {x, static_cast<long long>(rect[1]), static_cast<long long>(w),
                            static_cast<long long>(rect[3])}) {
            r.list.push_back(DataElement::MakeString(std::to_string(v), true));
        }
        list.list.push_back(std::move(r));
        x += w;
    }
    return SetDefine(name, std::move(list));
}

bool FontData::CmdSetCharMap(const std::vector<DataElement>& p) {
    std::vector<unsigned char> from;
    std::vector<unsigned char> to;
    if (!CharList(p[1], &from) || !CharList(p[2], &to)) return false;
    if (from.size() != to.size()) return Error(kListSizeMismatch);
    for (size_t i = 0; i < from.size(); ++i) charMap[from[i]] = to[i];
    return true;
}

bool FontData::CmdCreateLayer(const std::vector<DataElement>& p, bool from) {
    if (p[1].isList) return Error(kInvalidParamType);
    const std::string& name = p[1].value;
    FontLayer* source = nullptr;
    if (from && !GetLayerParam(p[2], &source)) return false;
    if (GetLayer(name) != nullptr) return Error("Layer Already Exists");
    if (fontLayerList.size() >= kMaxLayers) return Error(kTooManyElements);
    FontLayer& layer = NewLayer(name);
    if (source != nullptr) {
        layer = *source;
        layer.fontData = this;
    }
    return true;
}

bool FontData::CmdLayerTags(const std::vector<DataElement>& p, bool require) {
    FontLayer* layer = nullptr;
    DataElement list;
    if (!GetLayerParam(p[1], &layer) || !GetList(p[2], &list)) return false;
    std::vector<std::string> tags;
    for (const DataElement& e : list.list) {
        std::string tag;
        if (!GetString(e, &tag)) return false;
        tags.push_back(ToUpper(tag));
    }
    auto& target = require ? layer->requiredTags : layer->excludedTags;
    if (target.size() + tags.size() > kMaxLayerTags) return Error(kTooManyElements);
    target.insert(target.end(), tags.begin(), tags.end());
    return true;
}

bool FontData::CmdLayerSetImage(const std::vector<DataElement>& p) {
    FontLayer* layer = nullptr;
    std::string fileName;
    if (!GetLayerParam(p[1], &layer) || !GetString(p[2], &fileName)) return false;
    if (host == nullptr) return Error("Failed to Load Image");
    bool isNew = false;
    SharedImageRef image = host->GetSharedImage(DirectoryOf(sourceFile) + fileName, "", &isNew);
    if (!image) return Error("Failed to Load Image");
    if (isNew) image->Palletize();
    layer->image = std::move(image);
    return true;
}

bool FontData::CmdLayerColor(const std::vector<DataElement>& p, bool mult) {
    FontLayer* layer = nullptr;
    std::vector<int> c;
    if (!GetLayerParam(p[1], &layer) || !GetIntList(p[2], &c, 3, 4)) return false;
    Color color(c[0], c[1], c[2], c.size() == 4 ? c[3] : 255);
    (mult ? layer->colorMult : layer->colorAdd) = color;
    return true;
}

bool FontData::CmdLayerPerChar(const std::vector<DataElement>& p, bool widths) {
    FontLayer* layer = nullptr;
    std::vector<unsigned char> chars;
    std::vector<int> values;
    if (!GetLayerParam(p[1], &layer) || !CharList(p[2], &chars)) return false;
    if (!GetIntList(p[3], &values, 0, SIZE_MAX)) return false;
    if (chars.size() != values.size()) return Error(kListSizeMismatch);
    for (size_t i = 0; i < chars.size(); ++i) {
        (widths ? layer->charData[chars[i]].width : layer->charData[chars[i]].order) = values[i];
    }
    return true;
}

bool FontData::CmdLayerSetImageMap(const std::vector<DataElement>& p) {
    FontLayer* layer = nullptr;
    std::vector<unsigned char> chars;
    DataElement rectList;
    if (!GetLayerParam(p[1], &layer) || !CharList(p[2], &chars)) return false;
    if (!GetList(p[3], &rectList)) return false;
    std::vector<Rect> rects;
    for (const DataElement& e : rectList.list) {
        std::vector<int> r;
        if (!GetIntList(e, &r, 4, 4)) return false;
        rects.emplace_back(r[0], r[1], r[2], r[3]);
    }
    if (chars.size() != rects.size()) return Error(kListSizeMismatch);
    if (!layer->image) return Error("Layer image not set");
    const long long imageWidth = layer->image->GetWidth();
    const long long imageHeight = layer->image->GetHeight();
    for (const Rect& r : rects) {
        // Negative positions or sizes would read outside the image as surely as rectangles
        // that stick out on the right or bottom.
        if (r.x < 0 || r.y < 0 || r.width < 0 || r.height < 0 ||
            static_cast<long long>(r.x) + r.width > imageWidth ||
            static_cast<long long>(r.y) + r.height > imageHeight) {
            return Error("Image rectangle out of bounds");
        }
    }
    for (size_t i = 0; i < chars.size(); ++i) layer->charData[chars[i]].imageRect = rects[i];

    long long tallest = 0;
    for (const CharData& data : layer->charData) {
        tallest = std::max(tallest, static_cast<long long>(data.imageRect.height) + data.offsetY);
    }
    layer->defaultHeight = static_cast<int>(std::clamp<long long>(tallest, INT32_MIN, INT32_MAX));
    return true;
}

bool FontData::CmdLayerSetCharOffsets(const std::vector<DataElement>& p) {
    FontLayer* layer = nullptr;
    std::vector<unsigned char> chars;
    DataElement offsetList;
    if (!GetLayerParam(p[1], &layer) || !CharList(p[2], &chars)) return false;
    if (!GetList(p[3], &offsetList)) return false;
    std::vector<std::pair<int, int>> offsets;
    for (const DataElement& e : offsetList.list) {
        std::vector<int> o;
        if (!GetIntList(e, &o, 2, 2)) return false;
        offsets.emplace_back(o[0], o[1]);
    }
    if (chars.size() != offsets.size()) return Error(kListSizeMismatch);
    for (size_t i = 0; i < chars.size(); ++i) {
        layer->charData[chars[i]].offsetX = offsets[i].first;
        layer->charData[chars[i]].offsetY = offsets[i].second;
    }
    return true;
}

bool FontData::CmdLayerSetKerningPairs(const std::vector<DataElement>& p) {
    FontLayer* layer = nullptr;
    DataElement pairList;
    std::vector<int> values;
    if (!GetLayerParam(p[1], &layer) || !GetList(p[2], &pairList)) return false;
    std::vector<std::string> pairs;
    for (const DataElement& e : pairList.list) {
        std::string pair;
        if (!GetString(e, &pair)) return false;
        if (pair.size() != 2) return Error(kInvalidParamType);
        pairs.push_back(pair);
    }
    if (!GetIntList(p[3], &values, 0, SIZE_MAX)) return false;
    if (pairs.size() != values.size()) return Error(kListSizeMismatch);
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto first = static_cast<unsigned char>(pairs[i][0]);
        const auto second = static_cast<unsigned char>(pairs[i][1]);
        // Offsets are kept in a signed byte; larger values are held at its limits.
        layer->charData[first].kerningOffsets[second] =
            static_cast<int8_t>(std::clamp(values[i], -128, 127));
    }
    return true;
}

}  // namespace Zarvo
