// SysAllocString, SysFreeString and the UTF-8 helpers of com_strings.h.
//
// Stands in for OLEAUT32's BSTR allocator: the text is UTF-16 followed by a
// 16-bit NUL, preceded by a 4-byte count of its bytes (not counting the NUL),
// and the BSTR points just past that count. Only our own BSTRs may be freed.
#include <cstdlib>
#include <cstring>

#include <objbase.h>

#include "platform/com/com_strings.h"

namespace {

BSTR AllocWithLength(const OLECHAR* text, size_t length) {
    const size_t bytes = length * sizeof(OLECHAR);
    if (bytes > 0xFFFFFFF0u) {
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(DWORD) + bytes + sizeof(OLECHAR)));
    if (block == nullptr) {
        return nullptr;
    }
    const DWORD prefix = static_cast<DWORD>(bytes);
    std::memcpy(block, &prefix, sizeof prefix);
    auto* string = reinterpret_cast<OLECHAR*>(block + sizeof(DWORD));
    if (bytes > 0) {
        std::memcpy(string, text, bytes);
    }
    string[length] = 0;
    return string;
}

const unsigned kReplacement = 0xFFFD;

// One code point from UTF-8 at text[i]; advances i. Malformed input gives U+FFFD.
unsigned DecodeUtf8(const std::string& text, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    unsigned cp = 0;
    unsigned minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return cp;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr) {
        return nullptr;
    }
    size_t length = 0;
    while (psz[length] != 0) {
        ++length;
    }
    return AllocWithLength(psz, length);
}

void SysFreeString(BSTR bstrString) {
    if (bstrString != nullptr) {
        std::free(reinterpret_cast<unsigned char*>(bstrString) - sizeof(DWORD));
    }
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned cp = DecodeUtf8(text, i);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

BSTR SysAllocStringUtf8(const std::string& text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return AllocWithLength(wide.c_str(), wide.size());
}
