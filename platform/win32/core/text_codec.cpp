// CP932 <-> UTF-8 through glibc iconv (see text_codec.h).
//
// Stands in for the ANSI-to-Unicode conversion of the window system; only
// code page 932 is known.
#include "text_codec.h"

#include <errno.h>
#include <iconv.h>

namespace win32core {

namespace {

// Converts in one go; on an invalid or unconvertible sequence appends
// `replacement` and skips `skip` bytes of input.
std::string Convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement, size_t skip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return in;  // converter missing: hand the bytes on unchanged
    }
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out += replacement;
            const size_t n = srcLeft < skip ? srcLeft : skip;
            src += n;
            srcLeft -= n;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& cp932) {
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToCp932(const std::string& utf8) {
    // Skip the whole UTF-8 sequence that CP932 cannot hold.
    std::string out;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t len = 1;
        const unsigned char lead = static_cast<unsigned char>(utf8[start]);
        if (lead >= 0xF0) {
            len = 4;
        } else if (lead >= 0xE0) {
            len = 3;
        } else if (lead >= 0xC0) {
            len = 2;
        }
        out += Convert("CP932", "UTF-8", utf8.substr(start, len), "?", len);
        start += len;
    }
    return out;
}

}  // namespace win32core
