// make_sprites: turns every text pixel map NAME.txt of a folder into the 24-bit
// sprite NAME.bmp in another folder.
//
//   make_sprites res/images/src res/images
//
// Exits with 1 and names the file and line when a map is malformed; no BMP is
// written for it.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sprites/sprite_map.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sprites SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    std::vector<fs::path> maps;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(argv[1], ec)) {
        if (entry.path().extension() == ".txt") {
            maps.push_back(entry.path());
        }
    }
    if (ec) {
        std::fprintf(stderr, "make_sprites: cannot read %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    std::sort(maps.begin(), maps.end());
    int status = 0;
    for (const fs::path& map : maps) {
        std::ifstream in(map, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        CDibImage sprite;
        std::string error;
        if (ParseSpriteMap(text.str(), &sprite, &error) != 0) {
            std::fprintf(stderr, "make_sprites: %s: %s\n", map.c_str(), error.c_str());
            status = 1;
            continue;
        }
        const fs::path bmp = fs::path(argv[2]) / map.stem().concat(".bmp");
        if (sprite.Save(bmp.c_str()) != 0) {
            std::fprintf(stderr, "make_sprites: cannot write %s\n", bmp.c_str());
            status = 1;
            continue;
        }
        std::printf("%s: %d x %d\n", bmp.c_str(), sprite.Width(), sprite.Height());
    }
    return status;
}
