// Fuzzes the save game loader: any file must load or be refused without harm, a refused file
// must leave the fresh tour as it was, and a loaded one must leave a current stage and a team and
// save back to the record it was read from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "files/Buffer.h"
#include "game/save/Profile.h"
#include "game/save/SaveGame.h"
#include "game/save/SaveRecord.h"
#include "game/tour/GamePlay.h"

namespace {

// One folder per process for the input, removed when the process ends.
struct FuzzFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("kelvane-fuzz-save-" + std::to_string(std::random_device()()));
    FuzzFolder() { std::filesystem::create_directories(path); }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFolder folder;
    const std::string file = (folder.path / Kelvane::SaveGame::kFileName).string();
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 0;
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);

    int popups = 0;
    Kelvane::SaveGame save(folder.path.string(), [&](const std::string&) { ++popups; });
    Kelvane::Profile profile;
    Kelvane::GamePlay gamePlay(profile);
    gamePlay.startWorldTour();
    profile.setTeam(gamePlay.findNation(3));
    Kelvane::Team* before = profile.team;

    const bool loaded = save.loadSave(gamePlay, profile);
    if (gamePlay.currentStage() == nullptr || profile.team == nullptr) std::abort();
    if (loaded == (popups != 0)) std::abort();
    if (!loaded) {
        if (profile.team != before || gamePlay.currentStage() != gamePlay.firstStage())
            std::abort();
        return 0;
    }
    Zarvo::Buffer input(data, size);
    const Kelvane::SaveRecord read = Kelvane::SaveRecord::read(input);
    if (!(Kelvane::SaveRecord::fromPlay(gamePlay, profile) == read)) std::abort();
    return 0;
}
