#pragma once
#include <string>

#include "ResourceCatalog.h"

namespace datagen {

// Runs every part of the generator in order and writes the results.
class DataGenerator {
public:
    DataGenerator(std::string assets, std::string out, std::string preview);
    bool run();

private:
    bool writeText(const std::string& relPath, const std::string& text) const;
    // Gives every data file the same modification time, so the pack file built from them is the
    // same from build to build.
    bool settleFileTimes() const;

    std::string assets_, out_, preview_;
    ResourceCatalog cat_;
};

}  // namespace datagen
