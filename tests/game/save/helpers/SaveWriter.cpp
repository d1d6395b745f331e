// A program the tests kill in the middle of saving: it writes the two large saves of BigSave.h
// in turn through the game's own save path into the folder it is given, and prints a line after
// each. With a count it stops after that many saves, otherwise it goes on until it is killed.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "diagnostics/AllocationTracker.h"
#include "game/save/SaveGame.h"
#include "game/save/helpers/BigSave.h"
#include "platform/FileSystem.h"

namespace {

// Writes and syncs the temporary file as usual, then says so and waits before the rename, so
// that a kill is sure to land between the two.
class HoldBeforeRename : public Zarvo::FileSystem {
public:
    int Rename(const std::string& from, const std::string& to) override {
        std::printf("renaming\n");
        std::fflush(stdout);
        for (;;) pause();
        return FileSystem::Rename(from, to);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save_writer <folder> [saves | hold]\n");
        return 2;
    }
    // "hold": the second save stops before its rename until the process is killed.
    const bool hold = argc > 2 && std::string(argv[2]) == "hold";
    const long count = argc > 2 && !hold ? std::atol(argv[2]) : 0;
    HoldBeforeRename holding;
    std::unique_ptr<Zarvo::ScopedFileSystem> held;
    // Beside the save folder: the folder holds nothing but the save and its temporary files.
    Zarvo::SetLeakReportPath(std::string(argv[1]) + ".leaks.txt");
    const Kelvane::SaveGame save(
        argv[1], [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    const Kelvane::testing::BigPlay plays[2] = {Kelvane::testing::BigPlay(0),
                                                Kelvane::testing::BigPlay(1)};
    for (long n = 0; count == 0 || n < count; ++n) {
        if (hold && n == 1) held = std::make_unique<Zarvo::ScopedFileSystem>(holding);
        const Kelvane::testing::BigPlay& play = plays[n % 2];
        if (!save.writeSave(play.gamePlay, play.profile)) return 1;
        std::printf("saved %ld\n", n);
        std::fflush(stdout);
    }
    return 0;
}
