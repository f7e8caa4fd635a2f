// The HUD sprites: the text maps turn into exact pixels, the committed BMPs are
// what the maps say, and every sprite fits its place in the 320 x 240 picture.
#include "tools/sprites/sprite_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SpriteMap, BuildsExactPixelsTopRowFirst) {
    // A 3 x 2 map, asymmetric so that a flip or a red/blue swap shows.
    const std::string map =
        "; test\n"
        "color . key\n"
        "color r 200 10 20\n"
        "color b 1 2 3\n"
        "pixels\n"
        "r..\n"
        ".bb\n";
    CDibImage sprite;
    std::string error;
    ASSERT_EQ(ParseSpriteMap(map, &sprite, &error), 0) << error;
    ASSERT_EQ(sprite.Width(), 3);
    ASSERT_EQ(sprite.Height(), 2);
    const BYTE top[9] = {20, 10, 200, 0, 255, 0, 0, 255, 0};
    const BYTE bottom[9] = {0, 255, 0, 3, 2, 1, 3, 2, 1};
    EXPECT_EQ(0, std::memcmp(sprite.Row(0), top, 9));
    EXPECT_EQ(0, std::memcmp(sprite.Row(1), bottom, 9));
    // Bottom-up storage: the last row of the map comes first in memory.
    EXPECT_EQ(0, std::memcmp(sprite.Bits(), bottom, 9));
}

TEST(SpriteMap, SaysWhatIsWrongAndWhere) {
    const struct {
        const char* map;
        const char* error;
    } cases[] = {
        {"color . key\npixels\n..\n...\n", "line 4: row is 3 pixels wide, the first 2"},
        {"color . key\npixels\n.x\n", "line 3: the character 'x' has no colour"},
        {"color . key\n", "line 0: no pixel rows (they follow a 'pixels' line)"},
        {"color g 0 255 0\npixels\ng\n",
         "line 1: a visible colour may not be the key colour; use 'key'"},
        {"color a 1 2 256\npixels\na\n", "line 1: colour values lie in 0..255"},
        {"color a 1 2\npixels\na\n", "line 1: color needs 'key' or three values 0..255"},
        {"color a key\ncolor a 1 2 3\n", "line 2: the character 'a' has a colour already"},
        {"colour a key\n", "line 1: unknown instruction 'colour'"},
    };
    for (const auto& c : cases) {
        CDibImage sprite;
        std::string error;
        EXPECT_EQ(ParseSpriteMap(c.map, &sprite, &error), -1) << c.map;
        EXPECT_EQ(error, c.error) << c.map;
        EXPECT_EQ(sprite.Bits(), nullptr);
    }
}

// Every committed BMP equals what its map describes, so the two never drift.
TEST(ShippedSprites, MatchTheirTextMaps) {
    const std::filesystem::path dir = TENEBRIX_SPRITE_DIR;
    int checked = 0;
    for (const char* name : {"camouflage", "item", "num0", "num1", "num2", "num3", "num4", "num5",
                             "num6", "num7", "num8", "num9"}) {
        CDibImage fromMap;
        std::string error;
        ASSERT_EQ(
            ParseSpriteMap(Slurp(dir / "src" / (std::string(name) + ".txt")), &fromMap, &error), 0)
            << name << ": " << error;
        CDibImage shipped;
        ASSERT_EQ(shipped.Load((dir / (std::string(name) + ".bmp")).c_str()), 0) << name;
        ASSERT_EQ(shipped.Width(), fromMap.Width()) << name;
        ASSERT_EQ(shipped.Height(), fromMap.Height()) << name;
        EXPECT_EQ(0, std::memcmp(shipped.Bits(), fromMap.Bits(), fromMap.ImageSize()))
            << name << ".bmp is stale: rebuild with the 'sprites' target";
        ++checked;
    }
    EXPECT_EQ(checked, 12);
}

CDibImage LoadShipped(const char* name) {
    CDibImage sprite;
    sprite.Load((std::filesystem::path(TENEBRIX_SPRITE_DIR) / name).c_str());
    return sprite;
}

TEST(ShippedSprites, FitTheirPlacesInThePicture) {
    // Digits stand 10 and 11 columns apart from row 25 down.
    for (int d = 0; d < 10; ++d) {
        const CDibImage digit = LoadShipped(("num" + std::to_string(d) + ".bmp").c_str());
        ASSERT_TRUE(digit.HasPixels()) << d;
        EXPECT_LE(digit.Width(), 10) << d;
        EXPECT_EQ(digit.Height(), LoadShipped("num0.bmp").Height()) << d;
    }
    // The camouflage mark at (260, 7) ends left of the right edge and above the digits.
    const CDibImage mark = LoadShipped("camouflage.bmp");
    ASSERT_TRUE(mark.HasPixels());
    EXPECT_LE(260 + mark.Width(), 320);
    EXPECT_LE(7 + mark.Height(), 25);
    // The item mark at (3, 195) ends above the bottom edge.
    const CDibImage item = LoadShipped("item.bmp");
    ASSERT_TRUE(item.HasPixels());
    EXPECT_LE(195 + item.Height(), 240);
    EXPECT_LE(3 + item.Width(), 320);
}

}  // namespace
