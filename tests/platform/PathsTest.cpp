// The per-user folders of the XDG convention and the installed layout of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "ScopedEnv.h"
#include "TempFolder.h"
#include "platform/Paths.h"

using namespace Zarvo;
using ZarvoTest::ScopedEnv;
using ZarvoTest::TempFolder;

namespace {

namespace fs = std::filesystem;

struct FolderCase {
    const char* value;  // of XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME; null: unset
    bool used;          // the value itself is the folder, else the default below HOME
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << (c.value ? "\"" + std::string(c.value) + "\"" : std::string("unset"));
}

class XdgFolders : public testing::TestWithParam<FolderCase> {};

TEST_P(XdgFolders, EmptyUnsetAndRelativeValuesFallBackToHome) {
    const FolderCase& c = GetParam();
    ScopedEnv home("HOME", "/home/player");
    ScopedEnv config("XDG_CONFIG_HOME", c.value);
    ScopedEnv data("XDG_DATA_HOME", c.value);
    ScopedEnv cache("XDG_CACHE_HOME", c.value);
    EXPECT_EQ(Paths::ConfigHome(), c.used ? c.value : "/home/player/.config");
    EXPECT_EQ(Paths::DataHome(), c.used ? c.value : "/home/player/.local/share");
    EXPECT_EQ(Paths::CacheHome(), c.used ? c.value : "/home/player/.cache");
}

INSTANTIATE_TEST_SUITE_P(Values, XdgFolders,
                         testing::Values(FolderCase{nullptr, false}, FolderCase{"", false},
                                         FolderCase{"relative/dir", false},
                                         FolderCase{"/srv/xdg", true}),
                         [](const testing::TestParamInfo<FolderCase>& info) {
                             const char* value = info.param.value;
                             if (value == nullptr) return std::string("Unset");
                             if (*value == '\0') return std::string("Empty");
                             return std::string(*value == '/' ? "Absolute" : "Relative");
                         });

TEST(Paths, AnInstalledProgramHasNoDataBesideItButAShareFolderAboveIt) {
    TempFolder root;
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/kelvane");
    fs::create_directories(root / "build/properties");
    fs::create_directories(root / "loose/bin");
    fs::create_directories(root / "tree/bin");
    fs::create_directories(root / "tree/share/kelvane");
    std::ofstream(root / "tree/bin/main.pak") << "pak";

    EXPECT_TRUE(Paths::IsInstalledLayout(root / "usr/bin/kelvane", "kelvane"));
    EXPECT_FALSE(Paths::IsInstalledLayout(root / "usr/bin/kelvane", "other"));
    EXPECT_FALSE(Paths::IsInstalledLayout(root / "build/kelvane", "kelvane"));  // data beside it
    EXPECT_FALSE(Paths::IsInstalledLayout(root / "loose/bin/kelvane", "kelvane"));  // no share
    EXPECT_FALSE(Paths::IsInstalledLayout(root / "tree/bin/kelvane", "kelvane"));   // pak beside
    EXPECT_FALSE(Paths::IsInstalledLayout("", "kelvane"));
}

TEST(Paths, AFolderThatCannotBeMadeSaysWhy) {
    TempFolder root;
    std::ofstream(root / "file") << "x";
    std::string why;
    EXPECT_FALSE(Paths::MakeFolders(root / "file/below", &why));
    EXPECT_EQ(why, "Not a directory");
    EXPECT_TRUE(Paths::MakeFolders(root / "a/b/c", &why));
    EXPECT_TRUE(fs::is_directory(root / "a/b/c"));
}

}  // namespace
