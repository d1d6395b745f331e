#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "graphics/SharedImageRef.h"
#include "resources/BaseRes.h"
#include "resources/FontRes.h"
#include "resources/ImageRes.h"
#include "resources/SoundRes.h"

namespace Zarvo {

class Font;
class ResourceHost;
class XMLParser;
struct XMLElement;

// Reads the resource manifest into records grouped by section, loads a group on request (all at
// once, or one resource per call for a progress display), and hands out the loaded images, sound
// ids and fonts by id.
//
// Every failure keeps only the first error text (with the manifest line and file while
// parsing) and makes the operation return false; only the ...Throw lookups throw.
class ResourceManager {
public:
    using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;
    using ResList = std::vector<BaseRes*>;

    explicit ResourceManager(ResourceHost* host);
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads a manifest; records of several manifests accumulate.
    bool ParseResourcesFile(const std::string& filename);

    virtual bool ParseCommonResource(const XMLElement& element, std::unique_ptr<BaseRes> res,
                                     ResMap& map, BaseRes** filled);
    virtual bool ParseSoundResource(const XMLElement& element);
    virtual bool ParseImageResource(const XMLElement& element);
    virtual bool ParseFontResource(const XMLElement& element);
    virtual bool ParseSetDefaults(const XMLElement& element);
    virtual bool ParseResources();
    // Frees what was loaded for every record of the group (every record for an empty name).
    virtual void DeleteResources(const std::string& group);
    virtual void DeleteMap(ResMap& map, const std::string& group);
    virtual bool DoLoadImage(ImageRes* res);
    virtual bool DoLoadFont(FontRes* res);
    virtual bool DoLoadSound(SoundRes* res);
    virtual ~ResourceManager();
    // Loads the next resource of the current group: false at the end of the group or after an
    // error. Each true is one finished step.
    virtual bool LoadNextResource();
    // Called after each successful load.
    virtual void ResourceLoadedHook(BaseRes* res);
    virtual void StartLoadResources(const std::string& group);
    virtual bool LoadResources(const std::string& group);
    // The loaded resource of that id. An unknown or unloaded id throws ResourceManagerException,
    // unless it is a "!program" record and missing program resources are allowed (then an empty
    // result).
    virtual SharedImageRef GetImageThrow(const std::string& id);
    virtual int GetSoundThrow(const std::string& id);
    virtual Font* GetFontThrow(const std::string& id);

    // The loaded font of that id, or null; never an error.
    Font* GetFont(const std::string& id);
    SharedImageRef GetImage(const std::string& id);
    int GetSound(const std::string& id);

    // Records of the group that the program does not supply itself.
    int GetNumImages(const std::string& group) const;
    int GetNumSounds(const std::string& group) const;
    int GetNumFonts(const std::string& group) const;
    int GetNumResources(const std::string& group) const;

    bool IsGroupLoaded(const std::string& group) const { return loadedGroups.count(group) > 0; }
    bool HadError() const { return hasFailed; }
    const std::string& GetErrorText() const { return error; }
    bool HadAlreadyDefinedError() const { return hadAlreadyDefinedError; }
    void SetAllowMissingProgramImages(bool allow) { allowMissingProgramResources = allow; }
    void SetAllowAlreadyDefinedResources(bool allow) { allowAlreadyDefinedResources = allow; }

    // The record of an id (loaded or not), or null.
    BaseRes* FindRecord(int type, const std::string& id);

protected:
    // Keeps the first error only; while a manifest is read, its line and file name are added.
    bool Fail(const std::string& text);
    void ClearError();
    int CountGroup(const ResMap& map, const std::string& group) const;
    [[noreturn]] void ThrowLookup(const std::string& text);

    std::set<std::string> loadedGroups;
    ResMap imageMap;
    ResMap soundMap;
    ResMap fontMap;
    std::unique_ptr<XMLParser> xmlParser;
    std::string error;
    bool hasFailed = false;
    ResourceHost* host;
    std::string currentGroup;
    std::string defaultPath;
    std::string defaultIdPrefix;
    bool allowMissingProgramResources = false;
    bool allowAlreadyDefinedResources = false;
    bool hadAlreadyDefinedError = false;
    std::map<std::string, ResList> resGroupMap;
    ResList* curResGroupList = nullptr;
    size_t curResGroupListItr = 0;

private:
    bool ParseResourceManifest();
};

}  // namespace Zarvo
