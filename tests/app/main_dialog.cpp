#include "tests/app/main_dialog.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The framework wants one application object; the dialog loads its icon there.
CWinApp s_testApp("tenebrix-tests");

BYTE Clamp(int v) {
    return static_cast<BYTE>(v);
}

// A sprite of w x h pixels in one colour, with its top-left pixel transparent,
// so that tests see both the keying and the exact position.
CDibImage MakeSprite(int w, int h, BYTE red, BYTE green, BYTE blue) {
    CDibImage sprite;
    sprite.Create(w, h);
    for (int i = 0; i < h; ++i) {
        for (int j = 0; j < w; ++j) {
            BYTE* p = sprite.Row(i) + 3 * j;
            const bool key = i == 0 && j == 0;
            p[0] = key ? 0x00 : blue;
            p[1] = key ? 0xFF : green;
            p[2] = key ? 0x00 : red;
        }
    }
    return sprite;
}

}  // namespace

MainTemplateCopy* OverrideMainTemplate() {
    static MainTemplateCopy copy;
    static win32res::ResourceModule module = {};
    static const bool registered = [] {
        const win32res::DialogTemplate* main = win32res::FindDialogTemplate(IDD_MAIN);
        if (main == nullptr) {
            return false;
        }
        copy.dialog = *main;
        copy.controls.assign(main->controls, main->controls + main->controlCount);
        copy.dialog.controls = copy.controls.data();
        module.dialogs = &copy.dialog;
        module.dialogCount = 1;
        return win32res::RegisterResourceModule(&module);
    }();
    return registered ? &copy : nullptr;
}

std::vector<BYTE> SolidFrame(scripted_capture::Pixel colour) {
    return SplitFrame(0, colour, colour);
}

std::vector<BYTE> SplitFrame(int rows, scripted_capture::Pixel top, scripted_capture::Pixel rest) {
    return scripted_capture::MakeFrame(kW, kH, [=](int, int y) { return y < rows ? top : rest; });
}

CDibImage SplitPicture(int rows, scripted_capture::Pixel top, scripted_capture::Pixel rest) {
    CDibImage picture;
    picture.Create(kW, kH);
    for (int i = 0; i < kH; ++i) {
        const scripted_capture::Pixel c = i < rows ? top : rest;
        for (int j = 0; j < kW; ++j) {
            BYTE* p = picture.Row(i) + 3 * j;
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
    return picture;
}

std::string FirstDifference(const CDibImage& a, const CDibImage& b) {
    if (!a.HasPixels() || !b.HasPixels() || a.Width() != b.Width() || a.Height() != b.Height()) {
        return "sizes differ";
    }
    for (int i = 0; i < a.Height(); ++i) {
        for (int j = 0; j < a.Width(); ++j) {
            const BYTE* p = a.Row(i) + 3 * j;
            const BYTE* q = b.Row(i) + 3 * j;
            if (std::memcmp(p, q, 3) != 0) {
                char text[128];
                std::snprintf(text, sizeof text, "(%d, %d): BGR %d %d %d vs %d %d %d", j, i, p[0],
                              p[1], p[2], q[0], q[1], q[2]);
                return text;
            }
        }
    }
    return "";
}

bool SamePixels(const CDibImage& a, const CDibImage& b) {
    return FirstDifference(a, b).empty();
}

void ExpectControlShowsPicture(CCamouflageDlg& dlg, int w, int h) {
    HWND picture = GetDlgItem(dlg.m_hWnd, IDC_PICTURE);
    RECT client;
    GetClientRect(picture, &client);
    ASSERT_EQ(client.right, w);
    ASSERT_EQ(client.bottom, h);
    EXPECT_EQ(dlg.m_pictureRect.right, w);
    EXPECT_EQ(dlg.m_pictureRect.bottom, h);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const BYTE* p = dlg.m_display.Row(y) + 3 * x;
            const std::int64_t rgb = (p[2] << 16) | (p[1] << 8) | p[0];
            wrong += null_driver::Pixel(picture, x, y) == rgb ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels differ";
}

void DialogTest::SetUp() {
    ASSERT_NO_FATAL_FAILURE(ScriptedUserTest::SetUp());
    ASSERT_TRUE(scripted_capture::Use());
    scripted_capture::Reset();
    m_dir = std::make_unique<TempDir>();
    WriteSprites();
    WriteConfig("snapshot%03d.bmp\n");
    CCamouflageDlg::s_snapshotCounter = 0;
}

void DialogTest::TearDown() {
    ScriptedUserTest::TearDown();
    scripted_capture::Reset();
    m_dir.reset();
}

void DialogTest::WriteSprites() {
    std::filesystem::create_directory("images");
    m_sprites.item = MakeSprite(8, 6, 11, 22, 33);
    m_sprites.camouflage = MakeSprite(12, 5, 240, 200, 7);
    for (int d = 0; d < 10; ++d) {
        m_sprites.digits[d] = MakeSprite(5, 7, 200, Clamp(10 + 20 * d), 50);
        m_sprites.digits[d].Save(("images/num" + std::to_string(d) + ".bmp").c_str());
    }
    m_sprites.item.Save("images/item.bmp");
    m_sprites.camouflage.Save("images/camouflage.bmp");
}

void DialogTest::WriteConfig(const std::string& content) {
    std::FILE* f = std::fopen("Tenebrix.cfg", "wb");
    std::fputs(content.c_str(), f);
    std::fclose(f);
}

void DialogTest::AddCamera(const std::vector<BYTE>& frame) {
    scripted_capture::Device camera;
    camera.name = "Test Camera";
    camera.format = scripted_capture::Rgb24Format(kW, kH);
    camera.frame = frame;
    scripted_capture::AddDevice(camera);
}

INT_PTR DialogTest::Run(std::vector<Step> steps) {
    null_driver::QueueMessageBoxAnswer(IDYES);
    CCamouflageDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;  // as the application object does
    for (const Step& step : steps) {
        Then([&dlg, step] { step(dlg); });
    }
    Then([&dlg] { null_driver::Click(dlg.m_hWnd, IDCANCEL); });
    const INT_PTR result = dlg.DoModal();
    AfxGetApp()->m_pMainWnd = NULL;
    return result;
}

Step DialogTest::Tick() {
    return [](CCamouflageDlg& dlg) { EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0)); };
}

Step DialogTest::TickWith(const std::vector<BYTE>& frame) {
    return [frame](CCamouflageDlg& dlg) {
        scripted_capture::SetFrame(0, frame);
        EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
    };
}

Step DialogTest::Click(int id) {
    return [id](CCamouflageDlg& dlg) { EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, id)); };
}

Step DialogTest::CheckThenTick(std::function<void(CCamouflageDlg&)> check) {
    return [check](CCamouflageDlg& dlg) {
        check(dlg);
        EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
    };
}

Step DialogTest::CheckThenClick(int id, std::function<void(CCamouflageDlg&)> check) {
    return [id, check](CCamouflageDlg& dlg) {
        check(dlg);
        EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, id));
    };
}
