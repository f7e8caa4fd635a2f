// The version data of Tenebrix (what a Windows VERSIONINFO resource holds).
//
// File and product version 1.0.0.1; one string table for Japanese (0x0411)
// in Unicode (code page 1200). The texts are kept here as code page 932 bytes,
// as the program uses them; a Windows resource build converts them.
#pragma once

#include <windows.h>

#define TENEBRIX_VERSION_MAJOR 1
#define TENEBRIX_VERSION_MINOR 0
#define TENEBRIX_VERSION_BUILD 0
#define TENEBRIX_VERSION_REVISION 1
// The numbers above as the texts of the version data and of the About box's
// title line; change them together.
#define TENEBRIX_VERSION_TEXT "1, 0, 0, 1"
#define TENEBRIX_TITLE_AND_VERSION "Tenebrix Version 1.0.0.1"

namespace tenebrix_res {

struct VersionString {
    const char* key;
    const char* value;  // code page 932
};

struct VersionInfo {
    WORD fileVersion[4];
    WORD productVersion[4];
    WORD language;  // 0x0411, Japanese
    WORD codePage;  // 1200, Unicode
    const VersionString* strings;
    int stringCount;
};

extern const VersionInfo kVersionInfo;

}  // namespace tenebrix_res
