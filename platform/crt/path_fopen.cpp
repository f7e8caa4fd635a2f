// Maps the system's Windows-style relative paths onto fopen (see path_fopen.h).
//
// Stands in for the C runtime's path handling on Windows, where '\' separates
// folders. Limits: only the separator is translated; drive letters, UNC paths,
// case folding and code pages are not. Replacements are created exclusively,
// under a name of their own beside the target, with the permissions a new
// file gets (the process's umask applies).
#include "platform/crt/path_fopen.h"

#include <cerrno>
#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// Bytes of the target's name kept in a temporary name, which adds 11 to them.
constexpr std::string::size_type kTemporaryNameRoom = 200;

// The folder part of a native path, separator included ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

#ifdef _WIN32
int CreateExclusive(std::string* name) {
    static unsigned counter = 0;
    const std::string base = *name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = base + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        const int fd = _open(name->c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

int ReplaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
        errno = EACCES;
        return -1;
    }
    return 0;
}
#else
int CreateExclusive(std::string* name) {
    *name += "XXXXXX";
    const int fd = mkstemp(&(*name)[0]);
    if (fd < 0) {
        return -1;
    }
    // mkstemp makes the file private; a snapshot gets what any new file gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fd;
}

int ReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}
#endif

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

int PathOpenReplacement(const char* path, PathReplacement* replacement) {
    if (path == nullptr || replacement == nullptr) {
        errno = EINVAL;
        return -1;
    }
    replacement->target = NativePath(path);
    const std::string folder = FolderOf(replacement->target);
    if (replacement->target.size() == folder.size()) {
        errno = EISDIR;  // a name that ends in a separator names no file
        return -1;
    }
    // Hidden, and named after the target for whoever finds one left by a
    // crash; cut so that it fits a folder entry whenever the target does.
    replacement->temporary =
        folder + "." + replacement->target.substr(folder.size(), kTemporaryNameRoom) + ".tmp";
    const int fd = CreateExclusive(&replacement->temporary);
    if (fd < 0) {
        return -1;
    }
#ifdef _WIN32
    replacement->file = _fdopen(fd, "wb");
#else
    replacement->file = fdopen(fd, "wb");
#endif
    if (replacement->file == nullptr) {
        const int error = errno;
#ifdef _WIN32
        _close(fd);
#else
        close(fd);
#endif
        std::remove(replacement->temporary.c_str());
        errno = error;
        return -1;
    }
    return 0;
}

int PathCommitReplacement(PathReplacement* replacement) {
    std::FILE* file = replacement->file;
    replacement->file = nullptr;
    if (std::fclose(file) != 0 || ReplaceFile(replacement->temporary, replacement->target) != 0) {
        const int error = errno;
        std::remove(replacement->temporary.c_str());
        errno = error;
        return -1;
    }
    return 0;
}

void PathAbandonReplacement(PathReplacement* replacement) {
    const int error = errno;
    if (replacement->file != nullptr) {
        std::fclose(replacement->file);
        replacement->file = nullptr;
    }
    std::remove(replacement->temporary.c_str());
    errno = error;
}
