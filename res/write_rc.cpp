// write_rc OUTPUT_DIR: writes Tenebrix.rc and Tenebrix.ico for a Windows
// resource build (with resource.h beside them) from the resource tables.
#include <cstdio>
#include <fstream>
#include <string>

#include "rc_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_rc OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::ofstream rc(dir + "/Tenebrix.rc", std::ios::binary);
    tenebrix_res::WriteResourceScript(rc);
    std::ofstream ico(dir + "/Tenebrix.ico", std::ios::binary);
    ico << tenebrix_res::IconFileBytes();
    rc.close();
    ico.close();
    if (!rc || !ico) {
        std::fprintf(stderr, "write_rc: cannot write Tenebrix.rc and Tenebrix.ico in %s\n",
                     dir.c_str());
        return 1;
    }
    return 0;
}
