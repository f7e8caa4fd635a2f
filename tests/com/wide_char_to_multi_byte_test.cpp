// WideCharToMultiByte into the ANSI code page (932, Shift-JIS): exact bytes,
// the default character for what the code page lacks, sizes and cuts.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace {

std::string Convert(const std::u16string& text, int size = 256, BOOL* usedDefault = nullptr,
                    int* result = nullptr) {
    std::string out(static_cast<size_t>(size), '\x7F');
    const int n =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), size, NULL, usedDefault);
    if (result != nullptr) {
        *result = n;
    }
    return out;
}

TEST(WideCharToMultiByte, JapaneseBecomesShiftJis) {
    int n = 0;
    const std::string out = Convert(u"カメラ1", 256, nullptr, &n);
    EXPECT_EQ(n, 8);  // three two-byte characters, '1' and the NUL
    EXPECT_EQ(out.substr(0, 8), std::string("\x83\x4A\x83\x81\x83\x89"
                                            "1\0",
                                            8));
}

TEST(WideCharToMultiByte, CharactersTheCodePageLacksBecomeQuestionMarks) {
    BOOL used = FALSE;
    int n = 0;
    // é, a snowman, a character outside the BMP (a surrogate pair), an unpaired surrogate.
    const std::u16string text = u"a\u00e9b\u2603c\U0001F600d" + std::u16string(1, u'\xD800') + u"e";
    const std::string out = Convert(text, 256, &used, &n);
    EXPECT_EQ(n, 10);
    EXPECT_EQ(out.substr(0, 10), std::string("a?b?c?d?e\0", 10));
    EXPECT_TRUE(used);
    Convert(u"plain", 256, &used);
    EXPECT_FALSE(used);
}

TEST(WideCharToMultiByte, SizeQueryWritesNothing) {
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u3042\u3044x", -1, NULL, 0, NULL, NULL), 6);
    EXPECT_EQ(WideCharToMultiByte(932, 0, u"\u3042\u3044x", 2, NULL, 0, NULL, NULL), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u3042", -1, NULL, 0, NULL, NULL), 4);
}

TEST(WideCharToMultiByte, TooLongTextIsCutBetweenCharactersAndTerminated) {
    int n = -1;
    // "xあ" needs 3 bytes and the NUL a fourth: in 3 bytes only "x" and the NUL fit.
    std::string out = Convert(u"x\u3042", 3, nullptr, &n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(out, std::string("x\0\0", 3));
    // "xyz" in 3 bytes: "xy" and the NUL.
    out = Convert(u"xyz", 3, nullptr, &n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(out, std::string("xy\0", 3));
    // Without a counted terminator the cut is not terminated.
    char buffer[4] = {'\x7F', '\x7F', '\x7F', '\x7F'};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u3042\u3044\u3046", 3, buffer, 3, NULL, NULL), 0);
    EXPECT_EQ(std::string(buffer, 4), std::string("\x82\xA0\x7F\x7F", 4));
}

TEST(WideCharToMultiByte, BadArgumentsFail) {
    char buffer[8];
    EXPECT_EQ(WideCharToMultiByte(1252, 0, u"x", -1, buffer, 8, NULL, NULL), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, NULL, -1, buffer, 8, NULL, NULL), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"x", 0, buffer, 8, NULL, NULL), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"x", -1, NULL, 8, NULL, NULL), 0);
}

}  // namespace
