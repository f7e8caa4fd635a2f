// The Windows resource script and icon file written from the tables.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "res/rc_writer.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

std::string Script() {
    std::ostringstream out;
    tenebrix_res::WriteResourceScript(out);
    return out.str();
}

bool HasLine(const std::string& script, const std::string& line) {
    return script.find(line + "\r\n") != std::string::npos;
}

TEST(RcWriter, ScriptHoldsBothDialogsAsTheTablesGiveThem) {
    const std::string s = Script();
    EXPECT_TRUE(HasLine(s, "#pragma code_page(932)"));
    EXPECT_TRUE(HasLine(s, "IDD_MAIN DIALOGEX 0, 0, 183, 197"));
    EXPECT_TRUE(HasLine(
        s, "STYLE DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU"));
    EXPECT_TRUE(HasLine(s, "EXSTYLE WS_EX_APPWINDOW"));
    EXPECT_TRUE(HasLine(s,
                        "FONT 9, \"\x82l\x82r \x82o\x83S\x83V\x83"
                        "b\x83N\", 0, 0, 0x1"));
    EXPECT_TRUE(HasLine(s,
                        "    CONTROL \"The End\", IDCANCEL, \"Button\", BS_PUSHBUTTON | "
                        "WS_TABSTOP, 149, 162, 31, 33"));
    EXPECT_TRUE(
        HasLine(s, "    CONTROL \"\", IDC_PICTURE, \"Static\", SS_BLACKFRAME, 0, 0, 183, 160"));
    EXPECT_TRUE(HasLine(s, "IDD_ABOUTBOX DIALOG 0, 0, 235, 55"));
    EXPECT_TRUE(
        HasLine(s, "CAPTION \"Tenebrix\x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1\""));
    EXPECT_TRUE(
        HasLine(s, "    CONTROL IDR_MAINFRAME, IDC_STATIC, \"Static\", SS_ICON, 11, 17, 20, 20"));
    EXPECT_TRUE(
        HasLine(s,
                "    CONTROL \"Tenebrix Version 1.0.0.1\", IDC_STATIC, \"Static\", SS_LEFT | "
                "SS_NOPREFIX | WS_GROUP, 40, 10, 119, 8"));
    EXPECT_TRUE(HasLine(s,
                        "    CONTROL \"OK\", IDOK, \"Button\", BS_DEFPUSHBUTTON | WS_GROUP | "
                        "WS_TABSTOP, 178, 7, 50, 14"));
    // Template order is kept: "The End" before "Start".
    EXPECT_LT(s.find("\"The End\""), s.find("\"Start\""));
}

TEST(RcWriter, ScriptHoldsStringsIconAndVersion) {
    const std::string s = Script();
    EXPECT_TRUE(HasLine(s, "IDR_MAINFRAME ICON \"Tenebrix.ico\""));
    EXPECT_TRUE(HasLine(s,
                        "    IDS_ABOUTBOX \"Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee"
                        "\x95\xf1(&A)...\""));
    EXPECT_TRUE(HasLine(s, " FILEVERSION 1,0,0,1"));
    EXPECT_TRUE(HasLine(s, " PRODUCTVERSION 1,0,0,1"));
    EXPECT_TRUE(HasLine(s, "        BLOCK \"041104b0\""));
    EXPECT_TRUE(HasLine(s, "            VALUE \"OriginalFilename\", \"Tenebrix.EXE\\0\""));
    EXPECT_TRUE(HasLine(s, "            VALUE \"CompanyName\", \"\\0\""));
    EXPECT_TRUE(HasLine(s, "        VALUE \"Translation\", 0x411, 1200"));
}

unsigned Le16(const std::string& b, std::size_t i) {
    return static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
}

unsigned long Le32(const std::string& b, std::size_t i) {
    return Le16(b, i) | (static_cast<unsigned long>(Le16(b, i + 2)) << 16);
}

TEST(RcWriter, IconFileHasBothImagesWithMasks) {
    const std::string ico = tenebrix_res::IconFileBytes();
    // 32 x 32: 40 + 64 + 32 * 16 + 32 * 4 = 744 bytes; 16 x 16: 40 + 64 + 16 * 8 + 16 * 4 = 296.
    ASSERT_EQ(ico.size(), 6u + 2 * 16 + 744 + 296);
    EXPECT_EQ(Le16(ico, 0), 0u);
    EXPECT_EQ(Le16(ico, 2), 1u);
    EXPECT_EQ(Le16(ico, 4), 2u);
    EXPECT_EQ(static_cast<unsigned char>(ico[6]), 32);
    EXPECT_EQ(static_cast<unsigned char>(ico[8]), 16);  // colours
    EXPECT_EQ(Le16(ico, 12), 4u);                       // bits a pixel
    EXPECT_EQ(Le32(ico, 14), 744u);
    EXPECT_EQ(Le32(ico, 18), 38u);
    EXPECT_EQ(static_cast<unsigned char>(ico[22]), 16);
    EXPECT_EQ(Le32(ico, 30), 296u);
    EXPECT_EQ(Le32(ico, 34), 38u + 744);

    const std::size_t image = 38;
    EXPECT_EQ(Le32(ico, image), 40u);
    EXPECT_EQ(Le32(ico, image + 8), 64u) << "height counts colour rows and mask rows";
    // Palette entry 9 is red (blue, green, red, 0).
    EXPECT_EQ(Le32(ico, image + 40 + 9 * 4), 0x00FF0000u);

    // Row 16 from the top is row 15 from the bottom.
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    const std::string row = icon->images[0].rows[16];
    const std::size_t colours = image + 40 + 64 + 15 * 16;
    const std::size_t mask = image + 40 + 64 + 32 * 16 + 15 * 4;
    for (int x = 0; x < 32; ++x) {
        const unsigned nibble =
            (static_cast<unsigned char>(ico[colours + x / 2]) >> (x % 2 == 0 ? 4 : 0)) & 0xF;
        const bool transparent = (static_cast<unsigned char>(ico[mask + x / 8]) >> (7 - x % 8)) & 1;
        EXPECT_EQ(transparent, row[x] == '.') << x;
        if (row[x] != '.') {
            EXPECT_EQ(nibble,
                      static_cast<unsigned>(row[x] <= '9' ? row[x] - '0' : row[x] - 'A' + 10))
                << x;
        }
    }
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The Windows build compiles the files kept in res/windows; they must be what
// the tables give today (rewrite them with the target resource_script).
TEST(RcWriter, KeptWindowsFilesAgreeWithTheTables) {
    EXPECT_EQ(FileBytes(TENEBRIX_WINDOWS_RES_DIR "/Tenebrix.rc"), Script());
    EXPECT_EQ(FileBytes(TENEBRIX_WINDOWS_RES_DIR "/Tenebrix.ico"), tenebrix_res::IconFileBytes());
}

}  // namespace
