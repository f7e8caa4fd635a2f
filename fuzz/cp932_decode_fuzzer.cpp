// Any bytes as a code page 932 text, as the window layer shows every dialog
// text, caption and message: the result is well-formed UTF-8, plain ASCII
// stays as it is, and no text is dropped whole.
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/utf8.h"
#include "platform/win32/core/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string shown = win32core::Cp932ToUtf8(text);
    FUZZ_CHECK(IsWellFormedUtf8(shown));
    FUZZ_CHECK(shown.empty() == text.empty());
    if (IsAscii(text)) {
        FUZZ_CHECK(shown == text);
    }
    return 0;
}
