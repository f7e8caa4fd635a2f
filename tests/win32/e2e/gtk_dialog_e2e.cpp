// End-to-end: a template dialog as a real GTK window. The test script clicks
// its "Start" button with xdotool; the handler then paints into the picture
// control with StretchDIBits, tick after tick, a decoy picture and then a
// known picture twice, and after each known one the program takes a
// screenshot (xwd) and looks for that picture, pixel for pixel. Pictures go
// to the server through buffers taken in turn, so the two known pictures
// take different buffers, and a buffer that shows anything but the latest
// picture leaves the decoy or nothing on the screen.
//
//   gtk_dialog_e2e SCREENSHOT_PATH
//
// Prints "ready" when the window shows and "clicked" when the handler runs.
// Exits 0 when the click arrived and the screenshot shows the whole picture
// unscaled; 1 otherwise (also after 30 s without a click).
#include <afxwin.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/e2e/xwd_image.h"
#include "tests/win32/test_templates.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kStride = kWidth * 3;

// The picture: every pixel differs from its neighbours, so that an offset, a
// flip or a red/blue swap cannot match.
std::uint32_t PatternAt(int x, int y) {
    return (static_cast<std::uint32_t>((x * 7 + y) & 0xFF) << 16) |
           (static_cast<std::uint32_t>((y * 5 + x / 3) & 0xFF) << 8) | 0x5A;
}

class CE2EDlg : public CDialog {
  public:
    CE2EDlg(const char* shot) : CDialog(IDD_TEST), m_shot(shot) {
        m_info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        m_info.bmiHeader.biWidth = kWidth;
        m_info.bmiHeader.biHeight = kHeight;
        m_info.bmiHeader.biPlanes = 1;
        m_info.bmiHeader.biBitCount = 24;
        m_info.bmiHeader.biSizeImage = kStride * kHeight;
        m_bits.resize(kStride * kHeight);
        m_decoy.resize(kStride * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            unsigned char* row = m_bits.data() + (kHeight - 1 - y) * kStride;  // bottom-up
            unsigned char* decoy = m_decoy.data() + (kHeight - 1 - y) * kStride;
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t c = PatternAt(x, y);
                row[x * 3] = c & 0xFF;
                row[x * 3 + 1] = (c >> 8) & 0xFF;
                row[x * 3 + 2] = (c >> 16) & 0xFF;
                for (int k = 0; k < 3; ++k) {
                    decoy[x * 3 + k] = static_cast<unsigned char>(~row[x * 3 + k]);
                }
            }
        }
    }

    bool m_passed = false;

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetWindowText("Tenebrix e2e");
        SetTimer(1, 50, NULL);
        return TRUE;
    }

    afx_msg void OnStart() {
        std::printf("clicked\n");
        std::fflush(stdout);
        m_shown = kDecoy;
        Invalidate(FALSE);
    }

    afx_msg void OnPaint() {
        CDialog::OnPaint();
        if (m_shown == kNothing) {
            return;
        }
        CWnd* picture = GetDlgItem(IDC_T_PICTURE);
        HDC dc = ::GetDC(picture->GetSafeHwnd());
        const unsigned char* bits = m_shown == kDecoy ? m_decoy.data() : m_bits.data();
        ::StretchDIBits(dc, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, bits, &m_info,
                        DIB_RGB_COLORS, SRCCOPY);
        ::ReleaseDC(picture->GetSafeHwnd(), dc);
        m_paintedAt = m_ticks;
    }

    afx_msg void OnTimer(UINT_PTR) {
        ++m_ticks;
        if (m_ticks == 4) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
        // A few ticks after each paint, so that GTK has drawn it.
        if (m_paintedAt > 0 && m_ticks == m_paintedAt + 6) {
            m_paintedAt = 0;
            if (m_shown != kDecoy && !ScreenShowsPicture()) {
                EndDialog(IDABORT);
            } else if (m_shown == kPictureAgain) {
                m_passed = true;
                EndDialog(IDOK);
            } else {
                m_shown = m_shown == kDecoy ? kPicture : kPictureAgain;
                Invalidate(FALSE);
            }
        } else if (m_ticks > 600) {
            std::printf("no click arrived\n");
            EndDialog(IDABORT);
        }
    }

    bool ScreenShowsPicture() {
        const std::string command = "xwd -root -silent -out '" + m_shot + "'";
        if (std::system(command.c_str()) != 0) {
            std::printf("xwd failed\n");
            return false;
        }
        XwdImage screen;
        std::string error;
        if (!ReadXwd(m_shot, &screen, &error)) {
            std::printf("%s\n", error.c_str());
            return false;
        }
        for (int y = 0; y + kHeight <= screen.height; ++y) {
            for (int x = 0; x + kWidth <= screen.width; ++x) {
                if (screen.At(x, y) == PatternAt(0, 0) && screen.At(x + 1, y) == PatternAt(1, 0) &&
                    Matches(screen, x, y)) {
                    std::printf("picture found at %d,%d\n", x, y);
                    return true;
                }
            }
        }
        std::printf("the picture is not on the screen\n");
        return false;
    }

    static bool Matches(const XwdImage& screen, int left, int top) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (screen.At(left + x, top + y) != PatternAt(x, y)) {
                    std::printf("near match at %d,%d differs at %d,%d\n", left, top, x, y);
                    return false;
                }
            }
        }
        return true;
    }

    std::string m_shot;
    BITMAPINFO m_info{};
    std::vector<unsigned char> m_bits;
    std::vector<unsigned char> m_decoy;  // the picture with every bit flipped
    enum Shown { kNothing, kDecoy, kPicture, kPictureAgain } m_shown = kNothing;
    int m_ticks = 0;
    int m_paintedAt = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CE2EDlg, CDialog)
ON_BN_CLICKED(IDC_T_START, OnStart)
ON_WM_PAINT()
ON_WM_TIMER()
END_MESSAGE_MAP()

class CE2EApp : public CWinApp {
  public:
    BOOL InitInstance() override {
        CE2EDlg dlg(m_shot);
        m_pMainWnd = &dlg;
        m_result = dlg.DoModal();
        m_passed = dlg.m_passed;
        m_pMainWnd = NULL;
        return FALSE;
    }
    int ExitInstance() override { return m_passed && m_result == IDOK ? 0 : 1; }
    const char* m_shot = "/tmp/tenebrix-e2e.xwd";
    INT_PTR m_result = 0;
    bool m_passed = false;
};

CE2EApp theApp;

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        theApp.m_shot = argv[1];
    }
    return AfxWinMain(argc, argv);
}
