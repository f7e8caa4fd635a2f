// Texts and fonts of the window layer: code page 932 to UTF-8 and back, and
// the free fonts that stand in for the templates' Windows fonts.
#include <gtest/gtest.h>

#include "platform/win32/core/dialog_units.h"
#include "platform/win32/core/text_codec.h"

namespace {

using win32core::Cp932ToUtf8;
using win32core::SubstituteFont;
using win32core::Utf8ToCp932;

TEST(FontSubstitution, TemplateFontsBecomeInstalledFreeFonts) {
    // "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" in code page 932.
    EXPECT_EQ(SubstituteFont(Utf8ToCp932("ＭＳ Ｐゴシック")), "IPAPGothic");
    EXPECT_EQ(SubstituteFont(Utf8ToCp932("ＭＳ ゴシック")), "IPAGothic");
    EXPECT_EQ(SubstituteFont("MS Shell Dlg"), "Sans");
    EXPECT_EQ(SubstituteFont("No Such Font"), "Sans");
    EXPECT_EQ(SubstituteFont(""), "Sans");
}

TEST(TextCodec, HalfWidthKatakanaAndKanjiRoundTrip) {
    const std::string utf8 = "Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)...";
    const std::string cp932 = Utf8ToCp932(utf8);
    EXPECT_EQ(cp932, "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(TextCodec, WhatCodePage932LacksBecomesAQuestionMark) {
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji
    EXPECT_EQ(Cp932ToUtf8("\x82"), "\xEF\xBF\xBD") << "a lead byte alone at the end";
}

}  // namespace
