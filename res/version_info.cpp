// The version data (see version_info.h).
#include "version_info.h"

namespace tenebrix_res {

namespace {

const VersionString kStrings[] = {
    {"CompanyName", ""},
    // "Tenebrix MFC ｱﾌﾟﾘｹｰｼｮﾝ"
    {"FileDescription", "Tenebrix MFC \xb1\xcc\xdf\xd8\xb9\xb0\xbc\xae\xdd"},
    {"FileVersion", TENEBRIX_VERSION_TEXT},
    {"InternalName", "Tenebrix"},
    {"LegalCopyright", "Copyright (C) 2026"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Tenebrix.EXE"},
    // "Tenebrix ｱﾌﾟﾘｹｰｼｮﾝ"
    {"ProductName", "Tenebrix \xb1\xcc\xdf\xd8\xb9\xb0\xbc\xae\xdd"},
    {"ProductVersion", TENEBRIX_VERSION_TEXT},
};

}  // namespace

const VersionInfo kVersionInfo = {
    {TENEBRIX_VERSION_MAJOR, TENEBRIX_VERSION_MINOR, TENEBRIX_VERSION_BUILD,
     TENEBRIX_VERSION_REVISION},
    {TENEBRIX_VERSION_MAJOR, TENEBRIX_VERSION_MINOR, TENEBRIX_VERSION_BUILD,
     TENEBRIX_VERSION_REVISION},
    0x0411,
    1200,
    kStrings,
    static_cast<int>(sizeof kStrings / sizeof kStrings[0]),
};

}  // namespace tenebrix_res
