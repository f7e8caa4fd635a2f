// WideCharToMultiByte over glibc's iconv.
//
// Stands in for KERNEL32's conversion from UTF-16 to an ANSI code page. Limits
// (see winnls.h): code pages CP_ACP and 932 (Shift-JIS) and CP_UTF8 only;
// flags are ignored. Each character is converted on its own, so that one the
// code page lacks can be replaced by the default character and a cut always
// falls between whole characters.
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include <winnls.h>

namespace {

// One UTF-16 character (one or two units) as UTF-32, or -1 for an unpaired
// surrogate. Advances i past it.
long NextCodePoint(LPCWCH text, int length, int& i) {
    const unsigned unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
        return 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00);
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        return -1;
    }
    return static_cast<long>(unit);
}

// `cp` in the target encoding, or false when the code page lacks it.
bool Encode(iconv_t cd, long cp, std::string& out) {
    if (cp < 0) {
        return false;
    }
    char32_t in32 = static_cast<char32_t>(cp);
    char inBuf[4];
    for (int k = 0; k < 4; ++k) {
        inBuf[k] = static_cast<char>((in32 >> (8 * k)) & 0xFF);  // UTF-32LE
    }
    char outBuf[8];
    char* inPtr = inBuf;
    size_t inLeft = sizeof inBuf;
    char* outPtr = outBuf;
    size_t outLeft = sizeof outBuf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        return false;
    }
    out.assign(outBuf, sizeof outBuf - outLeft);
    return true;
}

const char* TargetEncoding(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
        case 932:
            return "CP932";
        case CP_UTF8:
            return "UTF-8";
        default:
            return nullptr;
    }
}

}  // namespace

int WideCharToMultiByte(UINT CodePage, DWORD, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
    const char* encoding = TargetEncoding(CodePage);
    if (encoding == nullptr || lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 ||
        cbMultiByte < 0 || (cbMultiByte > 0 && lpMultiByteStr == nullptr)) {
        return 0;
    }
    int length = cchWideChar;
    if (length == -1) {
        length = 0;
        while (lpWideCharStr[length] != 0) {
            ++length;
        }
        ++length;  // the terminator is converted too
    }
    iconv_t cd = iconv_open(encoding, "UTF-32LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return 0;
    }
    const std::string fallback = (lpDefaultChar != nullptr && CodePage != CP_UTF8)
                                     ? std::string(1, lpDefaultChar[0])
                                     : std::string("?");
    if (lpUsedDefaultChar != nullptr) {
        *lpUsedDefaultChar = FALSE;
    }
    int written = 0;
    bool fits = true;
    std::vector<int> boundaries{0};  // byte offsets where a character ends
    std::string bytes;
    for (int i = 0; i < length;) {
        const long cp = NextCodePoint(lpWideCharStr, length, i);
        if (cp == 0) {
            bytes.assign(1, '\0');
        } else if (!Encode(cd, cp, bytes)) {
            bytes = fallback;
            if (lpUsedDefaultChar != nullptr) {
                *lpUsedDefaultChar = TRUE;
            }
        }
        if (cbMultiByte > 0) {
            if (written + static_cast<int>(bytes.size()) > cbMultiByte) {
                fits = false;
                break;
            }
            bytes.copy(lpMultiByteStr + written, bytes.size());
        }
        written += static_cast<int>(bytes.size());
        boundaries.push_back(written);
    }
    iconv_close(cd);
    if (!fits) {
        // Keep the whole characters that fit and, where the caller counted the
        // terminator, end the text there, giving up a last character for it.
        if (cchWideChar == -1) {
            int end = 0;
            for (int boundary : boundaries) {
                if (boundary <= cbMultiByte - 1) {
                    end = boundary;
                }
            }
            // Nothing of a character given up stays behind the terminator.
            for (int k = end; k < written; ++k) {
                lpMultiByteStr[k] = '\0';
            }
            lpMultiByteStr[end] = '\0';
        }
        return 0;
    }
    return written;
}
