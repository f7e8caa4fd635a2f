// MessageBoxA through the null driver: recorded texts, flags and answers, and
// the box's layout as the null driver's fonts measure it (6 pixels for each
// byte of a character in code page 932, 12-pixel lines).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/win32/recording_dialog.h"

namespace {

using MessageBoxTest = ScriptedUserTest;

// "このデバイスを使用しますか？" in code page 932.
const char kUseDevice[] =
    "\x82\xb1\x82\xcc\x83\x66\x83\x6f\x83\x43\x83\x58\x82\xf0\x8e\x67\x97\x70\x82\xb5\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
// "ビデオキャプチャデバイスが存在しません" in code page 932.
const char kNoDevice[] =
    "\x83\x72\x83\x66\x83\x49\x83\x4c\x83\x83\x83\x76\x83\x60\x83\x83\x83\x66\x83\x6f"
    "\x83\x43\x83\x58\x82\xaa\x91\xb6\x8d\xdd\x82\xb5\x82\xdc\x82\xb9\x82\xf1";
// "バインド失敗" in code page 932.
const char kBindFailed[] = "\x83\x6f\x83\x43\x83\x93\x83\x68\x8e\xb8\x94\x73";

TEST_F(MessageBoxTest, QueuedAnswersAreReturnedInOrderAndEveryBoxIsRecorded) {
    null_driver::QueueMessageBoxAnswer(IDNO);
    null_driver::QueueMessageBoxAnswer(IDYES);

    EXPECT_EQ(MessageBoxA(nullptr, "USB Camera", kUseDevice, MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Second Camera", kUseDevice, MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, kBindFailed, "ERROR", MB_OK), IDOK);

    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "USB Camera");
    EXPECT_EQ(boxes[0].caption, kUseDevice);
    EXPECT_EQ(boxes[0].captionUtf8, "このデバイスを使用しますか？");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes[0].answer, IDNO);
    EXPECT_EQ(boxes[1].text, "Second Camera");
    EXPECT_EQ(boxes[1].answer, IDYES);
    EXPECT_EQ(boxes[2].text, kBindFailed);
    EXPECT_EQ(boxes[2].textUtf8, "バインド失敗");
    EXPECT_EQ(boxes[2].caption, "ERROR");
    EXPECT_EQ(boxes[2].type, static_cast<UINT>(MB_OK));
}

TEST_F(MessageBoxTest, WithoutAQueuedAnswerTheDefaultButtonAnswers) {
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(null_driver::MessageBoxes().size(), 5u);
}

TEST_F(MessageBoxTest, NullCaptionIsErrorAndNullTextIsEmpty) {
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
    ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
    EXPECT_EQ(null_driver::MessageBoxes()[0].text, "");
    EXPECT_EQ(null_driver::MessageBoxes()[0].caption, "Error");
}

TEST_F(MessageBoxTest, BytesThatAreNotCodePage932BecomeReplacementCharacters) {
    // 0x82 0x20 is a lead byte followed by an invalid trail byte.
    MessageBoxA(nullptr, "A\x82 B\x83\x6f", "x", MB_OK);
    EXPECT_EQ(null_driver::MessageBoxes()[0].textUtf8, "A\xEF\xBF\xBD B\xE3\x83\x90");
}

TEST_F(MessageBoxTest, ResetForgetsBoxesAndUnusedAnswers) {
    null_driver::QueueMessageBoxAnswer(IDNO);
    null_driver::QueueMessageBoxAnswer(IDNO);
    MessageBoxA(nullptr, "a", "b", MB_YESNO);
    null_driver::Reset();
    EXPECT_TRUE(null_driver::MessageBoxes().empty());
    EXPECT_EQ(MessageBoxA(nullptr, "a", "b", MB_YESNO), IDYES);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Shows a box and returns its layout; the buttons must lie in the client area
// and the frame in the work area.
win32core::MessageBoxLayout Show(const std::string& text, const char* caption, UINT type,
                                 const RECT& workArea = RECT{0, 0, 1024, 768}) {
    null_driver::SetWorkArea(workArea);
    MessageBoxA(nullptr, text.c_str(), caption, type);
    const win32core::MessageBoxLayout box = null_driver::MessageBoxes().back().layout;
    const RECT client{0, 0, box.client.right - box.client.left, box.client.bottom - box.client.top};
    for (const auto& b : box.buttons) {
        EXPECT_TRUE(Inside(b.rect, client)) << b.label;
    }
    EXPECT_TRUE(Inside(box.text, client));
    EXPECT_TRUE(Inside(box.client, box.frame));
    EXPECT_TRUE(Inside(box.frame, workArea));
    return box;
}

// Margins are 12 x 11 pixels (7 dialog units), buttons 88 x 21 (50 x 14) with
// 7 (4) between them; the frame adds 4 all round and a title bar of 20 (the
// 12-pixel title font and 8).
TEST_F(MessageBoxTest, TheDeviceQuestionIsAsWideAsItsCaptionNeedsAndCentred) {
    const auto box = Show("USB Camera", kUseDevice, MB_YESNO);
    // The caption's 14 characters (168) and four title-bar buttons of 20.
    EXPECT_EQ(box.client.right - box.client.left, 168 + 4 * 20);
    // One line of text, and the buttons under it.
    EXPECT_EQ(box.client.bottom - box.client.top, 11 + 12 + 11 + 21 + 11);
    EXPECT_EQ(box.frame.left, (1024 - 256) / 2);
    EXPECT_EQ(box.frame.top, (768 - 94) / 2);
    EXPECT_EQ(box.client.left, box.frame.left + 4);
    EXPECT_EQ(box.client.top, box.frame.top + 24);
    EXPECT_EQ(box.caption, "このデバイスを使用しますか？");
    EXPECT_EQ(box.lines, std::vector<std::string>{"USB Camera"});
    EXPECT_EQ(box.text.left, 12);
    EXPECT_EQ(box.text.top, 11);
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].id, IDYES);
    EXPECT_EQ(box.buttons[0].label, "&Yes");
    EXPECT_EQ(box.buttons[1].id, IDNO);
    EXPECT_EQ(box.buttons[1].label, "&No");
    // The row of 88 + 7 + 88 is centred: (248 - 183) / 2.
    EXPECT_EQ(box.buttons[0].rect.left, 32);
    EXPECT_EQ(box.buttons[0].rect.top, 34);
    EXPECT_EQ(box.buttons[0].rect.right, 120);
    EXPECT_EQ(box.buttons[0].rect.bottom, 55);
    EXPECT_EQ(box.buttons[1].rect.left, 127);
    EXPECT_EQ(box.defaultButton, 0);
    EXPECT_EQ(box.closeAnswer, 0);  // a Yes/No box can only be answered
    EXPECT_FALSE(box.cut);
}

TEST_F(MessageBoxTest, TheNoDeviceBoxIsAsWideAsItsText) {
    const auto box = Show(kNoDevice, "ERROR", MB_OK);
    EXPECT_EQ(box.lines, std::vector<std::string>{"ビデオキャプチャデバイスが存在しません"});
    EXPECT_EQ(box.client.right - box.client.left, 12 + 19 * 12 + 12);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0].id, IDOK);
    EXPECT_EQ(box.buttons[0].label, "OK");
    EXPECT_EQ(box.buttons[0].rect.left, (252 - 88) / 2);
    EXPECT_EQ(box.closeAnswer, IDOK);
    EXPECT_EQ(box.frame.left, (1024 - 260) / 2);
}

TEST_F(MessageBoxTest, AVeryLongNameWrapsAtFiveEighthsOfTheWorkArea) {
    const std::string name(5000, 'A');
    const auto box = Show(name, kUseDevice, MB_YESNO);
    // 640 pixels hold 106 characters: 47 full lines and 18 characters.
    ASSERT_EQ(box.lines.size(), 48u);
    std::string shown;
    for (const std::string& line : box.lines) {
        EXPECT_LE(line.size(), 106u);
        shown += line;
    }
    EXPECT_EQ(shown, name);
    EXPECT_EQ(box.client.right - box.client.left, 12 + 636 + 12);
    EXPECT_EQ(box.client.bottom - box.client.top, 11 + 48 * 12 + 11 + 21 + 11);
    EXPECT_FALSE(box.cut);
}

TEST_F(MessageBoxTest, ATextTooTallForTheWorkAreaWidensThenIsCutWithAnEllipsis) {
    // 672 x 480 pixels: 33 lines fit. The text takes 72 lines at 5/8 of the
    // width (420), 60 at 3/4 (504), 52 at 7/8 (588): it is cut at 7/8, where
    // 96 characters and the ellipsis fill a line exactly.
    const RECT small{100, 50, 772, 530};
    const auto box = Show(std::string(5000, 'A'), kUseDevice, MB_YESNO, small);
    ASSERT_EQ(box.lines.size(), 33u);
    EXPECT_EQ(box.lines[0], std::string(98, 'A'));
    EXPECT_EQ(box.lines[32], std::string(96, 'A') + "…");
    EXPECT_TRUE(box.cut);
    EXPECT_EQ(box.client.bottom - box.client.top, 11 + 33 * 12 + 11 + 21 + 11);
    EXPECT_EQ(box.buttons[0].rect.bottom, box.client.bottom - box.client.top - 11);

    // A text that fits at 3/4 is not widened further.
    const auto wider = Show(std::string(2500, 'A'), kUseDevice, MB_YESNO, small);
    EXPECT_EQ(wider.lines.size(), 30u);  // 84 characters a line; 36 lines of 70
    EXPECT_EQ(wider.lines[0].size(), 84u);
    EXPECT_FALSE(wider.cut);
}

TEST_F(MessageBoxTest, TextsBreakAtSpacesBetweenJapaneseCharactersAndAtLineBreaks) {
    // 400 pixels wide: lines of at most 250 pixels, 41 narrow or 20 wide
    // characters. No line starts with "。".
    const std::string text = "The quick brown fox jumps over the lazy dog again\r\n\n" +
                             std::string(kNoDevice) + "\x82\xcb\x81\x42";  // "ね。"
    const auto box = Show(text, "x", MB_OK, RECT{0, 0, 400, 768});
    EXPECT_EQ(box.lines,
              (std::vector<std::string>{"The quick brown fox jumps over the lazy", "dog again", "",
                                        "ビデオキャプチャデバイスが存在しません", "ね。"}));
}

TEST_F(MessageBoxTest, ButtonsComeInTheStandardOrderWithTheDefaultTheTypeSays) {
    const auto ids = [](const win32core::MessageBoxLayout& box) {
        std::vector<int> out;
        for (const auto& b : box.buttons) {
            out.push_back(b.id);
        }
        return out;
    };
    const auto okCancel = Show("a", "b", MB_OKCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(ids(okCancel), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(okCancel.defaultButton, 1);
    EXPECT_EQ(okCancel.closeAnswer, IDCANCEL);
    const auto yesNoCancel = Show("a", "b", MB_YESNOCANCEL | MB_DEFBUTTON3);
    EXPECT_EQ(ids(yesNoCancel), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(yesNoCancel.defaultButton, 2);
    // A default beyond the buttons there are is the first, as on Windows.
    EXPECT_EQ(Show("a", "b", MB_YESNO | MB_DEFBUTTON3).defaultButton, 0);
    // Buttons stand left to right with 7 pixels between them.
    EXPECT_EQ(yesNoCancel.buttons[1].rect.left, yesNoCancel.buttons[0].rect.right + 7);
    EXPECT_EQ(yesNoCancel.buttons[2].rect.left, yesNoCancel.buttons[1].rect.right + 7);
}

// The test dialog's client area is 352, 236 .. 672, 532; the box "a" with
// caption "b" is 120 x 94 with its frame (the OK button decides the width).
using MessageBoxOwnerTest = Win32Test;

TEST_F(MessageBoxOwnerTest, ABoxIsCentredOverItsOwnerAndKeptInTheWorkArea) {
    MessageBoxA(dlg, "a", "b", MB_OK);
    EXPECT_EQ(null_driver::MessageBoxes().back().owner, dlg);
    const RECT over = null_driver::MessageBoxes().back().layout.frame;
    EXPECT_EQ(over.left, 352 + (320 - 120) / 2);
    EXPECT_EQ(over.top, 236 + (296 - 94) / 2);
    EXPECT_EQ(over.right - over.left, 120);

    // The owner reaches past the work area's right edge: the box does not.
    null_driver::SetWorkArea(RECT{0, 0, 500, 768});
    MessageBoxA(dlg, "a", "b", MB_OK);
    const RECT moved = null_driver::MessageBoxes().back().layout.frame;
    EXPECT_EQ(moved.right, 500);
    EXPECT_EQ(moved.top, over.top);
}

}  // namespace
