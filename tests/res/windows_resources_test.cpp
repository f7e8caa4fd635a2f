// The Windows build's resources as the real platform reads them: the texts in
// UTF-16 whatever the ANSI code page, the dialogs built from the templates,
// the icon's pixels and the version data.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

TEST(WindowsResources, StringTableReadsRightInEveryCodePage) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    EXPECT_EQ(std::wstring(text, length), L"Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)...");
    // The framework hands it on as code page 932, whatever GetACP() says.
    CString loaded;
    EXPECT_TRUE(loaded.LoadString(IDS_ABOUTBOX));
    EXPECT_STREQ(loaded, "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct Control {
    int id;
    const wchar_t* text;  // null for an icon, whose text is the icon's id
    bool hasIcon;
};

// The dialog `id` built hidden: caption, font face and controls in order.
void ExpectDialog(int id, const std::wstring& caption, const std::vector<Control>& controls) {
    HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, NoHandling, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(TextOf(dialog), caption);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control& expected : controls) {
        ASSERT_NE(child, nullptr);
        // Templates of the older form keep 16-bit ids: IDC_STATIC is 0xFFFF.
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(expected.id));
        if (expected.text != nullptr) {
            EXPECT_EQ(TextOf(child), expected.text);
        }
        EXPECT_EQ(SendMessageW(child, STM_GETICON, 0, 0) != 0, expected.hasIcon) << expected.id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
    DestroyWindow(dialog);
}

TEST(WindowsResources, DialogsAsTheTemplatesGiveThem) {
    // Wine makes windows only on an X display (the test command starts one).
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        GTEST_SKIP() << "no X display";
    }
    ExpectDialog(IDD_ABOUTBOX, L"Tenebrixのﾊﾞｰｼﾞｮﾝ情報",
                 {{IDC_STATIC, nullptr, true},
                  {IDC_STATIC, L"Tenebrix Version 1.0.0.1", false},
                  {IDC_STATIC, L"Copyright (C) 2026", false},
                  {IDOK, L"OK", false}});
    ExpectDialog(IDD_MAIN, L"TENEBRIX",
                 {{IDCANCEL, L"The End", false},
                  {IDC_START, L"Start", false},
                  {IDC_STOP, L"Stop", false},
                  {IDC_BACKGROUND, L"Background", false},
                  {IDC_SNAPSHOT, L"Snapshot", false},
                  {IDC_PICTURE, L"", false},
                  {IDC_STEALTH, L"Stealth", false}});
}

// The icon of `size` drawn on white: pixel (x, y) as 0xRRGGBB.
std::vector<COLORREF> IconRow(int size, int y) {
    HICON icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    EXPECT_NE(icon, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> row;
    for (int x = 0; x < size; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        row.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
    return row;
}

TEST(WindowsResources, IconInBothSizes) {
    // Row 16 of the 32 x 32 image: "..088888022A220000444440888880..".
    const std::vector<COLORREF> row = IconRow(32, 16);
    EXPECT_EQ(row[0], 0xFFFFFFu);   // transparent
    EXPECT_EQ(row[2], 0x000000u);   // black
    EXPECT_EQ(row[3], 0x808080u);   // grey
    EXPECT_EQ(row[9], 0x008000u);   // green
    EXPECT_EQ(row[11], 0x00FF00u);  // lime
    EXPECT_EQ(row[18], 0x000080u);  // navy
    // Row 6 of the 16 x 16 image: ".08880A24409980.".
    const std::vector<COLORREF> small = IconRow(16, 6);
    EXPECT_EQ(small[0], 0xFFFFFFu);
    EXPECT_EQ(small[6], 0x00FF00u);
    EXPECT_EQ(small[11], 0xFF0000u);  // red
}

TEST(WindowsResources, VersionData) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\ProductName",
                               reinterpret_cast<void**>(&text), &size));
    EXPECT_STREQ(text, L"Tenebrix ｱﾌﾟﾘｹｰｼｮﾝ");
}

}  // namespace
