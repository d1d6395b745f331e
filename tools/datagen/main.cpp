// The data generator: writes every file of the game's data into a folder.
// Usage: datagen <assets folder> <output folder>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "ContactSheet.h"
#include "DataGenerator.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <assets folder> <output folder>\n", argv[0]);
        return 2;
    }
    try {
        datagen::DataGenerator gen(argv[1], argv[2]);
        if (!gen.run()) return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
