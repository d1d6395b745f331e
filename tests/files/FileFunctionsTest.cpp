#include "files/FileFunctions.h"

#include <gtest/gtest.h>

#include "files/PakInterface.h"
#include "files/TempDir.h"

using namespace Zarvo;

namespace {

TEST(FileFunctionsTest, WorkOnRealFilesWithoutAnInterface) {
    ASSERT_EQ(PakInterface::Instance(), nullptr);
    TempDir dir;
    dir.Enter();
    dir.Write("Data/Notes.txt", "ab\ncd\n");
    PakFile* f = FOpen("data\\notes.txt", "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(FGetC(f), 'a');
    EXPECT_EQ(UnGetC('a', f), 'a');
    char line[16];
    ASSERT_NE(FGetS(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "ab\n");
    EXPECT_EQ(FSeek(f, 0, SEEK_END), 0);
    EXPECT_EQ(FTell(f), 6);
    EXPECT_EQ(FGetC(f), -1);
    EXPECT_TRUE(FEof(f));
    FClose(f);

    PakFindData data;
    PakSearch* s = FindFirstFile("DATA\\*.txt", &data);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(data.fileName, "Notes.txt");
    EXPECT_EQ(data.fileSizeLow, 6u);
    EXPECT_FALSE(FindNextFile(s, &data));
    FindClose(s);
}

TEST(FileFunctionsTest, FirstInterfaceIsTheProcessInstance) {
    auto* first = new PakInterface;
    PakInterface second;
    EXPECT_EQ(PakInterface::Instance(), first);
    delete first;
    EXPECT_EQ(PakInterface::Instance(), nullptr);
}

}  // namespace
