// Maps the system's Windows-style relative paths onto fopen (see path_fopen.h).
//
// Stands in for the C runtime's path handling on Windows, where '\' separates
// folders. Limits: only the separator is translated; drive letters, UNC paths,
// case folding and code pages are not.
#include "platform/crt/path_fopen.h"

#include <string>

namespace {

std::string NativePath(const char* path) {
    std::string native(path);
#ifndef _WIN32
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
#endif
    return native;
}

}  // namespace

std::FILE* PathFopen(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr) {
        return nullptr;
    }
    return std::fopen(NativePath(path).c_str(), mode);
}

int PathRemove(const char* path) {
    if (path == nullptr) {
        return -1;
    }
    return std::remove(NativePath(path).c_str());
}
