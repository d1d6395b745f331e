#include "DataGenerator.h"

#include <chrono>
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

DataGenerator::DataGenerator(std::string assets, std::string out, std::string preview)
    : assets_(std::move(assets)), out_(std::move(out)), preview_(std::move(preview)) {}

bool DataGenerator::writeText(const std::string& relPath, const std::string& text) const {
    const std::filesystem::path p = std::filesystem::path(out_) / relPath;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f << text;
    return static_cast<bool>(f);
}

bool DataGenerator::settleFileTimes() const {
    namespace fs = std::filesystem;
    using namespace std::chrono;
    const auto fixed = file_clock::from_sys(time_point_cast<seconds>(sys_days{year{2026} / 1 / 1}));
    std::error_code ec;
    for (fs::recursive_directory_iterator it(out_, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) fs::last_write_time(it->path(), fixed, ec);
        if (ec) return false;
    }
    return !ec;
}

bool DataGenerator::run() {
    PieceArt::build(cat_);
    HudArt::build(cat_);
    WorldMap map;
    if (!map.load(assets_)) {
        std::fprintf(stderr, "datagen: %s\n", map.error().c_str());
        return false;
    }
    // The markers are 18 pixels wide: a place further than that from its marker is a data error.
    if (map.worstStageError() > 9) {
        std::fprintf(stderr, "datagen: a tour stage lands %.1f pixels from its marker\n",
                     map.worstStageError());
        return false;
    }
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
    ok &= settleFileTimes();
    std::filesystem::create_directories(preview_);
    ok &= ContactSheet::write(cat_, preview_ + "/contact_sheet.png");
    ok &= MockupComposer(cat_, fonts).writeAll(preview_);
    if (!ok) std::fprintf(stderr, "datagen: could not write every file under %s\n", out_.c_str());
    return ok;
}

}  // namespace datagen
