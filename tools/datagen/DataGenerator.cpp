#include "DataGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ContactSheet.h"
#include "PieceArt.h"

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

    bool ok = cat_.writeImages(out_);
    ok &= writeText("properties/resources.xml", cat_.manifest());
    std::filesystem::create_directories(out_ + "/preview");
    ok &= ContactSheet::write(cat_, out_ + "/preview/contact_sheet.png");
    if (!ok) std::fprintf(stderr, "datagen: could not write every file under %s\n", out_.c_str());
    return ok;
}

}  // namespace datagen
