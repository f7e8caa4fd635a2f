// Painting with the null driver: coalesced WM_PAINT, StretchDIBits into a
// control's surface (exact pixels), DrawIcon and the default painting.
#include "tests/win32/recording_dialog.h"

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t kFace = 0xF0F0F0;
constexpr std::int64_t kBlack = 0x000000;

// A 10 x 16 24-bit bottom-up DIB whose pixel (x, y), row 0 at the top, is
// Expected(x, y). 10 pixels make 30 bytes a row, padded to 32; other widths
// (one that needs 3 bytes of padding: 11) for the row padding alone.
struct TestImage {
    BITMAPINFO info{};
    std::vector<BYTE> bits;
    static constexpr int kHeight = 16;
    const int width;
    const int stride;

    static std::int64_t Expected(int x, int y) {
        const int r = x * 20, g = y * 10, b = 200 - x - y;
        return (r << 16) | (g << 8) | b;
    }

    explicit TestImage(int w = 10) : width(w), stride((w * 3 + 3) / 4 * 4) {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = stride * kHeight;
        bits.assign(stride * kHeight, 0xEE);  // padding bytes that must never show
        for (int y = 0; y < kHeight; ++y) {
            BYTE* row = bits.data() + (kHeight - 1 - y) * stride;
            for (int x = 0; x < width; ++x) {
                const std::int64_t c = Expected(x, y);
                row[x * 3] = c & 0xFF;
                row[x * 3 + 1] = (c >> 8) & 0xFF;
                row[x * 3 + 2] = (c >> 16) & 0xFF;
            }
        }
    }

    // The way the picture is painted: w x h from the top-left, never scaled.
    int Paint(HWND control) const {
        RECT client;
        GetClientRect(control, &client);
        const int w = width < client.right ? width : client.right;
        const int h = kHeight < client.bottom ? kHeight : client.bottom;
        HDC dc = GetDC(control);
        const int rows = StretchDIBits(dc, 0, 0, w, h, 0, kHeight - h, w, h, bits.data(), &info,
                                       DIB_RGB_COLORS, SRCCOPY);
        ReleaseDC(control, dc);
        return rows;
    }
};

using PaintTest = Win32Test;

TEST_F(PaintTest, ControlSmallerThanTheImageShowsItsTopLeftUnscaled) {
    HWND small = GetDlgItem(dlg, IDC_T_SMALL);
    RECT client;
    GetClientRect(small, &client);
    ASSERT_EQ(client.right, 7);
    ASSERT_EQ(client.bottom, 12);

    TestImage image;
    EXPECT_EQ(image.Paint(small), 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(null_driver::Pixel(small, x, y), TestImage::Expected(x, y)) << x << "," << y;
        }
    }
}

TEST_F(PaintTest, ControlLargerThanTheImageShowsAllOfItAndKeepsTheRest) {
    HWND large = GetDlgItem(dlg, IDC_T_LARGE);
    RECT client;
    GetClientRect(large, &client);
    ASSERT_EQ(client.right, 14);
    ASSERT_EQ(client.bottom, 24);

    TestImage image;
    EXPECT_EQ(image.Paint(large), 16);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 14; ++x) {
            std::int64_t expected;
            if (x < 10 && y < 16) {
                expected = TestImage::Expected(x, y);
            } else if (x == 13 || y == 23 || x == 0 || y == 0) {
                expected = kBlack;  // the black frame the static painted
            } else {
                expected = kFace;
            }
            ASSERT_EQ(null_driver::Pixel(large, x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(PaintTest, SourceRowsCountFromTheBottomOfABottomUpImage) {
    // Rows 2..5 from the bottom of the 16-row picture are its rows 10..13
    // from the top.
    HWND large = GetDlgItem(dlg, IDC_T_LARGE);
    TestImage image;
    HDC dc = GetDC(large);
    EXPECT_EQ(StretchDIBits(dc, 1, 1, 3, 4, 2, 2, 3, 4, image.bits.data(), &image.info,
                            DIB_RGB_COLORS, SRCCOPY),
              4);
    ReleaseDC(large, dc);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
            ASSERT_EQ(null_driver::Pixel(large, 1 + x, 1 + y), TestImage::Expected(2 + x, 10 + y));
        }
    }
    EXPECT_EQ(null_driver::Pixel(large, 4, 1), kFace);
}

TEST_F(PaintTest, RowsOfAnyWidthStartAtTheirPaddedPlace) {
    // 11 pixels make 33 bytes a row, padded to 36.
    HWND large = GetDlgItem(dlg, IDC_T_LARGE);
    const TestImage image(11);
    EXPECT_EQ(image.Paint(large), TestImage::kHeight);
    for (int y = 0; y < TestImage::kHeight; ++y) {
        for (int x = 0; x < 11; ++x) {
            ASSERT_EQ(null_driver::Pixel(large, x, y), TestImage::Expected(x, y)) << x << "," << y;
        }
    }
}

TEST_F(PaintTest, ColumnsOutsideTheControlOrTheSourceAreCutOff) {
    // Destination columns -1..12 from source columns -2..11 of the 10-column
    // picture: only destination 1..10, from source 0..9, are drawn.
    HWND large = GetDlgItem(dlg, IDC_T_LARGE);
    TestImage image;
    HDC dc = GetDC(large);
    EXPECT_EQ(StretchDIBits(dc, -1, 0, 14, 3, -2, 13, 14, 3, image.bits.data(), &image.info,
                            DIB_RGB_COLORS, SRCCOPY),
              3);
    ReleaseDC(large, dc);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(null_driver::Pixel(large, 1 + x, y), TestImage::Expected(x, y))
                << x << "," << y;
        }
        const std::int64_t untouched = y == 0 ? kBlack : kFace;
        ASSERT_EQ(null_driver::Pixel(large, 0, y), kBlack) << y;
        ASSERT_EQ(null_driver::Pixel(large, 11, y), untouched) << y;
    }
}

TEST_F(PaintTest, UnsupportedCopiesDrawNothingAndReturnZero) {
    HWND small = GetDlgItem(dlg, IDC_T_SMALL);
    TestImage image;
    HDC dc = GetDC(small);
    // Stretching, another pixel format and another raster operation.
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 7, 12, 0, 0, 5, 6, image.bits.data(), &image.info,
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    BITMAPINFO info32 = image.info;
    info32.bmiHeader.biBitCount = 32;
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 5, 5, 0, 0, 5, 5, image.bits.data(), &info32, DIB_RGB_COLORS,
                            SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 5, 5, 0, 0, 5, 5, image.bits.data(), &image.info,
                            DIB_RGB_COLORS, 0x00EE0086),
              0);
    EXPECT_EQ(
        StretchDIBits(dc, 0, 0, 5, 5, 0, 0, 5, 5, nullptr, &image.info, DIB_RGB_COLORS, SRCCOPY),
        0);
    ReleaseDC(small, dc);
    EXPECT_EQ(null_driver::Pixel(small, 1, 1), kFace);
    EXPECT_EQ(null_driver::Pixel(small, 0, 0), kBlack);
}

TEST_F(PaintTest, InvalidationsBeforeTheLoopLooksGiveOnePaint) {
    RECT a{0, 0, 10, 10};
    RECT b{100, 50, 120, 60};
    InvalidateRect(dlg, &a, FALSE);
    InvalidateRect(dlg, &b, FALSE);
    InvalidateRect(dlg, &a, FALSE);
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 1);
    EXPECT_EQ(Count(WM_ERASEBKGND), 0) << "no erase was asked for";

    // The default painting validated it: nothing more comes.
    received.clear();
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 0);
}

TEST_F(PaintTest, AHiddenWindowIsPaintedOnlyOnceShown) {
    ShowWindow(dlg, SW_HIDE);
    received.clear();
    InvalidateRect(dlg, nullptr, FALSE);
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 0);

    ShowWindow(dlg, SW_SHOW);
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 1);
}

TEST_F(PaintTest, BeginPaintReportsTheUnionAndValidates) {
    RECT a{0, 0, 10, 10};
    RECT b{100, 50, 120, 60};
    InvalidateRect(dlg, &a, TRUE);
    InvalidateRect(dlg, &b, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dlg, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint.left, 0);
    EXPECT_EQ(ps.rcPaint.top, 0);
    EXPECT_EQ(ps.rcPaint.right, 120);
    EXPECT_EQ(ps.rcPaint.bottom, 60);
    EXPECT_EQ(Count(WM_ERASEBKGND), 1);
    EXPECT_TRUE(EndPaint(dlg, &ps));
    received.clear();
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 0);
}

TEST_F(PaintTest, DrawIconDrawsTheOpaquePixelsOfTheIcon) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_T_ICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_T_ICON)), icon);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(601)), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);

    HDC dc = GetDC(dlg);
    EXPECT_TRUE(DrawIcon(dc, 5, 7, icon));
    ReleaseDC(dlg, dc);
    EXPECT_EQ(null_driver::Pixel(dlg, 5, 7), kFace) << "transparent quarter";
    EXPECT_EQ(null_driver::Pixel(dlg, 20, 22), kFace);
    EXPECT_EQ(null_driver::Pixel(dlg, 21, 7), 0x0000FF);   // blue
    EXPECT_EQ(null_driver::Pixel(dlg, 5, 23), 0x0000FF);   // blue
    EXPECT_EQ(null_driver::Pixel(dlg, 21, 23), 0xFF0000);  // red
    EXPECT_EQ(null_driver::Pixel(dlg, 36, 38), 0xFF0000);  // the last pixel
    EXPECT_EQ(null_driver::Pixel(dlg, 37, 38), kFace);
    EXPECT_EQ(null_driver::Pixel(dlg, 36, 39), kFace);
}

TEST_F(PaintTest, WindowIconsAndTheMinimisedState) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_T_ICON));
    EXPECT_EQ(SendMessageA(dlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessageA(dlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessageA(dlg, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));

    EXPECT_FALSE(IsIconic(dlg));
    ASSERT_TRUE(null_driver::SetIconic(dlg, true));
    EXPECT_TRUE(IsIconic(dlg));
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_PAINT), 1) << "minimising repaints";
    null_driver::SetIconic(dlg, false);
    EXPECT_FALSE(IsIconic(dlg));
}

}  // namespace
