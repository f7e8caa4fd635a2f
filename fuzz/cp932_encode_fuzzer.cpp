// Any text into code page 932: device names through WideCharToMultiByte (the
// capture layer's call, into any buffer size) and the UTF-8 texts of our own
// sources through Utf8ToCp932. Results are whole characters of the code page,
// a size query and the conversion agree, and no byte lands beyond the buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "fuzz/fuzz_support.h"
#include "fuzz/utf8.h"
#include "platform/win32/core/text_codec.h"

namespace {

void CheckUtf8ToCp932(const std::string& text) {
    const std::string ansi = win32core::Utf8ToCp932(text);
    FUZZ_CHECK(ansi.empty() == text.empty());
    // Whole characters only: read back, nothing needs a replacement.
    FUZZ_CHECK(win32core::Cp932ToUtf8(ansi).find("\xEF\xBF\xBD") == std::string::npos);
    if (IsAscii(text)) {
        FUZZ_CHECK(ansi == text);
    }
}

void CheckWideCharToMultiByte(FuzzedDataProvider& input) {
    const UINT codePages[] = {CP_ACP, 932, CP_UTF8};
    const UINT codePage = codePages[input.ConsumeIntegralInRange<int>(0, 2)];
    const bool terminated = input.ConsumeBool();
    const int bufferSize = input.ConsumeIntegralInRange<int>(1, 300);
    const char defaultChar = input.ConsumeIntegral<char>();
    const bool withDefault = input.ConsumeBool();
    std::vector<WCHAR> text;
    while (input.remaining_bytes() >= 2) {
        const std::uint16_t unit = input.ConsumeIntegral<std::uint16_t>();
        if (!(terminated && unit == 0)) {
            text.push_back(static_cast<WCHAR>(unit));
        }
    }
    if (!terminated && text.empty()) {
        return;  // a length of 0 is a caller's error
    }
    const int length = terminated ? -1 : static_cast<int>(text.size());
    text.push_back(0);
    const char* fallback = withDefault ? &defaultChar : nullptr;

    BOOL usedDefault = FALSE;
    const int needed =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, fallback, &usedDefault);
    FUZZ_CHECK(needed > 0);
    std::vector<char> full(static_cast<std::size_t>(needed));
    FUZZ_CHECK(WideCharToMultiByte(codePage, 0, text.data(), length, full.data(), needed, fallback,
                                   nullptr) == needed);
    const std::string converted(full.begin(), full.end());
    if (terminated && fallback != nullptr && *fallback == '\0') {
        FUZZ_CHECK(converted.back() == '\0');  // a NUL default may stand inside too
    } else if (terminated) {
        FUZZ_CHECK(converted.find('\0') == converted.size() - 1);
    }
    if (codePage == CP_UTF8) {
        FUZZ_CHECK(IsWellFormedUtf8(converted));
    } else if (!usedDefault) {
        const std::string back = win32core::Cp932ToUtf8(converted);
        FUZZ_CHECK(back.find("\xEF\xBF\xBD") == std::string::npos);
    }

    // Into a buffer of the fuzzer's size, allocated to the byte.
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize), '\x7F');
    const int written = WideCharToMultiByte(codePage, 0, text.data(), length, buffer.data(),
                                            bufferSize, fallback, nullptr);
    if (needed <= bufferSize) {
        FUZZ_CHECK(written == needed &&
                   std::memcmp(buffer.data(), full.data(), static_cast<std::size_t>(needed)) == 0);
    } else if (terminated) {
        // Cut between characters and terminated: a prefix of the whole text.
        FUZZ_CHECK(written == 0);
        const char* end = static_cast<const char*>(std::memchr(buffer.data(), '\0', buffer.size()));
        FUZZ_CHECK(end != nullptr);
        const std::size_t kept = static_cast<std::size_t>(end - buffer.data());
        FUZZ_CHECK(std::memcmp(buffer.data(), full.data(), kept) == 0);
    } else {
        FUZZ_CHECK(written == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        CheckUtf8ToCp932(input.ConsumeRemainingBytesAsString());
    } else {
        CheckWideCharToMultiByte(input);
    }
    return 0;
}
