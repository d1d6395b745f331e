#include "ResourceCatalog.h"

#include <filesystem>
#include <stdexcept>

#include "ImageFiles.h"

namespace datagen {

ImageEntry& ResourceCatalog::add(const std::string& id, const std::string& dir,
                                 const std::string& name, int w, int h, ImageStore store) {
    if (byId_.count(id)) throw std::runtime_error("image defined twice: " + id);
    auto e = std::make_unique<ImageEntry>();
    e->id = id;
    e->dir = dir;
    e->name = name;
    e->store = store;
    e->canvas = std::make_unique<Canvas>(w, h);
    ImageEntry& ref = *e;
    byId_[id] = e.get();
    images_.push_back(std::move(e));
    return ref;
}

ImageEntry* ResourceCatalog::find(const std::string& id) {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

const ImageEntry& ResourceCatalog::get(const std::string& id) const {
    auto it = byId_.find(id);
    if (it == byId_.end()) throw std::runtime_error("no such image: " + id);
    return *it->second;
}

bool ResourceCatalog::writeImages(const std::string& root) const {
    bool ok = true;
    for (const auto& e : images_) {
        const std::string dir = root + "/" + e->dir;
        std::filesystem::create_directories(dir);
        const std::string base = dir + "/" + e->name;
        const int w = e->canvas->width(), h = e->canvas->height();
        const std::vector<uint32_t> px = e->canvas->pixels();
        switch (e->store) {
            case ImageStore::Png:
                ok &= ImageFiles::writePng(base + ".png", w, h, px);
                break;
            case ImageStore::Jpeg:
                ok &= ImageFiles::writeJpeg(base + ".jpg", w, h, px, 90);
                break;
            case ImageStore::Gif:
                ok &= ImageFiles::writeGif(base + ".gif", w, h, px);
                break;
            case ImageStore::Tga:
                ok &= ImageFiles::writeTga(base + ".tga", w, h, px);
                break;
            case ImageStore::JpegPlusAlpha:
                ok &= ImageFiles::writeJpeg(base + ".jpg", w, h, px, 95);
                ok &= ImageFiles::writeAlphaPng(dir + "/_" + e->name + ".png", w, h, px);
                break;
            case ImageStore::JpegAlphaImage:
                ok &= ImageFiles::writeJpeg(base + ".jpg", w, h, px, 95);
                ok &= ImageFiles::writeAlphaPng(base + "_alpha.png", w, h, px);
                break;
            case ImageStore::JpegAlphaGrid: {
                ok &= ImageFiles::writeJpeg(base + ".jpg", w, h, px, 95);
                // Every cel shares the alpha of the first one.
                const int cw = w / e->cols, ch = h / e->rows;
                std::vector<uint32_t> cel(static_cast<size_t>(cw) * ch);
                for (int y = 0; y < ch; ++y)
                    for (int x = 0; x < cw; ++x) cel[y * cw + x] = px[y * w + x];
                ok &= ImageFiles::writeAlphaPng(base + "_grid.png", cw, ch, cel);
                break;
            }
        }
    }
    return ok;
}

namespace {

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string ResourceCatalog::manifest() const {
    std::string m;
    m += "<?xml version=\"1.0\"?>\n";
    m += "<!-- Kelvane resources: written by the data generator; do not edit by hand. -->\n";
    m += "<ResourceManifest>\n";
    m += "  <Resources id=\"Init\">\n";
    // Font descriptors are named after their ids, so the prefix makes the ids.
    m += "    <SetDefaults path=\"fonts\" idprefix=\"FONT_\" />\n";
    for (const auto& f : fonts_) {
        m += "    <Font path=\"" + f.path + "\"";
        if (!f.tags.empty()) m += " tags=\"" + escape(f.tags) + "\"";
        m += " />\n";
    }
    m += "  </Resources>\n";
    m += "  <Resources id=\"Game\">\n";
    // Images named after their ids take the prefix; the others carry their full id and no prefix.
    std::string currentDir;
    int currentPrefixed = -1;
    for (const auto& e : images_) {
        if (e->dir != currentDir || int(e->idFromName) != currentPrefixed) {
            currentDir = e->dir;
            currentPrefixed = e->idFromName;
            m += "    <SetDefaults path=\"" + currentDir + "\" idprefix=\"" +
                 (e->idFromName ? "IMAGE_" : "") + "\" />\n";
        }
        m += "    <Image";
        if (!e->idFromName) m += " id=\"" + e->id + "\"";
        m += " path=\"" + e->name + "\"";
        if (e->store == ImageStore::JpegAlphaImage) m += " alphaimage=\"" + e->name + "_alpha\"";
        if (e->store == ImageStore::JpegAlphaGrid) m += " alphagrid=\"" + e->name + "_grid\"";
        if (e->rows != 1) m += " rows=\"" + std::to_string(e->rows) + "\"";
        if (e->cols != 1) m += " cols=\"" + std::to_string(e->cols) + "\"";
        for (const auto& [k, v] : e->attributes) m += " " + k + "=\"" + escape(v) + "\"";
        m += " />\n";
    }
    m += "    <SetDefaults path=\"sounds\" idprefix=\"\" />\n";
    for (const auto& s : sounds_) {
        m += "    <Sound id=\"" + s.id + "\" path=\"" + s.name + "\"";
        if (!s.volume.empty()) m += " volume=\"" + s.volume + "\"";
        m += " />\n";
    }
    m += "  </Resources>\n";
    m += "</ResourceManifest>\n";
    return m;
}

}  // namespace datagen
