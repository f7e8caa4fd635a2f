// Writes a Windows resource script (Tenebrix.rc, code page 932) and the icon
// file it names (Tenebrix.ico) from the resource tables of this folder, so
// that a Windows build takes its resources from the same source of truth.
#pragma once

#include <ostream>
#include <string>

namespace tenebrix_res {

// The script: dialogs, string table, icon statement and version data.
void WriteResourceScript(std::ostream& out);

// The icon IDR_MAINFRAME as an .ico file: every image 4 bits a pixel with the
// standard palette and a transparency mask, rows bottom-up.
std::string IconFileBytes();

}  // namespace tenebrix_res
