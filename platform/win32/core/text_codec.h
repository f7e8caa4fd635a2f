// Code page 932 (Shift-JIS as Windows has it) to UTF-8, for native widgets.
//
// Stands in for the conversion Windows does when an ANSI call (MessageBoxA,
// SetWindowTextA, dialog templates) reaches the Unicode window system. Uses
// glibc's iconv "CP932" converter. A byte sequence that is not CP932 becomes
// U+FFFD and the conversion goes on, so no text is ever dropped whole.
#pragma once

#include <string>

namespace win32core {

std::string Cp932ToUtf8(const std::string& cp932);

// The reverse, for texts written in UTF-8 in our own sources;
// characters that CP932 lacks become '?'.
std::string Utf8ToCp932(const std::string& utf8);

}  // namespace win32core
