#include "DataGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ButtonArt.h"
#include "ContactSheet.h"
#include "DialogArt.h"
#include "FontBaker.h"
#include "HudArt.h"
#include "MockupComposer.h"
#include "PieceArt.h"
#include "ScreenArt.h"
#include "SoundSynth.h"
#include "WorldMap.h"

namespace datagen {

DataGenerator::DataGenerator(std::string assets, std::string out)
    : assets_(std::move(assets)), out_(std::move(out)) {}

bool DataGenerator::writeText(const std::string& relPath, const std::string& text) const {
    const std::filesystem::path p = std::filesystem::path(out_) / relPath;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f << text;
    return static_cast<bool>(f);
}

bool DataGenerator::run() {
    PieceArt::build(cat_);
    HudArt::build(cat_);
    WorldMap map;
    if (!map.load(assets_)) {
        std::fprintf(stderr, "datagen: %s\n", map.error().c_str());
        return false;
    }
    std::fprintf(stderr, "datagen: tour stages land within %.1f pixels of their markers\n",
                 map.worstStageError());
    ScreenArt::build(cat_, map);
    ButtonArt::build(cat_);
    if (!DialogArt::build(cat_, assets_)) {
        std::fprintf(stderr, "datagen: rules.txt must hold seven pages\n");
        return false;
    }

    FontBaker fonts;
    bool ok = fonts.build(cat_, out_);
    SoundSynth sounds;
    ok &= sounds.build(cat_, out_);
    ok &= cat_.writeImages(out_);
    ok &= writeText("properties/resources.xml", cat_.manifest());
    std::filesystem::create_directories(out_ + "/preview");
    ok &= ContactSheet::write(cat_, out_ + "/preview/contact_sheet.png");
    ok &= MockupComposer(cat_, fonts).writeAll(out_ + "/preview");
    if (!ok) std::fprintf(stderr, "datagen: could not write every file under %s\n", out_.c_str());
    return ok;
}

}  // namespace datagen
