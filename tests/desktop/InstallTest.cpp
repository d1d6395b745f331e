// A fresh installation into a scratch prefix: what a desktop reads of it is valid, and the
// installed game runs from anywhere without writing into its installation.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DesktopTestSupport.h"
#include "files/TempDir.h"

namespace {

namespace fs = std::filesystem;
using namespace DesktopTest;

const std::string kAppId = KELVANE_APP_ID;

// The width and height in a PNG file's header; 0 when it is no PNG.
std::pair<int, int> PngSize(const fs::path& path) {
    const std::string bytes = ReadFile(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be32 = [&](size_t at) {
        return static_cast<int>(
            static_cast<uint8_t>(bytes[at]) << 24 | static_cast<uint8_t>(bytes[at + 1]) << 16 |
            static_cast<uint8_t>(bytes[at + 2]) << 8 | static_cast<uint8_t>(bytes[at + 3]));
    };
    return {be32(16), be32(20)};
}

// One installation for the whole suite: installing is the slow part.
class Installed : public testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new TempDir();
        prefix = scratch->Path() / "prefix";
        const int rc = RunProgram(
            {KELVANE_CMAKE_COMMAND, "--install", KELVANE_BINARY_DIR, "--prefix", prefix.string()},
            {}, scratch->Path() / "install.txt");
        installed = rc == 0;
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(installed) << ReadFile(scratch->Path() / "install.txt"); }

    // The environment of a player whose folders all lie in `home`.
    static std::vector<std::string> PlayerEnvironment(const fs::path& home) {
        fs::create_directories(home / "run");
        fs::permissions(home / "run", fs::perms::owner_all);
        return {"SDL_VIDEODRIVER=dummy",
                "SDL_AUDIODRIVER=dummy",
                "KELVANE_RUN_UNTIL_SCREEN=4",
                "HOME=" + home.string(),
                "XDG_CONFIG_HOME=",  // empty counts as unset: HOME/.config
                "XDG_DATA_HOME=" + (home / "data").string(),
                "XDG_CACHE_HOME=" + (home / "cache").string(),
                "XDG_RUNTIME_DIR=" + (home / "run").string()};
    }

    static TempDir* scratch;
    static fs::path prefix;
    static bool installed;
};

TempDir* Installed::scratch = nullptr;
fs::path Installed::prefix;
bool Installed::installed = false;

TEST_F(Installed, PutsEveryFileWhereTheDesktopLooks) {
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "kelvane"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share" / "kelvane" / "main.pak"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share" / "applications" / (kAppId + ".desktop")));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share" / "metainfo" / (kAppId + ".metainfo.xml")));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon =
            prefix / "share" / "icons" / "hicolor" / folder / "apps" / (kAppId + ".png");
        EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
    }
    // The desktop entry starts the installed program and names the installed icon.
    const std::string entry = ReadFile(prefix / "share" / "applications" / (kAppId + ".desktop"));
    EXPECT_NE(entry.find("\nExec=kelvane\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=" + kAppId + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nCategories=Game;LogicGame;\n"), std::string::npos) << entry;
}

TEST_F(Installed, TheDesktopEntryAndTheMetainfoPassTheirValidators) {
    const std::string desktopValidate = FindProgram("desktop-file-validate");
    const std::string appstream = FindProgram("appstreamcli");
    ASSERT_FALSE(desktopValidate.empty()) << "desktop-file-utils is missing: run scripts/deps.sh";
    ASSERT_FALSE(appstream.empty()) << "appstream is missing: run scripts/deps.sh";
    const fs::path out = scratch->Path() / "validate.txt";
    EXPECT_EQ(RunProgram({desktopValidate,
                          (prefix / "share" / "applications" / (kAppId + ".desktop")).string()},
                         {}, out),
              0)
        << ReadFile(out);
    EXPECT_EQ(RunProgram({appstream, "validate", "--no-net",
                          (prefix / "share" / "metainfo" / (kAppId + ".metainfo.xml")).string()},
                         {}, out),
              0)
        << ReadFile(out);
}

TEST_F(Installed, TheGameRunsFromAnotherFolderAndWritesOnlyIntoThePlayersFolders) {
    const fs::path home = scratch->Path() / "home";
    const fs::path elsewhere = scratch->Path() / "elsewhere";
    fs::create_directories(elsewhere);
    const auto before = TreePicture(prefix);
    const fs::path out = scratch->Path() / "game.txt";

    const fs::path oldCwd = fs::current_path();
    fs::current_path(elsewhere);
    const int rc =
        RunProgram({(prefix / "bin" / "kelvane").string()}, PlayerEnvironment(home), out);
    fs::current_path(oldCwd);

    ASSERT_EQ(rc, 0) << ReadFile(out);
    EXPECT_NE(ReadFile(out).find("Screen 4 after"), std::string::npos) << ReadFile(out);
    EXPECT_EQ(TreePicture(prefix), before) << "the game wrote into its installation";
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "the game wrote into the folder it was started from";
    // Settings under HOME/.config (XDG_CONFIG_HOME was empty), the leak report in the data
    // folder.
    EXPECT_TRUE(fs::exists(home / ".config" / "Orlend")) << ReadFile(out);
    const std::string report = ReadFile(home / "data" / "Kelvane" / "mem_leaks.txt");
    EXPECT_NE(report.find("Total Unfreed: 0 bytes (0KB)\n"), std::string::npos)
        << report << ReadFile(out);
}

TEST_F(Installed, TheInstalledGamePlaysAFriendlyMatchByAutoplayFromAnotherFolder) {
    const fs::path home = scratch->Path() / "autoplay-home";
    const fs::path elsewhere = scratch->Path() / "autoplay-elsewhere";
    fs::create_directories(elsewhere);
    const auto before = TreePicture(prefix);
    const fs::path out = scratch->Path() / "autoplay.txt";
    std::vector<std::string> env = PlayerEnvironment(home);
    std::erase(env, std::string("KELVANE_RUN_UNTIL_SCREEN=4"));

    const fs::path oldCwd = fs::current_path();
    fs::current_path(elsewhere);
    const int rc =
        RunProgram({(prefix / "bin" / "kelvane").string(), "-autoplay", "-fast"}, env, out);
    fs::current_path(oldCwd);

    const std::string text = ReadFile(out);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("Screen: MainScreen"), std::string::npos) << text;
    EXPECT_NE(text.find("Match over: "), std::string::npos) << text;
    EXPECT_EQ(TreePicture(prefix), before) << "the game wrote into its installation";
    EXPECT_TRUE(fs::is_empty(elsewhere)) << "the game wrote into the folder it was started from";
}

// No sound device, no font that fontconfig can match, and a home that cannot hold a folder:
// the game still reaches its start screen and says, once each, what it could not do.
TEST_F(Installed, WithoutSoundFontsOrAWritableHomeTheGameStartsAndSaysWhatItCannotDo) {
    const fs::path root = scratch->Path() / "bare";
    fs::create_directories(root / "run");
    fs::permissions(root / "run", fs::perms::owner_all);
    // A regular file as the home: nothing can be made below it, not even by root.
    std::ofstream(root / "home") << "not a folder";
    // A font configuration that knows no font folder.
    std::ofstream(root / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
           "<fontconfig><cachedir>"
        << (root / "fontcache").string() << "</cachedir></fontconfig>\n";
    const auto before = TreePicture(prefix);
    const fs::path out = root / "game.txt";
    // The statistics overlay (-showfps) draws with a system font.
    const int rc = RunProgram(
        {(prefix / "bin" / "kelvane").string(), "-showfps"},
        {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=no-such-driver", "KELVANE_RUN_UNTIL_SCREEN=4",
         "HOME=" + (root / "home").string(), "XDG_CONFIG_HOME=", "XDG_DATA_HOME=",
         "XDG_CACHE_HOME=", "XDG_RUNTIME_DIR=" + (root / "run").string(),
         "FONTCONFIG_FILE=" + (root / "fonts.conf").string()},
        out);
    const std::string text = ReadFile(out);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("Screen 4 after"), std::string::npos) << text;
    EXPECT_EQ(TreePicture(prefix), before) << "the game wrote into its installation";
    const std::string home = (root / "home").string();
    // One line each, naming the problem.
    const std::vector<std::string> lines = {
        "the game runs without sound\n",
        "Cannot create the data folder " + home + "/.local/share/Kelvane",
        "Cannot save the settings to " + home + "/.config/",
        "fonts: no installed font matches \"Tahoma\"",
        "Cannot write the sound cache in " + home + "/.cache/",
    };
    for (const std::string& line : lines) {
        const size_t first = text.find(line);
        EXPECT_NE(first, std::string::npos) << line << "\n" << text;
        if (first != std::string::npos) {
            EXPECT_EQ(text.find(line, first + 1), std::string::npos) << "told twice: " << line;
        }
    }
}

}  // namespace
