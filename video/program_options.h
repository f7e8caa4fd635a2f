// The command line of the tenebrix program on Linux: where the shown pictures
// go besides the window.
#pragma once

#include <string>
#include <vector>

struct ProgramOptions {
    std::vector<std::string> recordFiles;   // --record FILE, in order
    std::vector<std::string> descriptions;  // --output DESCRIPTION, in order
    bool help = false;
};

// The text that --help prints.
const char* ProgramUsage();

// Reads the options; false with a one-line *error for anything malformed.
bool ParseProgramOptions(int argc, char** argv, ProgramOptions* options, std::string* error);
