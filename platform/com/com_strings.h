// UTF-8 <-> BSTR conversion for the objects of our COM layer.
//
// Stands in for nothing on Windows, where names are UTF-16 from the start:
// device names come from GStreamer as UTF-8, and COM hands them
// out as BSTRs (UTF-16). Limits: invalid UTF-8 sequences and unpaired
// surrogates become U+FFFD; no normalisation.
#pragma once

#include <string>

#include <objbase.h>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
// A new BSTR holding `text`, or null when memory runs out; free with SysFreeString.
BSTR SysAllocStringUtf8(const std::string& text);
