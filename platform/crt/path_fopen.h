// File opening for the system's narrow, Windows-style paths.
//
// Stands in for the C runtime's fopen as Windows sees paths: the system names
// its files relative to the current directory with '\' as the separator
// ("images\num3.bmp"). On Linux every '\' becomes '/' before fopen; on Windows
// the path goes to fopen unchanged. Nothing else (drive letters, case folding,
// code pages) is translated. Every fopen of the system goes through here.
//
// Files are written through a replacement: a new temporary file in the same
// folder, renamed over the name once it is complete. A reader sees the old
// file or the whole new one, never a part, and a symbolic link at the name is
// replaced itself, never followed.
#pragma once

#include <cstdio>
#include <string>

// Opens `path` with the C runtime `mode`; null when the file cannot be opened.
std::FILE* PathFopen(const char* path, const char* mode);

// Removes the file at `path`; 0 on success, as the C runtime's remove.
int PathRemove(const char* path);

// A file being written in place of `target` (see PathOpenReplacement).
struct PathReplacement {
    std::FILE* file = nullptr;  // open for binary writing while in progress
    std::string temporary;      // native path of the new file
    std::string target;         // native path it replaces
};

// Creates a new, empty temporary file beside `path`, open for binary writing.
// 0 on success; -1 with errno set when it cannot be created.
int PathOpenReplacement(const char* path, PathReplacement* replacement);
// Closes the file and renames it over its target in one step. 0 on success;
// -1 with errno set, after removing the temporary file.
int PathCommitReplacement(PathReplacement* replacement);
// Closes and removes the temporary file; errno is kept as it was.
void PathAbandonReplacement(PathReplacement* replacement);
