// CP932 <-> UTF-8 through glibc iconv (see text_codec.h).
//
// Stands in for the ANSI-to-Unicode conversion of the window system; only
// code page 932 is known.
#include "text_codec.h"

#include <errno.h>
#include <iconv.h>

namespace win32core {

namespace {

// The bytes that one UTF-8 sequence takes, read from its lead byte.
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2 : 1;
}

size_t OneByte(unsigned char) {
    return 1;
}

// Converts in one go; on an invalid or unconvertible sequence appends
// `replacement` and skips the bytes that `skip` gives for the byte there.
std::string Convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement, size_t (*skip)(unsigned char)) {
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
            const size_t length = skip(static_cast<unsigned char>(*src));
            const size_t n = srcLeft < length ? srcLeft : length;
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
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", OneByte);
}

std::string Utf8ToCp932(const std::string& utf8) {
    // A UTF-8 sequence that CP932 cannot hold is skipped whole.
    return Convert("CP932", "UTF-8", utf8, "?", Utf8SequenceLength);
}

}  // namespace win32core
