#include <gtest/gtest.h>

#include "TestApp.h"
#include "graphics/MemoryImage.h"

namespace {

const std::string kImage = std::string(KELVANE_SOURCE_DIR) + "/tests/resources/data/rgba.png";

TEST(SharedImages, LoadedOnceAndCleanedByTheUpdateAfterTheLastRelease) {
    ZarvoTest::TestApp app;
    bool isNew = false;
    {
        Zarvo::SharedImageRef first = app.GetSharedImage(kImage, "", &isNew);
        ASSERT_NE(first.Get(), nullptr);
        EXPECT_TRUE(isNew);
        Zarvo::SharedImageRef second = app.GetSharedImage(kImage, "", &isNew);
        EXPECT_FALSE(isNew);
        EXPECT_EQ(first.Get(), second.Get());
        // A different variant is a separate image.
        Zarvo::SharedImageRef other = app.GetSharedImage(kImage, "tinted", &isNew);
        EXPECT_TRUE(isNew);
        EXPECT_NE(other.Get(), first.Get());
        EXPECT_EQ(app.GetSharedImageTable().Size(), 2u);
    }
    // Still there until an update cleans the table.
    EXPECT_EQ(app.GetSharedImageTable().Size(), 2u);
    app.UpdateOnce();
    EXPECT_EQ(app.GetSharedImageTable().Size(), 0u);
}

TEST(SharedImages, AReferencedImageSurvivesCleaning) {
    ZarvoTest::TestApp app;
    Zarvo::SharedImageRef kept = app.GetSharedImage(kImage);
    { Zarvo::SharedImageRef dropped = app.GetSharedImage(kImage, "other"); }
    app.UpdateOnce();
    EXPECT_EQ(app.GetSharedImageTable().Size(), 1u);
    EXPECT_NE(kept.Get(), nullptr);
}

TEST(SharedImages, MissingFileGivesNothingAndKeepsNothing) {
    ZarvoTest::TestApp app;
    EXPECT_EQ(app.GetSharedImage("no/such/image.png").Get(), nullptr);
    EXPECT_EQ(app.GetSharedImageTable().Size(), 0u);
    EXPECT_EQ(app.GetImage("no/such/image.png"), nullptr);
}

TEST(SharedImages, GetImageGivesAnOwnedCopyEachTime) {
    ZarvoTest::TestApp app;
    std::unique_ptr<Zarvo::MemoryImage> a = app.GetImage(kImage);
    std::unique_ptr<Zarvo::MemoryImage> b = app.GetImage(kImage);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_GT(a->GetWidth(), 0);
}

TEST(LoadingProgress, FollowsTheCountsAndIsCompleteWhenTheThreadIsDone) {
    ZarvoTest::TestApp app;
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 0.0);
    app.numLoadingThreadTasks = 4;
    app.completedLoadingThreadTasks = 1;
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 0.25);
    app.completedLoadingThreadTasks = 9;
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 1.0);
}

}  // namespace
