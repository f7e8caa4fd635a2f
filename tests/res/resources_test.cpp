// Tenebrix's resources: the templates as the dialogs use them, the texts as
// code page 932 bytes, the icon and the version data; and the dialogs built
// from them by the window layer (null driver).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/core/text_codec.h"
#include "res/resource.h"
#include "res/resources.h"
#include "res/version_info.h"
#include "tests/support/scripted_user.h"

namespace {

using win32core::Cp932ToUtf8;

const win32res::DialogTemplate& Dialog(WORD id) {
    const win32res::DialogTemplate* t = win32res::FindDialogTemplate(id);
    EXPECT_NE(t, nullptr);
    return *t;
}

struct ExpectedControl {
    int id;
    win32res::ControlClass kind;
    std::string label;
    short x, y, cx, cy;
};

TEST(Resources, MainDialogTemplate) {
    const auto& t = Dialog(IDD_MAIN);
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                          DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 183);
    EXPECT_EQ(t.cy, 197);
    EXPECT_STREQ(t.caption, "TENEBRIX");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.weight, 0);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, 1);
    EXPECT_EQ(Cp932ToUtf8(t.typeface), "ＭＳ Ｐゴシック");

    using win32res::ControlClass;
    const ExpectedControl expected[] = {
        {IDCANCEL, ControlClass::Button, "The End", 149, 162, 31, 33},
        {1000, ControlClass::Button, "Start", 3, 162, 31, 33},
        {1001, ControlClass::Button, "Stop", 36, 162, 31, 33},
        {1002, ControlClass::Button, "Background", 69, 162, 38, 16},
        {1003, ControlClass::Button, "Snapshot", 109, 162, 38, 16},
        {1005, ControlClass::Static, "", 0, 0, 183, 160},
        {1007, ControlClass::Button, "Stealth", 69, 180, 78, 14},
    };
    ASSERT_EQ(t.controlCount, 7);
    for (int i = 0; i < 7; ++i) {
        const auto& c = t.controls[i];
        const auto& e = expected[i];
        EXPECT_EQ(c.id, e.id) << i;
        EXPECT_EQ(c.windowClass, e.kind) << i;
        EXPECT_EQ(std::string(c.text), e.label) << i;
        EXPECT_EQ(c.x, e.x) << i;
        EXPECT_EQ(c.y, e.y) << i;
        EXPECT_EQ(c.cx, e.cx) << i;
        EXPECT_EQ(c.cy, e.cy) << i;
        if (e.kind == ControlClass::Button) {
            EXPECT_EQ(c.style,
                      static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON))
                << "plain push button, none the default: " << i;
        } else {
            EXPECT_EQ(c.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_BLACKFRAME));
        }
    }
    EXPECT_EQ(IDC_START, 1000);
    EXPECT_EQ(IDC_STOP, 1001);
    EXPECT_EQ(IDC_BACKGROUND, 1002);
    EXPECT_EQ(IDC_SNAPSHOT, 1003);
    EXPECT_EQ(IDC_PICTURE, 1005);
    EXPECT_EQ(IDC_STEALTH, 1007);
}

TEST(Resources, AboutBoxTemplate) {
    const auto& t = Dialog(IDD_ABOUTBOX);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0);  // centred by the framework
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 235);
    EXPECT_EQ(t.cy, 55);
    EXPECT_EQ(std::string(t.caption),
              "Tenebrix\x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1");
    EXPECT_EQ(Cp932ToUtf8(t.caption), "Tenebrixのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(Cp932ToUtf8(t.typeface), "ＭＳ Ｐゴシック");
    EXPECT_EQ(t.pointSize, 9);

    ASSERT_EQ(t.controlCount, 4);
    const auto* c = t.controls;
    EXPECT_EQ(c[0].windowClass, win32res::ControlClass::Static);
    EXPECT_EQ(c[0].style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(c[0].iconId, IDR_MAINFRAME);
    EXPECT_EQ(c[0].id, -1);
    EXPECT_EQ((std::vector<short>{c[0].x, c[0].y, c[0].cx, c[0].cy}),
              (std::vector<short>{11, 17, 20, 20}));

    EXPECT_STREQ(c[1].text, "Tenebrix Version 1.0.0.1");
    EXPECT_EQ(c[1].style & (SS_TYPEMASK | SS_NOPREFIX), static_cast<DWORD>(SS_LEFT | SS_NOPREFIX));
    EXPECT_EQ(c[1].id, -1);
    EXPECT_EQ((std::vector<short>{c[1].x, c[1].y, c[1].cx, c[1].cy}),
              (std::vector<short>{40, 10, 119, 8}));

    EXPECT_EQ(c[2].style & (SS_TYPEMASK | WS_GROUP), static_cast<DWORD>(SS_LEFT | WS_GROUP));
    EXPECT_EQ(c[2].id, -1);
    EXPECT_GT(std::string(c[2].text).size(), 0u);
    EXPECT_EQ((std::vector<short>{c[2].x, c[2].y, c[2].cx, c[2].cy}),
              (std::vector<short>{40, 25, 119, 8}));

    EXPECT_STREQ(c[3].text, "OK");
    EXPECT_EQ(c[3].id, IDOK);
    EXPECT_EQ(c[3].style,
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON));
    EXPECT_EQ((std::vector<short>{c[3].x, c[3].y, c[3].cx, c[3].cy}),
              (std::vector<short>{178, 7, 50, 14}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(c[i].style & WS_VISIBLE, 0u) << i;
    }
}

TEST(Resources, StringTableHoldsTheAboutEntryInCodePage932) {
    char buffer[64];
    const int n = LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, buffer, sizeof buffer);
    const std::string text(buffer, n);
    EXPECT_EQ(text, "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
    EXPECT_EQ(Cp932ToUtf8(text), "Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_EQ(IDS_ABOUTBOX, 101);
    EXPECT_EQ(IDM_ABOUTBOX, 0x0010);
    EXPECT_EQ(IDM_ABOUTBOX & 0xFFF0, IDM_ABOUTBOX);
    // Truncated to the buffer, and terminated.
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Tene");
}

TEST(Resources, IconHas32And16PixelImagesOf16Colours) {
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->imageCount, 2);
    for (int i = 0; i < 2; ++i) {
        const auto& image = icon->images[i];
        EXPECT_EQ(image.width, i == 0 ? 32 : 16);
        EXPECT_EQ(image.height, image.width);
        for (int y = 0; y < image.height; ++y) {
            const std::string row = image.rows[y];
            ASSERT_EQ(row.size(), static_cast<std::size_t>(image.width)) << y;
            EXPECT_EQ(row.find_first_not_of(".0123456789ABCDEF"), std::string::npos) << y;
        }
    }
}

TEST(Resources, VersionData) {
    const auto& v = tenebrix_res::kVersionInfo;
    EXPECT_EQ((std::vector<WORD>(v.fileVersion, v.fileVersion + 4)),
              (std::vector<WORD>{1, 0, 0, 1}));
    EXPECT_EQ((std::vector<WORD>(v.productVersion, v.productVersion + 4)),
              (std::vector<WORD>{1, 0, 0, 1}));
    EXPECT_EQ(v.language, 0x0411);
    EXPECT_EQ(v.codePage, 1200);
    std::map<std::string, std::string> strings;
    for (int i = 0; i < v.stringCount; ++i) {
        strings[v.strings[i].key] = Cp932ToUtf8(v.strings[i].value);
    }
    EXPECT_EQ(strings["FileVersion"], "1, 0, 0, 1");
    EXPECT_EQ(strings["ProductVersion"], "1, 0, 0, 1");
    EXPECT_EQ(strings["InternalName"], "Tenebrix");
    EXPECT_EQ(strings["OriginalFilename"], "Tenebrix.EXE");
    EXPECT_EQ(strings["ProductName"], "Tenebrix ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(strings["FileDescription"], "Tenebrix MFC ｱﾌﾟﾘｹｰｼｮﾝ");
    EXPECT_EQ(strings.count("CompanyName"), 1u);
    EXPECT_EQ(strings["CompanyName"], "");
    EXPECT_EQ(strings.count("LegalTrademarks"), 1u);
    EXPECT_EQ(strings["LegalTrademarks"], "");
}

class ResourceDialogTest : public ScriptedUserTest {
  protected:
    static INT_PTR CALLBACK Proc(HWND, UINT message, WPARAM, LPARAM) {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
};

TEST_F(ResourceDialogTest, MainDialogPictureIsExactly320By240Pixels) {
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), nullptr, Proc, 0);
    ASSERT_NE(dlg, nullptr);
    RECT r;
    GetClientRect(GetDlgItem(dlg, IDC_PICTURE), &r);
    EXPECT_EQ(r.right, 320);
    EXPECT_EQ(r.bottom, 240);
    GetClientRect(dlg, &r);
    EXPECT_EQ(r.right, 320);
    EXPECT_EQ(r.bottom, 296);
    GetClientRect(GetDlgItem(dlg, IDC_STEALTH), &r);
    EXPECT_EQ(r.right, 137);  // 78 units: 136.5
    EXPECT_EQ(r.bottom, 21);  // 14 units

    // Tab order is template order: "The End" has the focus first.
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDCANCEL));
    const int order[] = {IDC_START, IDC_STOP, IDC_BACKGROUND, IDC_SNAPSHOT, IDC_STEALTH, IDCANCEL};
    for (int id : order) {
        null_driver::PressKey(dlg, VK_TAB);
        null_driver::PumpMessages();
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, id)) << id;
    }
    char caption[32];
    GetWindowTextA(dlg, caption, sizeof caption);
    EXPECT_STREQ(caption, "TENEBRIX");
    ASSERT_EQ(null_driver::SystemMenu(dlg).size(), 1u) << "Close, until the program appends";
    DestroyWindow(dlg);
}

TEST_F(ResourceDialogTest, AboutBoxShowsTheProgramIcon) {
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, Proc, 0);
    ASSERT_NE(dlg, nullptr);
    ShowWindow(dlg, SW_SHOW);
    null_driver::PumpMessages();
    HWND icon = GetDlgItem(dlg, -1);  // the first control with id -1: the icon
    RECT r;
    GetClientRect(icon, &r);
    EXPECT_EQ(r.right, 32);
    EXPECT_EQ(r.bottom, 32);
    // Row 16 of the 32-pixel image: "..0888880A22A000..."
    const win32res::IconResource* res = win32res::FindIcon(IDR_MAINFRAME);
    const std::string row = res->images[0].rows[16];
    for (int x = 0; x < 32; ++x) {
        const std::int64_t pixel = null_driver::Pixel(icon, x, 16);
        if (row[x] == '.') {
            EXPECT_EQ(pixel, 0xF0F0F0) << x;
        } else {
            const int index = row[x] <= '9' ? row[x] - '0' : row[x] - 'A' + 10;
            EXPECT_EQ(pixel, static_cast<std::int64_t>(win32res::kIconPalette[index])) << x;
        }
    }
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDOK));
    DestroyWindow(dlg);
}

}  // namespace
