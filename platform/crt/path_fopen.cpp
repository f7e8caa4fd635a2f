// Maps the system's Windows-style relative paths onto fopen (see path_fopen.h).
#include "platform/crt/path_fopen.h"

#include <string>

std::FILE* PathFopen(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr) {
        return nullptr;
    }
#ifdef _WIN32
    return std::fopen(path, mode);
#else
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::fopen(native.c_str(), mode);
#endif
}
