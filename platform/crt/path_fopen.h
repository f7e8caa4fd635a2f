// File opening for the system's narrow, Windows-style paths.
//
// Stands in for the C runtime's fopen as Windows sees paths: the system names
// its files relative to the current directory with '\' as the separator
// ("images\num3.bmp"). On Linux every '\' becomes '/' before fopen; on Windows
// the path goes to fopen unchanged. Nothing else (drive letters, case folding,
// code pages) is translated. Every fopen of the system goes through here, and
// so does the removal of a file that could not be written whole.
#pragma once

#include <cstdio>

// Opens `path` with the C runtime `mode`; null when the file cannot be opened.
std::FILE* PathFopen(const char* path, const char* mode);

// Removes the file at `path`; 0 on success, as the C runtime's remove.
int PathRemove(const char* path);
