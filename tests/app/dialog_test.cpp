// The main dialog as the user meets it: start-up, the buttons, snapshots, the
// background, painting and the About box; null window driver, scripted camera.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/main_dialog.h"

namespace {

const scripted_capture::Pixel kScene = {120, 90, 60};  // blue, green, red
const scripted_capture::Pixel kOther = {30, 200, 10};
const scripted_capture::Pixel kThird = {5, 6, 250};

bool Enabled(CCamouflageDlg& dlg, int id) {
    return IsWindowEnabled(GetDlgItem(dlg.m_hWnd, id)) != FALSE;
}

std::uintmax_t FileSize(const char* path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

TEST_F(DialogTest, WithoutAnyCameraTheBoxShowsAndTheDialogEndsAtOnce) {
    CCamouflageDlg dlg;
    null_driver::SetIdleHandler([]() { ADD_FAILURE() << "the dialog's loop ran"; });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].textUtf8, "ビデオキャプチャデバイスが存在しません");
    EXPECT_EQ(boxes[0].captionUtf8, "ERROR");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(null_driver::TopLevelWindows().empty());
    // Nothing was set up: no picture, no sprites.
    EXPECT_FALSE(dlg.m_display.HasPixels());
    EXPECT_FALSE(dlg.m_camouflageMark.HasPixels());
}

TEST_F(DialogTest, DecliningTheOnlyCameraEndsTheDialog) {
    AddCamera(SolidFrame(kScene));
    null_driver::QueueMessageBoxAnswer(IDNO);
    CCamouflageDlg dlg;
    null_driver::SetIdleHandler([]() { ADD_FAILURE() << "the dialog's loop ran"; });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].textUtf8, "Test Camera");
    EXPECT_EQ(boxes[0].captionUtf8, "このデバイスを使用しますか？");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO));
}

TEST_F(DialogTest, StartAndStopSwitchTheTimerAndTheButtons) {
    AddCamera(SolidFrame(kScene));
    const INT_PTR result = Run({
        CheckThenClick(IDC_STOP,
                       [](CCamouflageDlg& dlg) {
                           // Running after start-up.
                           EXPECT_EQ(dlg.m_running, 1);
                           EXPECT_TRUE(null_driver::HasTimer(dlg.m_hWnd, 0));
                           EXPECT_FALSE(Enabled(dlg, IDC_START));
                           EXPECT_TRUE(Enabled(dlg, IDC_STOP));
                       }),
        [](CCamouflageDlg& dlg) {
            EXPECT_EQ(dlg.m_running, 0);
            EXPECT_FALSE(null_driver::HasTimer(dlg.m_hWnd, 0));
            EXPECT_TRUE(Enabled(dlg, IDC_START));
            EXPECT_FALSE(Enabled(dlg, IDC_STOP));
            // Stop once more, past the disabled button: nothing changes.
            dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED),
                            (LPARAM)GetDlgItem(dlg.m_hWnd, IDC_STOP));
        },
        CheckThenClick(IDC_START,
                       [](CCamouflageDlg& dlg) {
                           EXPECT_EQ(dlg.m_running, 0);
                           EXPECT_FALSE(null_driver::HasTimer(dlg.m_hWnd, 0));
                           EXPECT_TRUE(Enabled(dlg, IDC_START));
                           EXPECT_FALSE(Enabled(dlg, IDC_STOP));
                       }),
        [](CCamouflageDlg& dlg) {
            EXPECT_EQ(dlg.m_running, 1);
            EXPECT_TRUE(null_driver::HasTimer(dlg.m_hWnd, 0));
            EXPECT_FALSE(Enabled(dlg, IDC_START));
            EXPECT_TRUE(Enabled(dlg, IDC_STOP));
            dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                            (LPARAM)GetDlgItem(dlg.m_hWnd, IDC_START));
        },
        CheckThenTick([](CCamouflageDlg& dlg) {
            EXPECT_EQ(dlg.m_running, 1);
            EXPECT_TRUE(null_driver::HasTimer(dlg.m_hWnd, 0));
            EXPECT_FALSE(Enabled(dlg, IDC_START));
            EXPECT_TRUE(Enabled(dlg, IDC_STOP));
        }),
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, StealthFlipsAtOnceButThePictureChangesOnTheNextTick) {
    AddCamera(SolidFrame(kScene));
    CDibImage before;
    Run({
        Tick(),
        CheckThenClick(IDC_STEALTH,
                       [&](CCamouflageDlg& dlg) {
                           EXPECT_EQ(dlg.m_stealth, 0);
                           CDibImage expected = SplitPicture(0, kScene, kScene);
                           DrawExpectedHud(&expected, m_sprites, false, 0);
                           EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
                           before.CopyFrom(dlg.m_display);
                       }),
        CheckThenTick([&](CCamouflageDlg& dlg) {
            EXPECT_EQ(dlg.m_stealth, 1);
            EXPECT_EQ(FirstDifference(dlg.m_display, before), "");  // not yet
        }),
        CheckThenClick(IDC_STEALTH,
                       [&](CCamouflageDlg& dlg) {
                           // The item mark appears with the first stealth tick.
                           EXPECT_NE(FirstDifference(dlg.m_display, before), "");
                       }),
        CheckThenClick(IDC_STOP, [](CCamouflageDlg& dlg) { EXPECT_EQ(dlg.m_stealth, 0); }),
        // Stopped: the flag still flips, the picture stays.
        CheckThenClick(IDC_STEALTH, [](CCamouflageDlg& dlg) { EXPECT_EQ(dlg.m_stealth, 0); }),
        CheckThenClick(IDC_START, [](CCamouflageDlg& dlg) { EXPECT_EQ(dlg.m_stealth, 1); }),
    });
}

TEST_F(DialogTest, SnapshotsAreNumberedFromZeroAndHoldTheShownPicture) {
    WriteConfig("shot_%02d.bmp\n");
    AddCamera(SolidFrame(kScene));
    CDibImage first, second;
    Run({
        Tick(),
        CheckThenClick(IDC_SNAPSHOT, [&](CCamouflageDlg& dlg) { first.CopyFrom(dlg.m_display); }),
        TickWith(SolidFrame(kOther)),
        CheckThenClick(IDC_SNAPSHOT, [&](CCamouflageDlg& dlg) { second.CopyFrom(dlg.m_display); }),
    });
    EXPECT_EQ(CCamouflageDlg::s_snapshotCounter, 2);
    EXPECT_EQ(FileSize("shot_00.bmp"), 230454u);
    EXPECT_EQ(FileSize("shot_01.bmp"), 230454u);
    EXPECT_FALSE(std::filesystem::exists("shot_02.bmp"));
    CDibImage saved0, saved1;
    ASSERT_EQ(saved0.Load("shot_00.bmp"), 0);
    ASSERT_EQ(saved1.Load("shot_01.bmp"), 0);
    CDibImage expected0 = SplitPicture(0, kScene, kScene);
    DrawExpectedHud(&expected0, m_sprites, false, 0);
    EXPECT_EQ(FirstDifference(saved0, expected0), "");
    EXPECT_EQ(FirstDifference(saved0, first), "");
    EXPECT_EQ(FirstDifference(saved1, second), "");
    EXPECT_NE(FirstDifference(saved1, saved0), "");
}

TEST_F(DialogTest, ConfiguredFormatWithoutANumberIsReplacedSoNothingIsOverwritten) {
    WriteConfig("same.bmp\n");
    AddCamera(SolidFrame(kScene));
    Run({Tick(), Click(IDC_SNAPSHOT), Click(IDC_SNAPSHOT)});
    EXPECT_FALSE(std::filesystem::exists("same.bmp"));
    EXPECT_EQ(FileSize("snapshot000.bmp"), 230454u);
    EXPECT_EQ(FileSize("snapshot001.bmp"), 230454u);
}

TEST_F(DialogTest, AFormatWithoutANumberWritesEverySnapshotToOneFile) {
    // Only reachable by setting the format from code: the configuration file
    // cannot give such a format.
    AddCamera(SolidFrame(kScene));
    CDibImage last;
    Run({
        [](CCamouflageDlg& dlg) {
            std::strcpy(dlg.m_snapshotFormat, "same.bmp");
            EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
        },
        Click(IDC_SNAPSHOT),
        TickWith(SolidFrame(kOther)),
        CheckThenClick(IDC_SNAPSHOT, [&](CCamouflageDlg& dlg) { last.CopyFrom(dlg.m_display); }),
    });
    EXPECT_EQ(CCamouflageDlg::s_snapshotCounter, 2);
    CDibImage saved;
    ASSERT_EQ(saved.Load("same.bmp"), 0);
    EXPECT_EQ(FirstDifference(saved, last), "");
}

TEST_F(DialogTest, ACameraThatStopsLeavesItsLastPictureAndIsToldOnce) {
    AddCamera(SolidFrame(kScene));
    HWND dialog = NULL;
    testing::internal::CaptureStderr();
    Run({
        Tick(),
        [&](CCamouflageDlg& dlg) {
            dialog = dlg.m_hWnd;
            scripted_capture::PostGraphEvent(EC_ERRORABORT);
            EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
        },
        [](CCamouflageDlg& dlg) {
            scripted_capture::PostGraphEvent(EC_COMPLETE);
            EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
        },
        Tick(),
        Click(IDC_SNAPSHOT),
    });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tenebrix: the camera stopped; its last picture stays\n");
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);  // the device question, then the camera's stop, once
    EXPECT_EQ(boxes[1].textUtf8, "カメラからの映像が止まりました。最後の画像を表示しています。");
    EXPECT_EQ(boxes[1].captionUtf8, "ERROR");
    EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(boxes[1].owner, dialog);
    CDibImage saved;
    ASSERT_EQ(saved.Load("snapshot000.bmp"), 0);
    CDibImage expected = SplitPicture(0, kScene, kScene);
    DrawExpectedHud(&expected, m_sprites, false, 0);
    EXPECT_EQ(FirstDifference(saved, expected), "");
}

TEST_F(DialogTest, ASnapshotNotSavedIsToldOnceWithItsNameAndWhyAndUsesUpItsNumber) {
    // A folder that nobody may write to, root included, and a name of 256 bytes.
    std::filesystem::create_directory_symlink("/sys", "locked");
    WriteConfig("locked/shot%d.bmp\n");
    AddCamera(SolidFrame(kScene));
    const std::string longFormat = std::string(246, 'a') + "%010d";
    testing::internal::CaptureStderr();
    HWND dialog = NULL;
    Run({
        Tick(),
        Click(IDC_SNAPSHOT),
        [&](CCamouflageDlg& dlg) {
            dialog = dlg.m_hWnd;
            std::strcpy(dlg.m_snapshotFormat, longFormat.c_str());
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_SNAPSHOT));
        },
        [](CCamouflageDlg& dlg) {
            std::strcpy(dlg.m_snapshotFormat, "after%d.bmp");
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_SNAPSHOT));
        },
    });
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CCamouflageDlg::s_snapshotCounter, 3);
    const std::string longName = std::string(246, 'a') + "0000000001";
    EXPECT_EQ(log,
              "tenebrix: snapshot locked/shot0.bmp not saved: Permission denied\n"
              "tenebrix: snapshot " +
                  longName + " not saved: File name too long\n");
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);  // the device question, then one box per failure
    EXPECT_EQ(
        boxes[1].textUtf8,
        "スナップショットを保存できませんでした。\nlocked/shot0.bmp\n書き込みが許可されていません");
    EXPECT_EQ(boxes[2].textUtf8,
              "スナップショットを保存できませんでした。\n" + longName + "\n名前が長すぎます");
    for (int i : {1, 2}) {
        EXPECT_EQ(boxes[i].captionUtf8, "ERROR");
        EXPECT_EQ(boxes[i].type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(boxes[i].owner, dialog);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        files += entry.path().extension() == ".bmp" ? 1 : 0;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(FileSize("after2.bmp"), 230454u);
}

TEST_F(DialogTest, BackgroundIsTakenWhileStoppedAndKeptWhenNoFrameCame) {
    AddCamera(SolidFrame(kScene));
    Run({
        Tick(),
        Click(IDC_STOP),
        [](CCamouflageDlg& dlg) {
            // A background never taken is black.
            EXPECT_EQ(FirstDifference(dlg.m_background, SplitPicture(0, {0, 0, 0}, {0, 0, 0})), "");
            scripted_capture::SetFrame(0, SplitFrame(100, kOther, kThird));
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_BACKGROUND));
        },
        [](CCamouflageDlg& dlg) {
            EXPECT_EQ(FirstDifference(dlg.m_background, SplitPicture(100, kOther, kThird)), "");
            scripted_capture::SetFrame(0, {});  // the camera has no frame to give
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_BACKGROUND));
        },
        CheckThenClick(
            IDC_START,
            [](CCamouflageDlg& dlg) {
                EXPECT_EQ(FirstDifference(dlg.m_background, SplitPicture(100, kOther, kThird)), "");
            }),
    });
}

TEST_F(DialogTest, PaintCopiesThePictureOneToOneIntoTheControl) {
    AddCamera(SplitFrame(120, kOther, kThird));
    Run({
        Tick(),
        CheckThenTick([](CCamouflageDlg& dlg) {
            HWND picture = GetDlgItem(dlg.m_hWnd, IDC_PICTURE);
            ExpectControlShowsPicture(dlg, 320, 240);
            // Spot checks: the HUD digit and the split of the scene, unscaled.
            EXPECT_EQ(null_driver::Pixel(picture, 291, 25), 0xC80A32);  // digit 0
            EXPECT_EQ(null_driver::Pixel(picture, 0, 119), 0x0AC81E);
            EXPECT_EQ(null_driver::Pixel(picture, 0, 120), 0xFA0605);
        }),
    });
}

TEST_F(DialogTest, TheAboutEntryOpensTheBoxWhileTicksGoOnBehindIt) {
    AddCamera(SolidFrame(kScene));
    HWND about = NULL;
    Run({
        [](CCamouflageDlg& dlg) {
            const auto menu = null_driver::SystemMenu(dlg.m_hWnd);
            ASSERT_GE(menu.size(), 2u);
            EXPECT_EQ(menu[menu.size() - 2].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
            EXPECT_EQ(menu.back().id, 0x0010u);
            EXPECT_EQ(menu.back().text,
                      "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
            EXPECT_TRUE(null_driver::ChooseSystemMenuItem(dlg.m_hWnd, 0x0010));
        },
        // Inside the About box's own loop: the main dialog still ticks.
        [&](CCamouflageDlg& dlg) {
            const auto windows = null_driver::TopLevelWindows();
            ASSERT_EQ(windows.size(), 2u);
            about = windows.back();
            EXPECT_FALSE(IsWindowEnabled(dlg.m_hWnd));
            scripted_capture::SetFrame(0, SolidFrame(kOther));
            EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
        },
        [&](CCamouflageDlg& dlg) {
            CDibImage expected = SplitPicture(0, kOther, kOther);
            DrawExpectedHud(&expected, m_sprites, false, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
            EXPECT_TRUE(null_driver::Click(about, IDOK));
        },
        CheckThenTick([&](CCamouflageDlg& dlg) {
            EXPECT_EQ(null_driver::TopLevelWindows().size(), 1u);
            EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
            EXPECT_EQ(dlg.m_running, 1);
        }),
        // Every id from 0x0010 to 0x001F is the About entry.
        [&](CCamouflageDlg& dlg) { dlg.PostMessage(WM_SYSCOMMAND, 0x001F, 0); },
        [&](CCamouflageDlg& dlg) {
            const auto windows = null_driver::TopLevelWindows();
            ASSERT_EQ(windows.size(), 2u);
            EXPECT_TRUE(null_driver::PressKey(windows.back(), VK_ESCAPE));
        },
        CheckThenTick(
            [](CCamouflageDlg&) { EXPECT_EQ(null_driver::TopLevelWindows().size(), 1u); }),
    });
}

TEST_F(DialogTest, TheAboutBoxOpenedWhileStoppedLeavesTheDialogStopped) {
    AddCamera(SolidFrame(kScene));
    CDibImage before;
    Run({
        Tick(),
        Click(IDC_STOP),
        [&](CCamouflageDlg& dlg) {
            before.CopyFrom(dlg.m_display);
            EXPECT_TRUE(null_driver::ChooseSystemMenuItem(dlg.m_hWnd, 0x0010));
        },
        [&](CCamouflageDlg& dlg) {
            const auto windows = null_driver::TopLevelWindows();
            ASSERT_EQ(windows.size(), 2u);
            EXPECT_FALSE(null_driver::HasTimer(dlg.m_hWnd, 0));
            EXPECT_TRUE(null_driver::Click(windows.back(), IDOK));
        },
        CheckThenClick(IDC_STEALTH,
                       [&](CCamouflageDlg& dlg) {
                           EXPECT_EQ(null_driver::TopLevelWindows().size(), 1u);
                           EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
                           EXPECT_EQ(dlg.m_running, 0);
                           EXPECT_FALSE(null_driver::HasTimer(dlg.m_hWnd, 0));
                           EXPECT_TRUE(Enabled(dlg, IDC_START));
                           EXPECT_FALSE(Enabled(dlg, IDC_STOP));
                           EXPECT_EQ(FirstDifference(dlg.m_display, before), "");
                       }),
    });
}

}  // namespace
