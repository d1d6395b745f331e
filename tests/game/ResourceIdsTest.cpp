// The game's numbered resource ids, their variables, the lookup by number and the two binding
// steps.
#include "game/ResourceIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "game/FakeGameResources.h"

namespace Kelvane {
namespace {

using testing::FakeGameResources;

class ResourceIdsTest : public ::testing::Test {
protected:
    void SetUp() override { clearResourceIds(); }
    void TearDown() override { clearResourceIds(); }
};

TEST_F(ResourceIdsTest, NumbersAndNamesFollowTheTable) {
    struct Case {
        int32_t number;
        const char* name;
    };
    const Case cases[] = {{Res::FONT_DEFAULT, "FONT_DEFAULT"},
                          {Res::FONT_ROCKWELLEXTRABOLD20, "FONT_ROCKWELLEXTRABOLD20"},
                          {Res::IMAGE_EMPTY_SQUARE, "IMAGE_EMPTY_SQUARE"},
                          {Res::IMAGE_EXIT_BUTTON, "IMAGE_EXIT_BUTTON"},
                          {Res::IMAGE_ORLEND_SCREEN_BACKGROUND, "IMAGE_ORLEND_SCREEN_BACKGROUND"},
                          {Res::IMAGE_TINTED_SCREEN_COVER, "IMAGE_TINTED_SCREEN_COVER"},
                          {Res::IMAGE_YES_BUTTON, "IMAGE_YES_BUTTON"},
                          {Res::IMAGE_WORLD_TOUR_DEMO, "IMAGE_WORLD_TOUR_DEMO"}};
    const int32_t expected[] = {0, 9, 10, 37, 54, 117, 128, 132};
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].number, expected[i]) << cases[i].name;
        EXPECT_EQ(kResourceNames[cases[i].number], cases[i].name);
    }
    EXPECT_EQ(RESOURCE_ID_COUNT, 133);
}

TEST_F(ResourceIdsTest, NamesAreUniqueAndBeginWithTheirKind) {
    std::set<std::string_view> names(kResourceNames.begin(), kResourceNames.end());
    EXPECT_EQ(names.size(), kResourceNames.size());
    for (int32_t id = 0; id < RESOURCE_ID_COUNT; ++id) {
        const std::string_view prefix = isFontId(id) ? "FONT_" : "IMAGE_";
        EXPECT_TRUE(kResourceNames[id].starts_with(prefix)) << id << " " << kResourceNames[id];
    }
}

TEST_F(ResourceIdsTest, BindingFillsTheVariablesAndTheLookupReadsThem) {
    FakeGameResources resources;
    ASSERT_TRUE(extractInitResources(resources));
    ASSERT_TRUE(extractGameResources(resources));

    EXPECT_EQ(getResourceById(37), IMAGE_EXIT_BUTTON);
    EXPECT_EQ(IMAGE_EXIT_BUTTON, resources.image("IMAGE_EXIT_BUTTON"));
    EXPECT_EQ(getResourceById(0), FONT_DEFAULT);
    EXPECT_EQ(FONT_DEFAULT, resources.font("FONT_DEFAULT"));
    for (int32_t id = 0; id < RESOURCE_ID_COUNT; ++id) {
        const std::string name(kResourceNames[id]);
        if (isFontId(id)) {
            EXPECT_EQ(getFontById(id), resources.font(name)) << name;
            EXPECT_EQ(getImageById(id), nullptr);
        } else {
            EXPECT_EQ(getImageById(id), resources.image(name)) << name;
            EXPECT_EQ(getFontById(id), nullptr);
        }
        EXPECT_NE(getResourceById(id), nullptr) << name;
    }
    EXPECT_EQ(getResourceById(-1), nullptr);
    EXPECT_EQ(getResourceById(RESOURCE_ID_COUNT), nullptr);

    // The lookup answers the value bound last.
    IMAGE_EXIT_BUTTON = nullptr;
    EXPECT_EQ(getResourceById(37), nullptr);
}

TEST_F(ResourceIdsTest, BindingVisitsNamesInByteOrder) {
    FakeGameResources resources;
    ASSERT_TRUE(extractInitResources(resources));
    const std::vector<std::string> fonts(resources.asked);
    EXPECT_EQ(fonts.front(), "FONT_DEFAULT");
    EXPECT_EQ(fonts[1], "FONT_ROCKWELLEXTRABOLD10");
    EXPECT_EQ(fonts.back(), "FONT_ROCKWELLEXTRABOLD9");
    EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end()));

    resources.asked.clear();
    ASSERT_TRUE(extractGameResources(resources));
    ASSERT_EQ(resources.asked.size(), 123u);
    EXPECT_EQ(resources.asked.front(), "IMAGE_ARGENTINA_NAME");
    EXPECT_EQ(resources.asked.back(), "IMAGE_YES_BUTTON");
    EXPECT_TRUE(std::is_sorted(resources.asked.begin(), resources.asked.end()));
}

TEST_F(ResourceIdsTest, MissingYesButtonBindsEveryOtherImageAndFails) {
    FakeGameResources resources;
    resources.missing = {"IMAGE_YES_BUTTON"};
    EXPECT_FALSE(extractGameResources(resources));
    for (int32_t id = kFirstImageId; id < RESOURCE_ID_COUNT; ++id) {
        if (id == Res::IMAGE_YES_BUTTON)
            EXPECT_EQ(getImageById(id), nullptr);
        else
            EXPECT_NE(getImageById(id), nullptr) << kResourceNames[id];
    }
}

TEST_F(ResourceIdsTest, MissingDefaultFontBindsNoFont) {
    FakeGameResources resources;
    resources.missing = {"FONT_DEFAULT"};
    EXPECT_FALSE(extractInitResources(resources));
    EXPECT_EQ(resources.asked.size(), 1u);
    for (int32_t id = 0; id < kFirstImageId; ++id) EXPECT_EQ(getFontById(id), nullptr);
}

TEST_F(ResourceIdsTest, AFailedBindingKeepsTheOldValuesOfWhatItDidNotReach) {
    FakeGameResources first;
    ASSERT_TRUE(extractGameResources(first));
    FakeGameResources second;
    second.missing = {"IMAGE_MONEY"};
    EXPECT_FALSE(extractGameResources(second));
    EXPECT_EQ(IMAGE_MENU_BUTTON, second.image("IMAGE_MENU_BUTTON"));  // sorts before the gap
    EXPECT_EQ(IMAGE_NODE, first.image("IMAGE_NODE"));                 // sorts after it
    EXPECT_EQ(IMAGE_MONEY, first.image("IMAGE_MONEY"));
}

}  // namespace
}  // namespace Kelvane
