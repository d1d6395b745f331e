#pragma once
#include <string>

#include "ResourceCatalog.h"

namespace datagen {

// Runs every part of the generator in order and writes the results.
class DataGenerator {
public:
    DataGenerator(std::string assets, std::string out);
    bool run();

private:
    bool writeText(const std::string& relPath, const std::string& text) const;

    std::string assets_, out_;
    ResourceCatalog cat_;
};

}  // namespace datagen
