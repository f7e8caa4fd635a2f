// The command line of tenebrix-render.
#pragma once

#include <string>

struct RenderOptions {
    std::string input;
    std::string output;
    double backgroundSeconds = 0;  // the background: the input at this time ...
    std::string backgroundFile;    // ... or this BMP file, when set
    double stealthSeconds = 0;     // stealth mode from this time on
    int width = 320, height = 240;
    std::string imageFolder = "images";  // the HUD sprites, as the program reads them
    bool help = false;
};

const char* RenderUsage();

// False with a one-line *error for anything malformed.
bool ParseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error);
