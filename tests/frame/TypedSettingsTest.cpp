// Typed settings over a settings store alone.
#include "frame/TypedSettings.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"

using namespace Zarvo;

namespace {

TEST(TypedSettings, ValuesKeepTheirTypesAndSubKeys) {
    MemorySettingsStore store;
    TypedSettings settings(&store);
    EXPECT_TRUE(settings.WriteInteger("Test3D\\Version", -2));
    EXPECT_TRUE(settings.WriteBoolean("On", true));
    EXPECT_TRUE(settings.WriteString("Name", "Ann"));
    SettingsValues::Value stored;
    ASSERT_TRUE(store.values.Get("Test3D", "Version", stored));
    EXPECT_EQ(stored, (SettingsValues::Value{SettingsValues::kDword, {0xFE, 0xFF, 0xFF, 0xFF}}));
    int n = 0;
    bool on = false;
    std::string text = "unchanged";
    EXPECT_TRUE(settings.ReadInteger("Test3D\\Version", n));
    EXPECT_EQ(n, -2);
    EXPECT_TRUE(settings.ReadBoolean("On", on));
    EXPECT_TRUE(on);
    // A string is no integer and an integer no string: the variable stays as it was.
    n = 7;
    EXPECT_FALSE(settings.ReadInteger("Name", n));
    EXPECT_EQ(n, 7);
    EXPECT_FALSE(settings.ReadString("On", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(settings.ReadString("Name", text));
    EXPECT_EQ(text, "Ann");
}

TEST(TypedSettings, WithoutAStoreEverythingFails) {
    TypedSettings settings(nullptr);
    int n = 3;
    EXPECT_FALSE(settings.WriteInteger("A", 1));
    EXPECT_FALSE(settings.ReadInteger("A", n));
    EXPECT_FALSE(settings.DeleteValue("A"));
    EXPECT_EQ(n, 3);
}

}  // namespace
