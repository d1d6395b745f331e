// The built game run with folders it cannot write: its settings, data and cache folders read-only
// or impossible to create. It starts, plays a tour match, says that the tour and the settings
// cannot be saved instead of claiming they were, quits cleanly and leaves every earlier file as
// it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/TempDir.h"
#include "game/BuiltGame.h"
#include "game/save/SaveGame.h"
#include "platform/ChildProcess.h"

namespace Kelvane {
namespace {

namespace fs = std::filesystem;
using testing::kGame;
using testing::kPak;
using testing::makeRunFolders;
using testing::readFile;

constexpr int kRunTimeoutMs = 240000;
// Permission bits do not stop root: a root run of the game drops to this user.
constexpr int kNobody = 65534;
const char* const kSetpriv = "/usr/bin/setpriv";

// Every file below `path` (or `path` itself) by its name, with its content; folders too, empty.
std::map<std::string, std::string> snapshot(const fs::path& path) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
        if (fs::exists(path, ec)) files[path.string()] = readFile(path);
        return files;
    }
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::end(it);
         it.increment(ec))
        files[it->path().string()] = it->is_regular_file() ? readFile(it->path()) : "<folder>";
    return files;
}

// Sets the mode of `path` and everything below it: `folderMode` on folders, `fileMode` on files.
void setModes(const fs::path& path, fs::perms folderMode, fs::perms fileMode) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        // A link is left alone: changing it would change what it points to.
        if (it->is_symlink()) continue;
        fs::permissions(it->path(), it->is_directory() ? folderMode : fileMode, ec);
    }
    fs::permissions(path, folderMode, ec);
}

struct FolderCase {
    const char* name;
    // The folders exist and hold a tour and settings from an earlier run, and are then made
    // read-only; otherwise they are to be made below a regular file, which fails even for root.
    bool readOnly;
    std::vector<std::string> told;  // what the run must say
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class FolderFaultRunTest : public ::testing::TestWithParam<FolderCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kGame));
        ASSERT_TRUE(fs::exists(kPak));
        makeRunFolders(folder.Path());
        fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    }

    void TearDown() override {
        // Writable again, so that the folder can be removed.
        setModes(folder.Path(), fs::perms::owner_all,
                 fs::perms::owner_read | fs::perms::owner_write);
    }

    // Runs a one-match world tour to the end with the three folders below `base`, as `nobody`
    // when `dropRoot`; answers its exit status, its output in `out`.
    int runTour(const fs::path& base, bool dropRoot) {
        std::vector<std::string> argv = {kGame.string(), "-changedir=" + (folder / "data"),
                                         "-autoplay=tour", "-fast"};
        if (dropRoot) {
            const std::string id = std::to_string(kNobody);
            argv.insert(argv.begin(),
                        {kSetpriv, "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
        }
        const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                              "SDL_AUDIODRIVER=dummy",
                                              "XDG_CONFIG_HOME=" + (base / "config").string(),
                                              "XDG_DATA_HOME=" + (base / "share").string(),
                                              "XDG_CACHE_HOME=" + (base / "cache").string(),
                                              "XDG_RUNTIME_DIR=" + folder / "run"};
        Zarvo::ChildProcess game;
        const fs::path log = folder.Path() / ("output" + std::to_string(++runs) + ".txt");
        if (!game.Start(argv, env, log)) return -1;
        const int status = game.Wait(kRunTimeoutMs);
        if (status == -1) game.Kill();
        out = readFile(log);
        return status;
    }

    TempDir folder;
    std::string out;
    int runs = 0;
};

TEST_P(FolderFaultRunTest, TheGamePlaysSaysWhatItCannotSaveAndQuitsCleanly) {
    const FolderCase& c = GetParam();
    const bool root = geteuid() == 0;
    fs::path base = folder.Path() / "home";
    if (c.readOnly) {
        if (root && !fs::exists(kSetpriv)) GTEST_SKIP() << "root, and no setpriv to drop it";
        ASSERT_EQ(runTour(base, false), 0) << out;
        ASSERT_NE(out.find("Saving tour: "), std::string::npos) << out;
        setModes(base,
                 fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec,
                 fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        if (root) {
            // The run as another user leaves its report and its lock where it may.
            fs::permissions(folder.Path() / "data", fs::perms::all);
            ASSERT_EQ(chown((folder / "run").c_str(), kNobody, kNobody), 0);
            fs::remove(folder.Path() / "data" / "mem_leaks.txt");
        }
    } else {
        base /= "file";
        fs::create_directories(base.parent_path());
        folder.Write("home/file", std::string("a file where folders should be"));
    }
    const auto before = snapshot(folder.Path() / "home");
    ASSERT_FALSE(before.empty());

    ASSERT_EQ(runTour(base, c.readOnly && root), 0) << out;
    for (const std::string& line : c.told) EXPECT_NE(out.find(line), std::string::npos) << line;
    EXPECT_NE(out.find("Total Unfreed: 0 bytes"), std::string::npos) << out;
    EXPECT_EQ(snapshot(folder.Path() / "home"), before) << out;
}

const std::string kUnwritable = SaveGame::kUnwritableText;

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderFaultRunTest,
    ::testing::Values(
        FolderCase{"ReadOnly",
                   true,
                   {"Resumed tour: ", "Cannot save the settings to ",
                    kUnwritable + ": Permission denied", "Quitting without the tour saved"}},
        FolderCase{"BelowAFile",
                   false,
                   {"Cannot save the settings to ", "Cannot create the data folder ",
                    kUnwritable + ": Not a directory", "Quitting without the tour saved"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Kelvane
