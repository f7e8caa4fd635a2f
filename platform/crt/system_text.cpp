// Conversions between the system's code page 932 texts and UTF-16, for the
// Windows build (see system_text.h).
#include "platform/crt/system_text.h"

#include <vector>

std::wstring WideFromSystemText(const char* text) {
    if (text == nullptr) {
        return std::wstring();
    }
    const int length = MultiByteToWideChar(kSystemCodePage, 0, text, -1, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(kSystemCodePage, 0, text, -1, wide.data(), length);
    return std::wstring(wide.data());
}

std::string SystemTextFromWide(const wchar_t* text) {
    if (text == nullptr) {
        return std::string();
    }
    const int length =
        WideCharToMultiByte(kSystemCodePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::string();
    }
    std::vector<char> narrow(static_cast<size_t>(length));
    WideCharToMultiByte(kSystemCodePage, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return std::string(narrow.data());
}
