#pragma once

namespace Zarvo {

class ZarvoAppBase;

// Loads images, fonts and sounds by group and identifier from the resource manifest.
// For now holds nothing.
class ResourceManager {
public:
    explicit ResourceManager(ZarvoAppBase* app) : app_(app) {}
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

private:
    [[maybe_unused]] ZarvoAppBase* app_;
};

}  // namespace Zarvo
