// A program the tests kill in the middle of saving: it writes the two large saves of BigSave.h
// in turn through the game's own save path into the folder it is given, and prints a line after
// each. With a count it stops after that many saves, otherwise it goes on until it is killed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "diagnostics/AllocationTracker.h"
#include "game/save/SaveGame.h"
#include "game/save/helpers/BigSave.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save_writer <folder> [saves]\n");
        return 2;
    }
    const long count = argc > 2 ? std::atol(argv[2]) : 0;
    // Beside the save folder: the folder holds nothing but the save and its temporary files.
    Zarvo::SetLeakReportPath(std::string(argv[1]) + ".leaks.txt");
    const Kelvane::SaveGame save(
        argv[1], [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    const Kelvane::testing::BigPlay plays[2] = {Kelvane::testing::BigPlay(0),
                                                Kelvane::testing::BigPlay(1)};
    for (long n = 0; count == 0 || n < count; ++n) {
        const Kelvane::testing::BigPlay& play = plays[n % 2];
        if (!save.writeSave(play.gamePlay, play.profile)) return 1;
        std::printf("saved %ld\n", n);
        std::fflush(stdout);
    }
    return 0;
}
