// MessageBoxA through the null driver: recorded texts, flags and answers.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/null/null_driver.h"

namespace {

class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(null_driver::Use());
        null_driver::Reset();
    }
    void TearDown() override { null_driver::Reset(); }
};

// "このデバイスを使用しますか？" in code page 932.
const char kUseDevice[] =
    "\x82\xb1\x82\xcc\x83\x66\x83\x6f\x83\x43\x83\x58\x82\xf0\x8e\x67\x97\x70\x82\xb5\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
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

}  // namespace
