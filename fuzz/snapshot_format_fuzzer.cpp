// Any Tenebrix.cfg: the reader hands the program a snapshot name format that
// takes exactly one int (glibc's own printf parser agrees) and says in one
// line why when it falls back to the default; and every name formatted from
// it with a running number goes through the program's formatter safely.
#include <printf.h>

#include <climits>
#include <cstring>
#include <string>

#include "app/snapshot_format.h"
#include "fuzz/fuzz_support.h"
#include "image/dib_image.h"

namespace {

// What printf itself takes from the argument list for `format`.
bool TakesExactlyOneInt(const char* format) {
    int type = PA_LAST;
    return parse_printf_format(format, 1, &type) == 1 && type == PA_INT;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.Write(data, size);

    // The checker alone, on the input as one string.
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (IsSnapshotFormatValid(text.c_str()) == 1) {
        FUZZ_CHECK(TakesExactlyOneInt(text.c_str()));
    }

    // The file as the program reads it at start-up.
    char* logText = nullptr;
    std::size_t logSize = 0;
    std::FILE* log = open_memstream(&logText, &logSize);
    FUZZ_CHECK(log != nullptr);
    char format[kSnapshotFormatSize];
    std::memset(format, 'x', sizeof format);
    const int result = ReadSnapshotFormat(file.Path(), format, log);
    std::fclose(log);
    const std::string logged(logText, logSize);
    std::free(logText);

    FUZZ_CHECK(std::memchr(format, '\0', sizeof format) != nullptr);
    FUZZ_CHECK(IsSnapshotFormatValid(format) == 1 && TakesExactlyOneInt(format));
    if (result == 0) {
        // The file's token, used as it stands.
        FUZZ_CHECK(logged.empty() && format[0] != '\0' && text.find(format) != std::string::npos);
        for (const char* c = format; *c != '\0'; ++c) {
            FUZZ_CHECK(std::isspace(static_cast<unsigned char>(*c)) == 0);
        }
    } else {
        // The default, and one line that says why.
        FUZZ_CHECK(result == -1 && std::strcmp(format, kDefaultSnapshotFormat) == 0);
        FUZZ_CHECK(!logged.empty() && logged.find('\n') == logged.size() - 1);
    }

    // Names from the running numbers, through the program's formatter; an
    // image without pixels is never written, so no file is touched.
    const CDibImage nothing;
    for (int number : {0, 1, 999, 1000, 65535, INT_MAX}) {
        FUZZ_CHECK(nothing.SaveFormat(format, number) == -1);
    }
    return 0;
}
