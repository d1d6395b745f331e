#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"

namespace datagen {

// How an image is stored on disk, chosen so the game's data exercises every loader path.
enum class ImageStore {
    Png,             // PNG with alpha
    Jpeg,            // opaque JPEG
    Gif,             // GIF with a transparent index
    Tga,             // 32-bit TGA, top-left origin
    JpegPlusAlpha,   // JPEG colours with a companion "_" file carrying the alpha
    JpegAlphaImage,  // JPEG colours with an "alphaimage" attribute naming the alpha file
    JpegAlphaGrid,   // JPEG cel strip with an "alphagrid" attribute: one cel of alpha for all cels
};

struct ImageEntry {
    std::string id;           // IMAGE_...
    std::string dir;          // folder under the data root, e.g. "images"
    std::string name;         // file name without extension
    bool idFromName = false;  // the manifest leaves out "id": prefix + file name gives it
    ImageStore store = ImageStore::Png;
    std::unique_ptr<Canvas> canvas;
    int rows = 1, cols = 1;
    std::vector<std::pair<std::string, std::string>> attributes;  // extra manifest attributes
};

struct FontEntry {
    std::string id;
    std::string path;  // descriptor path relative to the data root, without the "fonts/" folder
    std::string tags;
};

struct SoundEntry {
    std::string id;
    std::string name;    // file name under sounds/ without extension
    std::string volume;  // base volume from 0 to 1; empty leaves the sound manager's default
};

// Everything the generator produced, and the manifest that declares it.
class ResourceCatalog {
public:
    ImageEntry& add(const std::string& id, const std::string& dir, const std::string& name, int w,
                    int h, ImageStore store = ImageStore::Png);
    ImageEntry* find(const std::string& id);
    const ImageEntry& get(const std::string& id) const;
    const Canvas& canvas(const std::string& id) const { return *get(id).canvas; }
    const std::vector<std::unique_ptr<ImageEntry>>& images() const { return images_; }

    void addFont(FontEntry f) { fonts_.push_back(std::move(f)); }
    void addSound(SoundEntry s) { sounds_.push_back(std::move(s)); }

    // Writes every image file (and companion alpha files) under root. Answers false on an I/O
    // error.
    bool writeImages(const std::string& root) const;
    // The manifest text of properties/resources.xml.
    std::string manifest() const;

private:
    std::vector<std::unique_ptr<ImageEntry>> images_;
    std::map<std::string, ImageEntry*> byId_;
    std::vector<FontEntry> fonts_;
    std::vector<SoundEntry> sounds_;
};

}  // namespace datagen
