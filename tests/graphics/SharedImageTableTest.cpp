#include <gtest/gtest.h>

#include "graphics/SharedImageTable.h"

using namespace Zarvo;

namespace {

struct CountingLoader {
    int calls = 0;
    bool fail = false;
    SharedImageTable::Loader Get() {
        return [this](const std::string& path) -> std::unique_ptr<MemoryImage> {
            ++calls;
            if (fail) return nullptr;
            auto image = std::make_unique<MemoryImage>(nullptr);
            image->filePath = path;
            image->Create(2, 2);
            return image;
        };
    }
};

}  // namespace

TEST(SharedImageTableTest, LoadsOnceAndCountsReferences) {
    SharedImageTable table;
    CountingLoader loader;
    bool isNew = false;
    SharedImageRef first = table.GetSharedImage("images\\Ball.png", "", loader.Get(), &isNew);
    ASSERT_TRUE(first);
    EXPECT_TRUE(isNew);
    SharedImageRef second = table.GetSharedImage("IMAGES/ball.PNG", "", loader.Get(), &isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(loader.calls, 1);

    SharedImageRef other = table.GetSharedImage("images\\Ball.png", "alpha", loader.Get(), &isNew);
    EXPECT_TRUE(isNew);
    EXPECT_NE(other.Get(), first.Get());
    EXPECT_EQ(table.Size(), 2u);

    {
        SharedImageRef copy = first;
        first.Release();
        second.Release();
        EXPECT_FALSE(first);
        EXPECT_FALSE(table.NeedsCleaning());  // the copy still holds it
        table.CleanSharedImages();
        EXPECT_EQ(table.Size(), 2u);
    }
    EXPECT_TRUE(table.NeedsCleaning());
    table.CleanSharedImages();
    EXPECT_FALSE(table.NeedsCleaning());
    EXPECT_EQ(table.Size(), 1u);
    EXPECT_TRUE(other);
}

TEST(SharedImageTableTest, FailedLoadKeepsNothing) {
    SharedImageTable table;
    CountingLoader loader;
    loader.fail = true;
    bool isNew = true;
    SharedImageRef ref = table.GetSharedImage("missing.png", "", loader.Get(), &isNew);
    EXPECT_FALSE(ref);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(table.Size(), 0u);
}

TEST(SharedImageTableTest, ReferencesOutlivingTheTableSeeNoImage) {
    CountingLoader loader;
    SharedImageRef survivor;
    {
        SharedImageTable table;
        survivor = table.GetSharedImage("a.png", "", loader.Get());
        ASSERT_TRUE(survivor);
        table.DeleteAll();
        EXPECT_FALSE(survivor);
    }
    survivor.Release();  // no access to the destroyed table

    MemoryImage plain(nullptr);
    SharedImageRef borrowed(&plain);
    EXPECT_EQ(borrowed.Get(), &plain);
}
