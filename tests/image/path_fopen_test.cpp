#include "platform/crt/path_fopen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/image/temp_dir.h"

TEST(PathFopen, BackslashesSeparateFolders) {
    TempDir dir;
    std::filesystem::create_directories("images/sub");
    WriteFileBytes("images/sub/a.bmp", {'x', 'y'});

    std::FILE* file = PathFopen("images\\sub\\a.bmp", "rb");
    ASSERT_NE(file, nullptr);
    char bytes[3] = {};
    EXPECT_EQ(std::fread(bytes, 1, 2, file), 2u);
    std::fclose(file);
    EXPECT_STREQ(bytes, "xy");

    EXPECT_EQ(PathRemove("images\\sub\\a.bmp"), 0);
    EXPECT_FALSE(FileExists("images/sub/a.bmp"));
    EXPECT_EQ(PathFopen("images\\missing.bmp", "rb"), nullptr);
}
