// write_icons OUTPUT_DIR: writes the program icon as OUTPUT_DIR/SIZExSIZE/
// apps/tenebrix.png for each size of a desktop icon theme.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "icon_sizes.h"
#include "png_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_icons OUTPUT_DIR\n");
        return 2;
    }
    for (int size : tenebrix_dist::IconThemeSizes()) {
        const std::string side = std::to_string(size);
        const std::filesystem::path dir =
            std::filesystem::path(argv[1]) / (side + "x" + side) / "apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        std::ofstream png(dir / "tenebrix.png", std::ios::binary);
        png << tenebrix_dist::PngFileBytes(size, size, tenebrix_dist::IconPixels(size));
        png.close();
        if (error || !png) {
            std::fprintf(stderr, "write_icons: cannot write %s\n", (dir / "tenebrix.png").c_str());
            return 1;
        }
    }
    return 0;
}
