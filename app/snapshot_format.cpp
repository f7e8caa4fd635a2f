// Reading and checking the snapshot file name format (see snapshot_format.h).
#include "app/snapshot_format.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/crt/path_fopen.h"

namespace {

constexpr int kMaxField = 255;  // widest width or precision that can fit a name

// Skips a run of decimal digits; false when their value exceeds kMaxField.
bool SkipField(const char*& p) {
    long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > kMaxField) {
            return false;
        }
        ++p;
    }
    return true;
}

// The token as it may be shown on one line: control bytes become '?'.
std::string Printable(const char* token) {
    std::string shown(token);
    for (char& c : shown) {
        if (std::iscntrl(static_cast<unsigned char>(c))) {
            c = '?';
        }
    }
    return shown;
}

int UseDefault(const char* path, const std::string& why, char (&format)[kSnapshotFormatSize],
               std::FILE* log) {
    std::snprintf(format, sizeof(format), "%s", kDefaultSnapshotFormat);
    if (log != nullptr) {
        std::fprintf(log, "tenebrix: %s: %s; snapshots are named %s\n", path, why.c_str(),
                     kDefaultSnapshotFormat);
    }
    return -1;
}

// The separators of the system's paths: '\\' as on Windows, and '/'.
bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// One folder level of a format with its conversion taken out and "%%" read
// as "%": what the name holds there when the number prints as nothing.
std::string LiteralText(const char* begin, const char* end) {
    std::string text;
    for (const char* p = begin; p < end; ++p) {
        if (*p != '%') {
            text += *p;
        } else if (p + 1 < end && p[1] == '%') {
            text += '%';
            ++p;
        } else {
            while (p + 1 < end && std::strchr("diuxXo", *p) == nullptr) {
                ++p;
            }
        }
    }
    return text;
}

}  // namespace

int IsSnapshotNameInFolder(const char* format) {
    if (format == nullptr || IsSeparator(format[0]) ||
        (std::isalpha(static_cast<unsigned char>(format[0])) && format[1] == ':')) {
        return 0;  // from the root, or a drive
    }
    const char* level = format;
    for (const char* p = format;; ++p) {
        if (*p == '\0' || IsSeparator(*p)) {
            if (LiteralText(level, p) == "..") {
                return 0;
            }
            if (*p == '\0') {
                return 1;
            }
            level = p + 1;
        }
    }
}

int IsSnapshotFormatValid(const char* format) {
    if (format == nullptr) {
        return 0;
    }
    int conversions = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            continue;
        }
        ++p;
        if (*p == '%') {
            continue;
        }
        while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) {
            ++p;
        }
        if (!SkipField(p)) {
            return 0;
        }
        if (*p == '.') {
            ++p;
            if (!SkipField(p)) {
                return 0;
            }
        }
        if (*p == '\0' || std::strchr("diuxXo", *p) == nullptr) {
            return 0;
        }
        ++conversions;
    }
    return conversions == 1 ? 1 : 0;
}

int ReadSnapshotFormat(const char* path, char (&format)[kSnapshotFormatSize], std::FILE* log) {
    std::FILE* file = PathFopen(path, "r");
    if (file == nullptr) {
        return UseDefault(path, std::string("cannot be opened (") + std::strerror(errno) + ")",
                          format, log);
    }
    // A byte-order mark, as some editors write at the start of a UTF-8 file,
    // is no part of the name.
    if (std::fgetc(file) != 0xEF || std::fgetc(file) != 0xBB || std::fgetc(file) != 0xBF) {
        std::rewind(file);
    }
    char token[kSnapshotFormatSize];
    const int read = std::fscanf(file, "%255s", token);
    const int next = read == 1 ? std::fgetc(file) : EOF;
    std::fclose(file);

    if (read != 1) {
        return UseDefault(path, "holds no snapshot name format", format, log);
    }
    if (next != EOF && !std::isspace(next)) {
        return UseDefault(path, "the snapshot name format is longer than 255 characters", format,
                          log);
    }
    const std::string quoted = "\"" + Printable(token) + "\"";
    if (IsSnapshotFormatValid(token) == 0) {
        return UseDefault(path,
                          quoted +
                              " is not a snapshot name format with exactly one number"
                              " (%d, %i, %u, %x, %X or %o)",
                          format, log);
    }
    if (IsSnapshotNameInFolder(token) == 0) {
        return UseDefault(path,
                          quoted +
                              " names a file outside the current folder (a name from the"
                              " root or with a \"..\" folder)",
                          format, log);
    }
    std::snprintf(format, sizeof(format), "%s", token);
    return 0;
}

std::string SnapshotName(const char* format, int number) {
    const int length = std::snprintf(nullptr, 0, format, number);
    if (length <= 0) {
        return std::string();
    }
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&name[0], name.size(), format, number);
    name.pop_back();
    return name;
}
