// File opening for the system's narrow, Windows-style paths.
//
// Stands in for the C runtime's fopen as Windows sees paths: the system names
// its files relative to the current directory with '\' as the separator
// ("images\num3.bmp"). On Linux every '\' becomes '/' before fopen; on Windows
// the path goes to fopen unchanged. Nothing else (drive letters, case folding,
// code pages) is translated. Every fopen of the system goes through here.
#pragma once

#include <cstdio>

// Opens `path` with the C runtime `mode`; null when the file cannot be opened.
std::FILE* PathFopen(const char* path, const char* mode);
