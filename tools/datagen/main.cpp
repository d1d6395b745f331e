// The data generator: writes every file of the game's data into a folder, and the contact sheet
// and screen mock-ups into another.
// Usage: datagen <assets folder> <data folder> <preview folder>
//        datagen --icons <folder> <name>   (the program's icon at every size, hicolor layout)
#include <cstdio>
#include <exception>
#include <string>

#include "DataGenerator.h"
#include "IconArt.h"

// fontconfig keeps its font cache until the process ends and frees it only on request; under
// LeakSanitizer that cache would count as a leak of this program.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango\nleak:libharfbuzz.so\n";
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--icons") {
        return datagen::IconArt::writeAll(argv[2], argv[3]) ? 0 : 1;
    }
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s <assets folder> <data folder> <preview folder>\n"
                     "       %s --icons <folder> <name>\n",
                     argv[0], argv[0]);
        return 2;
    }
    try {
        datagen::DataGenerator gen(argv[1], argv[2], argv[3]);
        if (!gen.run()) return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
