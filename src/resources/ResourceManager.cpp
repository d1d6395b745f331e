#include "resources/ResourceManager.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "audio/SoundManager.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"
#include "resources/ImageLib.h"
#include "resources/ResourceHost.h"
#include "resources/ResourceManagerException.h"
#include "resources/XMLElement.h"
#include "resources/XMLParser.h"

namespace Zarvo {

namespace {

// Rows, columns and so the number of animation cels are held to this, so that a manifest cannot
// ask for frame tables of unbounded size.
constexpr int kMaxCels = 4096;

bool Has(const XMLElement& e, const char* name) {
    return e.attributes.count(name) > 0;
}

const std::string* Attr(const XMLElement& e, const char* name) {
    auto it = e.attributes.find(name);
    return it == e.attributes.end() ? nullptr : &it->second;
}

// Reads a leading decimal integer the way "%d" does; `value` is left alone without digits.
void ScanInt(const std::string& text, int* value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 10);
    if (end == begin) return;
    *value = static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

void ScanHex(const std::string& text, uint32_t* value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    unsigned long long v = std::strtoull(begin, &end, 16);
    if (end == begin) return;
    *value = static_cast<uint32_t>(std::min<unsigned long long>(v, UINT32_MAX));
}

void ScanDouble(const std::string& text, double* value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    double v = std::strtod(begin, &end);
    if (end == begin) return;
    *value = v;
}

// Comma-separated decimals; at most kMaxCels entries are kept.
std::vector<int> ScanIntList(const std::string& text) {
    std::vector<int> values;
    size_t start = 0;
    while (start <= text.size() && values.size() < static_cast<size_t>(kMaxCels)) {
        size_t comma = text.find(',', start);
        std::string piece =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int v = 0;
        ScanInt(piece, &v);
        values.push_back(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsBlankText(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string WithoutTrailingSlash(std::string text) {
    if (!text.empty() && (text.back() == '\\' || text.back() == '/')) text.pop_back();
    return text;
}

// The file name of a path without its directory and extension.
std::string FileStem(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

ResourceManager::ResourceManager(ResourceHost* resourceHost) : host(resourceHost) {}

ResourceManager::~ResourceManager() {
    for (ResMap* map : {&imageMap, &soundMap, &fontMap}) {
        for (auto& [id, res] : *map) res->DeleteResource();
        map->clear();
    }
}

bool ResourceManager::Fail(const std::string& text) {
    if (!hasFailed) {
        hasFailed = true;
        error = text;
        if (xmlParser) {
            const int line = xmlParser->GetCurrentLineNum();
            if (line > 0) error += " on Line " + std::to_string(line);
            if (!xmlParser->GetFileName().empty()) {
                error += " in File '" + xmlParser->GetFileName() + "'";
            }
        }
    }
    return false;
}

void ResourceManager::ClearError() {
    hasFailed = false;
    error.clear();
}

bool ResourceManager::ParseResourcesFile(const std::string& filename) {
    xmlParser = std::make_unique<XMLParser>();
    if (!xmlParser->OpenFile(filename)) Fail("Resource file not found: " + filename);

    bool sawManifest = false;
    XMLElement element;
    while (!hasFailed && xmlParser->NextElement(&element)) {
        if (element.type == XMLElement::TYPE_START) {
            if (element.value != "ResourceManifest") {
                Fail("Expecting ResourceManifest tag");
            } else {
                sawManifest = true;
                ParseResourceManifest();
            }
            break;
        }
    }
    if (xmlParser->HasFailed()) Fail(xmlParser->GetErrorText());
    if (!sawManifest) Fail("Expecting ResourceManifest tag");
    xmlParser.reset();
    return !hasFailed;
}

bool ResourceManager::ParseResourceManifest() {
    XMLElement element;
    while (xmlParser->NextElement(&element)) {
        if (element.type == XMLElement::TYPE_START) {
            if (element.value != "Resources") {
                return Fail("Invalid Section '" + element.value + "'");
            }
            const std::string* id = Attr(element, "id");
            currentGroup = id != nullptr ? *id : std::string();
            if (currentGroup.empty()) return Fail("No id specified.");
            resGroupMap[currentGroup];
            if (!ParseResources()) return false;
        } else if (element.type == XMLElement::TYPE_END) {
            return true;
        } else if (element.type == XMLElement::TYPE_TEXT && IsBlankText(element.value)) {
            continue;  // line breaks and indentation between sections
        } else {
            return Fail("Element Not Expected '" + element.value + "'");
        }
    }
    return false;  // the reader's error (or the end of the file) is reported by the caller
}

bool ResourceManager::ParseResources() {
    XMLElement element;
    while (xmlParser->NextElement(&element)) {
        if (element.type == XMLElement::TYPE_START) {
            bool ok = true;
            if (element.value == "Image") {
                ok = ParseImageResource(element);
            } else if (element.value == "Sound") {
                ok = ParseSoundResource(element);
            } else if (element.value == "Font") {
                ok = ParseFontResource(element);
            } else if (element.value == "SetDefaults") {
                ok = ParseSetDefaults(element);
            } else {
                return Fail("Invalid Section '" + element.value + "'");
            }
            if (!ok) return false;
            if (!xmlParser->NextElement(&element) || element.type != XMLElement::TYPE_END) {
                if (xmlParser->HasFailed()) return false;
                return Fail("Unexpected element found.");
            }
        } else if (element.type == XMLElement::TYPE_END) {
            return true;
        } else if (element.type == XMLElement::TYPE_TEXT && IsBlankText(element.value)) {
            continue;
        } else {
            return Fail("Element Not Expected '" + element.value + "'");
        }
    }
    return false;
}

bool ResourceManager::ParseSetDefaults(const XMLElement& element) {
    if (const std::string* path = Attr(element, "path")) {
        // An empty value means no default path (not the root directory).
        std::string base = WithoutTrailingSlash(*path);
        defaultPath = base.empty() ? std::string() : base + "/";
    }
    if (const std::string* prefix = Attr(element, "idprefix")) {
        defaultIdPrefix = WithoutTrailingSlash(*prefix);
    }
    return true;
}

bool ResourceManager::ParseCommonResource(const XMLElement& element, std::unique_ptr<BaseRes> res,
                                          ResMap& map, BaseRes** filled) {
    *filled = nullptr;
    const std::string* path = Attr(element, "path");
    if (path == nullptr || path->empty()) return Fail("No path specified.");

    res->xmlAttributes = element.attributes;
    res->fromProgram = *path == "!program";
    res->path = (*path)[0] == '!' ? *path : defaultPath + *path;
    res->resGroup = currentGroup;
    const std::string* id = Attr(element, "id");
    res->id = id != nullptr ? *id : defaultIdPrefix + FileStem(*path);

    auto it = map.find(res->id);
    if (it == map.end()) {
        BaseRes* raw = res.get();
        map.emplace(raw->id, std::move(res));
        resGroupMap[currentGroup].push_back(raw);
        *filled = raw;
        return true;
    }
    Fail("Resource already defined.");
    hadAlreadyDefinedError = true;
    if (!allowAlreadyDefinedResources) return false;
    // The later definition wins: the existing record takes its path and attributes.
    ClearError();
    BaseRes* existing = it->second.get();
    existing->path = res->path;
    existing->xmlAttributes = res->xmlAttributes;
    existing->fromProgram = res->fromProgram;
    *filled = existing;
    return true;
}

bool ResourceManager::ParseImageResource(const XMLElement& element) {
    BaseRes* filled = nullptr;
    if (!ParseCommonResource(element, std::make_unique<ImageRes>(), imageMap, &filled)) {
        return false;
    }
    auto* res = static_cast<ImageRes*>(filled);
    res->autoFindAlpha = !Has(element, "noalpha");
    res->palletize = !Has(element, "nopal");
    res->a4r4g4b4 = Has(element, "a4r4g4b4");
    res->a8r8g8b8 = Has(element, "a8r8g8b8");
    res->minSubdivide = Has(element, "minsubdivide");
    res->ddSurface = Has(element, "ddsurface");
    res->purgeBits = Has(element, "nobits");
    res->purgeBits3D = Has(element, "nobits3d");
    res->purgeBits2D = Has(element, "nobits2d");
    const std::string* value = Attr(element, "alphaimage");
    res->alphaImage = value != nullptr ? defaultPath + *value : std::string();
    res->alphaColor = 0xFFFFFF;
    if ((value = Attr(element, "alphacolor"))) ScanHex(*value, &res->alphaColor);
    value = Attr(element, "variant");
    res->variant = value != nullptr ? *value : std::string();
    value = Attr(element, "alphagrid");
    res->alphaGridImage = value != nullptr ? defaultPath + *value : std::string();
    res->rows = 1;
    res->cols = 1;
    if ((value = Attr(element, "rows"))) ScanInt(*value, &res->rows);
    if ((value = Attr(element, "cols"))) ScanInt(*value, &res->cols);
    // A grid needs at least one row and column (they divide the image).
    res->rows = std::clamp(res->rows, 1, kMaxCels);
    res->cols = std::clamp(res->cols, 1, kMaxCels);

    res->animInfo = AnimInfo();
    int animType = AnimInfo::AnimNone;
    if ((value = Attr(element, "anim"))) {
        const std::string word = Lower(*value);
        if (word == "none") {
            animType = AnimInfo::AnimNone;
        } else if (word == "once") {
            animType = AnimInfo::AnimOnce;
        } else if (word == "pingpong") {
            animType = AnimInfo::AnimPingPong;
        } else if (word == "loop") {
            animType = AnimInfo::AnimLoop;
        } else {
            return Fail("Invalid animation type.");
        }
    }
    res->animInfo.animType = animType;
    if (animType != AnimInfo::AnimNone) {
        int beginDelay = 0;
        int endDelay = 0;
        if ((value = Attr(element, "framedelay"))) ScanInt(*value, &res->animInfo.frameDelay);
        if ((value = Attr(element, "begindelay"))) ScanInt(*value, &beginDelay);
        if ((value = Attr(element, "enddelay"))) ScanInt(*value, &endDelay);
        if ((value = Attr(element, "perframedelay"))) {
            res->animInfo.perFrameDelay = ScanIntList(*value);
        }
        if ((value = Attr(element, "framemap"))) res->animInfo.frameMap = ScanIntList(*value);
        res->animInfo.Compute(std::max(res->rows, res->cols), beginDelay, endDelay);
    }
    return true;
}

bool ResourceManager::ParseSoundResource(const XMLElement& element) {
    BaseRes* filled = nullptr;
    if (!ParseCommonResource(element, std::make_unique<SoundRes>(nullptr), soundMap, &filled)) {
        return false;
    }
    auto* res = static_cast<SoundRes*>(filled);
    res->volume = -1.0;
    res->pan = 0;
    if (const std::string* value = Attr(element, "volume")) ScanDouble(*value, &res->volume);
    if (const std::string* value = Attr(element, "pan")) ScanInt(*value, &res->pan);
    return true;
}

bool ResourceManager::ParseFontResource(const XMLElement& element) {
    BaseRes* filled = nullptr;
    if (!ParseCommonResource(element, std::make_unique<FontRes>(), fontMap, &filled)) {
        return false;
    }
    auto* res = static_cast<FontRes*>(filled);
    const std::string* value = Attr(element, "image");
    res->imagePath = value != nullptr ? *value : std::string();
    value = Attr(element, "tags");
    res->tags = value != nullptr ? *value : std::string();
    res->sysFont = StartsWith(res->path, "!sys:");
    res->size = -1;
    if ((value = Attr(element, "size"))) ScanInt(*value, &res->size);
    if (res->sysFont && res->size < 1) return Fail("SysFont needs point size");
    res->bold = Has(element, "bold");
    res->italic = Has(element, "italic");
    res->underline = Has(element, "underline");
    res->shadow = Has(element, "shadow");
    return true;
}

void ResourceManager::DeleteMap(ResMap& map, const std::string& group) {
    for (auto& [id, res] : map) {
        if (group.empty() || res->resGroup == group) res->DeleteResource();
    }
}

void ResourceManager::DeleteResources(const std::string& group) {
    DeleteMap(imageMap, group);
    DeleteMap(soundMap, group);
    DeleteMap(fontMap, group);
    if (group.empty()) {
        loadedGroups.clear();
    } else {
        loadedGroups.erase(group);
    }
}

bool ResourceManager::DoLoadImage(ImageRes* res) {
    if (host == nullptr) return Fail("Failed to load image: " + res->path);
    host->SetAutoFindAlpha(res->autoFindAlpha);
    ImageLib::SetAlphaColor(res->alphaColor);
    bool isNew = false;
    SharedImageRef ref = host->GetSharedImage(res->path, res->variant, &isNew);
    ImageLib::SetAlphaColor(0xFFFFFF);
    host->SetAutoFindAlpha(true);
    MemoryImage* image = ref.Get();
    if (image == nullptr) return Fail("Failed to load image: " + res->path);

    if (isNew) {
        if (!res->alphaImage.empty()) {
            std::unique_ptr<MemoryImage> alpha = host->GetImage(res->alphaImage, false);
            if (!alpha) return Fail("Failed to load image: " + res->alphaImage);
            if (alpha->GetWidth() != image->GetWidth() ||
                alpha->GetHeight() != image->GetHeight()) {
                return Fail("AlphaImage size mismatch between " + res->path + " and " +
                            res->alphaImage);
            }
            uint32_t* bits = image->GetBits();
            const uint32_t* alphaBits = alpha->GetBits();
            if (bits != nullptr && alphaBits != nullptr) {
                ImageLib::SetAlphaFromBlue(
                    bits, alphaBits, static_cast<size_t>(image->GetWidth()) * image->GetHeight());
            }
            image->BitsChanged();
        }
        if (!res->alphaGridImage.empty()) {
            std::unique_ptr<MemoryImage> grid = host->GetImage(res->alphaGridImage, false);
            if (!grid) return Fail("Failed to load image: " + res->alphaGridImage);
            const int celWidth = image->GetWidth() / res->cols;
            const int celHeight = image->GetHeight() / res->rows;
            if (grid->GetWidth() != celWidth || grid->GetHeight() != celHeight) {
                return Fail("GridAlphaImage size mismatch between " + res->path + " and " +
                            res->alphaGridImage);
            }
            uint32_t* bits = image->GetBits();
            const uint32_t* gridBits = grid->GetBits();
            if (bits != nullptr && gridBits != nullptr) {
                const int width = image->GetWidth();
                for (int row = 0; row < res->rows; ++row) {
                    for (int col = 0; col < res->cols; ++col) {
                        for (int y = 0; y < celHeight; ++y) {
                            uint32_t* dst = bits +
                                            static_cast<size_t>(row * celHeight + y) * width +
                                            static_cast<size_t>(col) * celWidth;
                            ImageLib::SetAlphaFromBlue(
                                dst, gridBits + static_cast<size_t>(y) * celWidth, celWidth);
                        }
                    }
                }
            }
            image->BitsChanged();
        }
    }

    image->CommitBits();
    res->image = ref;
    const bool is3D = host->Is3D();
    bool purge = res->purgeBits || (res->purgeBits3D && is3D) || (res->purgeBits2D && !is3D);
    image->purgeBits = purge;
    if (res->ddSurface && !image->hasAlpha) {
        // Without translucent pixels the display form alone is enough.
        purge = true;
        image->purgeBits = true;
    }
    if (res->palletize) image->Palletize();
    if (res->a4r4g4b4) image->hwFlags |= MemoryImage::kHwFlagA4R4G4B4;
    if (res->a8r8g8b8) image->hwFlags |= MemoryImage::kHwFlagA8R8G8B8;
    if (res->minSubdivide) image->hwFlags |= MemoryImage::kHwFlagMinSubdivide;
    if (res->animInfo.animType != AnimInfo::AnimNone) {
        image->animInfo = std::make_unique<AnimInfo>(res->animInfo);
    }
    image->rows = res->rows;
    image->columns = res->cols;
    if (purge) image->PurgeBits();
    ResourceLoadedHook(res);
    return true;
}

bool ResourceManager::DoLoadSound(SoundRes* res) {
    // The sound manager is taken at load time: it may be created after the manifest is read.
    res->soundManager = host != nullptr ? host->GetSoundManager() : nullptr;
    SoundManager* sounds = res->soundManager;
    const int id = sounds != nullptr ? sounds->getFreeSoundId() : -1;
    if (id < 0) return Fail("Out of free sound ids");
    if (!sounds->loadSound(id, res->path)) return Fail("Failed to load sound: " + res->path);
    if (res->volume >= 0) sounds->setBaseVolume(id, res->volume);
    if (res->pan != 0) sounds->setBasePan(id, res->pan);
    res->soundId = id;
    ResourceLoadedHook(res);
    return true;
}

bool ResourceManager::DoLoadFont(FontRes* res) {
    std::unique_ptr<Font> font;
    std::unique_ptr<MemoryImage> fontImage;
    if (res->sysFont) {
        auto sysFont = std::make_unique<SysFont>(res->path.substr(5), res->size, res->bold,
                                                 res->italic, res->underline);
        sysFont->drawShadow = res->shadow;
        font = std::move(sysFont);
    } else if (!res->imagePath.empty()) {
        fontImage = host != nullptr ? host->GetImage(res->imagePath, true) : nullptr;
        if (!fontImage) return Fail("Failed to load image: " + res->imagePath);
        font = std::make_unique<ImageFont>(fontImage.get(), res->path);
    } else if (StartsWith(res->path, "!ref:")) {
        const std::string refId = res->path.substr(5);
        Font* source = GetFont(refId);
        if (source == nullptr) return Fail("Ref font not found: " + refId);
        font = source->Duplicate();
    } else {
        font = std::make_unique<ImageFont>(host, res->path);
    }

    if (auto* imageFont = dynamic_cast<ImageFont*>(font.get())) {
        if (!imageFont->IsInitialized()) return Fail("Failed to load font: " + res->path);
        const std::string separators = ", \r\n\t";
        size_t start = 0;
        while (start < res->tags.size()) {
            size_t end = res->tags.find_first_of(separators, start);
            if (end == std::string::npos) end = res->tags.size();
            if (end > start) imageFont->AddTag(res->tags.substr(start, end - start));
            start = end + 1;
        }
        imageFont->Prepare();
    }
    res->font = std::move(font);
    res->image = std::move(fontImage);
    ResourceLoadedHook(res);
    return true;
}

void ResourceManager::ResourceLoadedHook(BaseRes* res) {
    (void)res;
}

void ResourceManager::StartLoadResources(const std::string& group) {
    ClearError();
    currentGroup = group;
    curResGroupList = &resGroupMap[group];
    curResGroupListItr = 0;
}

bool ResourceManager::LoadNextResource() {
    if (hasFailed || curResGroupList == nullptr) return false;
    while (curResGroupListItr < curResGroupList->size()) {
        BaseRes* res = (*curResGroupList)[curResGroupListItr++];
        if (res->fromProgram) continue;
        switch (res->type) {
            case BaseRes::ResType_Image: {
                auto* image = static_cast<ImageRes*>(res);
                if (image->image) continue;
                return DoLoadImage(image);
            }
            case BaseRes::ResType_Sound: {
                auto* sound = static_cast<SoundRes*>(res);
                if (sound->soundId != -1) continue;
                return DoLoadSound(sound);
            }
            case BaseRes::ResType_Font: {
                auto* font = static_cast<FontRes*>(res);
                if (font->font) continue;
                return DoLoadFont(font);
            }
            default:
                continue;
        }
    }
    return false;
}

bool ResourceManager::LoadResources(const std::string& group) {
    ClearError();
    StartLoadResources(group);
    while (LoadNextResource()) {
    }
    if (hasFailed) return false;
    loadedGroups.insert(group);
    return true;
}

int ResourceManager::CountGroup(const ResMap& map, const std::string& group) const {
    int count = 0;
    for (const auto& [id, res] : map) {
        if (res->resGroup == group && !res->fromProgram) ++count;
    }
    return count;
}

int ResourceManager::GetNumImages(const std::string& group) const {
    return CountGroup(imageMap, group);
}
int ResourceManager::GetNumSounds(const std::string& group) const {
    return CountGroup(soundMap, group);
}
int ResourceManager::GetNumFonts(const std::string& group) const {
    return CountGroup(fontMap, group);
}
int ResourceManager::GetNumResources(const std::string& group) const {
    return GetNumImages(group) + GetNumSounds(group) + GetNumFonts(group);
}

BaseRes* ResourceManager::FindRecord(int type, const std::string& id) {
    ResMap* map = type == BaseRes::ResType_Image   ? &imageMap
                  : type == BaseRes::ResType_Sound ? &soundMap
                                                   : &fontMap;
    auto it = map->find(id);
    return it == map->end() ? nullptr : it->second.get();
}

void ResourceManager::ThrowLookup(const std::string& text) {
    Fail(text);
    // The exception carries the error the manager keeps: the first one, which is usually the
    // cause (a failed load) of this lookup's failure.
    throw ResourceManagerException(error);
}

SharedImageRef ResourceManager::GetImageThrow(const std::string& id) {
    if (auto* res = static_cast<ImageRes*>(FindRecord(BaseRes::ResType_Image, id))) {
        if (res->image) return res->image;
        if (allowMissingProgramResources && res->fromProgram) return SharedImageRef();
    }
    ThrowLookup("Image resource not found: " + id);
}

int ResourceManager::GetSoundThrow(const std::string& id) {
    if (auto* res = static_cast<SoundRes*>(FindRecord(BaseRes::ResType_Sound, id))) {
        if (res->soundId != -1) return res->soundId;
        if (allowMissingProgramResources && res->fromProgram) return -1;
    }
    ThrowLookup("Sound resource not found: " + id);
}

Font* ResourceManager::GetFontThrow(const std::string& id) {
    if (auto* res = static_cast<FontRes*>(FindRecord(BaseRes::ResType_Font, id))) {
        if (res->font) return res->font.get();
        if (allowMissingProgramResources && res->fromProgram) return nullptr;
    }
    ThrowLookup("Font resource not found: " + id);
}

Font* ResourceManager::GetFont(const std::string& id) {
    auto* res = static_cast<FontRes*>(FindRecord(BaseRes::ResType_Font, id));
    return res != nullptr ? res->font.get() : nullptr;
}

SharedImageRef ResourceManager::GetImage(const std::string& id) {
    auto* res = static_cast<ImageRes*>(FindRecord(BaseRes::ResType_Image, id));
    return res != nullptr ? res->image : SharedImageRef();
}

int ResourceManager::GetSound(const std::string& id) {
    auto* res = static_cast<SoundRes*>(FindRecord(BaseRes::ResType_Sound, id));
    return res != nullptr ? res->soundId : -1;
}

}  // namespace Zarvo
