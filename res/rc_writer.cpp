// The resource-script writer (see rc_writer.h).
#include "rc_writer.h"

#include <cstdio>
#include <vector>

#include "resource.h"
#include "resources.h"
#include "version_info.h"

namespace tenebrix_res {

namespace {

struct Named {
    long value;
    const char* name;
};

#define NAMED(x) \
    { static_cast<long>(x), #x }

// The symbolic names of the ids that the tables use.
const Named kIds[] = {
    NAMED(IDOK),          NAMED(IDCANCEL),       NAMED(IDC_STATIC),   NAMED(IDC_START),
    NAMED(IDC_STOP),      NAMED(IDC_BACKGROUND), NAMED(IDC_SNAPSHOT), NAMED(IDC_PICTURE),
    NAMED(IDC_STEALTH),   NAMED(IDD_MAIN),       NAMED(IDD_ABOUTBOX), NAMED(IDS_ABOUTBOX),
    NAMED(IDR_MAINFRAME),
};

// Style bits by name; the type values of buttons and statics are not bits
// and are written apart.
const Named kWindowStyles[] = {
    NAMED(WS_POPUP),   NAMED(WS_CHILD),   NAMED(WS_VISIBLE), NAMED(WS_DISABLED),
    NAMED(WS_CAPTION), NAMED(WS_SYSMENU), NAMED(WS_GROUP),   NAMED(WS_TABSTOP),
};
// Class styles share the low bits: DS_MODALFRAME and SS_NOPREFIX are both 0x80.
const Named kDialogStyles[] = {NAMED(DS_MODALFRAME), NAMED(DS_SETFONT), NAMED(DS_CENTER)};
const Named kStaticStyles[] = {NAMED(SS_NOPREFIX)};
const Named kButtonTypes[] = {NAMED(BS_PUSHBUTTON), NAMED(BS_DEFPUSHBUTTON)};
const Named kStaticTypes[] = {NAMED(SS_LEFT), NAMED(SS_CENTER),    NAMED(SS_RIGHT),
                              NAMED(SS_ICON), NAMED(SS_BLACKRECT), NAMED(SS_BLACKFRAME)};

#undef NAMED

std::string IdName(long id) {
    for (const Named& n : kIds) {
        if (n.value == id) {
            return n.name;
        }
    }
    return std::to_string(id);
}

std::string Hex(unsigned long v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%lx", v);
    return buffer;
}

// "A | B | 0x..." for the bits of style: the control type first, then the
// class's own bits, then the window bits.
std::string StyleNames(DWORD style, const Named* types, int typeCount, DWORD typeMask,
                       const Named* classBits, int classBitCount) {
    std::string out;
    auto add = [&out](const std::string& name) { out += (out.empty() ? "" : " | ") + name; };
    DWORD rest = style;
    if (types != nullptr) {
        const DWORD type = style & typeMask;
        for (int i = 0; i < typeCount; ++i) {
            if (static_cast<DWORD>(types[i].value) == type) {
                add(types[i].name);
                rest &= ~typeMask;
            }
        }
    }
    auto addBits = [&](const Named* names, int count) {
        for (int i = 0; i < count; ++i) {
            const DWORD bits = static_cast<DWORD>(names[i].value);
            if ((rest & bits) == bits) {
                add(names[i].name);
                rest &= ~bits;
            }
        }
    };
    addBits(classBits, classBitCount);
    addBits(kWindowStyles, static_cast<int>(sizeof kWindowStyles / sizeof kWindowStyles[0]));
    if (rest != 0 || out.empty()) {
        add(Hex(rest));
    }
    return out;
}

// A string literal of the script: quotes doubled, bytes unchanged (CP932).
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        out += *p == '"' ? std::string("\"\"") : std::string(1, *p);
    }
    return out + "\"";
}

void WriteControl(std::ostream& out, const win32res::ControlTemplate& c) {
    const bool button = c.windowClass == win32res::ControlClass::Button;
    // CONTROL adds WS_CHILD | WS_VISIBLE itself.
    const DWORD style = c.style & ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    const std::string text = c.iconId != 0 ? IdName(c.iconId) : Quoted(c.text);
    out << "    CONTROL " << text << ", " << IdName(c.id) << ", "
        << (button ? "\"Button\"" : "\"Static\"") << ", "
        << (button ? StyleNames(style, kButtonTypes, 2, BS_TYPEMASK, nullptr, 0)
                   : StyleNames(style, kStaticTypes, 6, SS_TYPEMASK, kStaticStyles, 1))
        << ", " << c.x << ", " << c.y << ", " << c.cx << ", " << c.cy;
    if (c.exStyle != 0) {
        out << ", " << Hex(c.exStyle);
    }
    out << "\r\n";
}

void WriteDialog(std::ostream& out, const win32res::DialogTemplate& d) {
    out << IdName(d.id) << (d.extended ? " DIALOGEX " : " DIALOG ") << d.x << ", " << d.y << ", "
        << d.cx << ", " << d.cy << "\r\n";
    out << "STYLE " << StyleNames(d.style, nullptr, 0, 0, kDialogStyles, 3) << "\r\n";
    if (d.exStyle != 0) {
        out << "EXSTYLE " << (d.exStyle == WS_EX_APPWINDOW ? "WS_EX_APPWINDOW" : Hex(d.exStyle))
            << "\r\n";
    }
    out << "CAPTION " << Quoted(d.caption) << "\r\n";
    out << "FONT " << d.pointSize << ", " << Quoted(d.typeface);
    if (d.extended) {
        out << ", " << d.weight << ", " << static_cast<int>(d.italic) << ", " << Hex(d.charset);
    }
    out << "\r\nBEGIN\r\n";
    for (int i = 0; i < d.controlCount; ++i) {
        WriteControl(out, d.controls[i]);
    }
    out << "END\r\n\r\n";
}

void WriteVersion(std::ostream& out) {
    const VersionInfo& v = kVersionInfo;
    char block[16];
    std::snprintf(block, sizeof block, "%04x%04x", v.language, v.codePage);
    out << "VS_VERSION_INFO VERSIONINFO\r\n"
        << " FILEVERSION " << v.fileVersion[0] << "," << v.fileVersion[1] << "," << v.fileVersion[2]
        << "," << v.fileVersion[3] << "\r\n"
        << " PRODUCTVERSION " << v.productVersion[0] << "," << v.productVersion[1] << ","
        << v.productVersion[2] << "," << v.productVersion[3] << "\r\n"
        << " FILEFLAGSMASK 0x3fL\r\n FILEFLAGS 0x0L\r\n FILEOS 0x4L\r\n FILETYPE 0x1L\r\n"
        << " FILESUBTYPE 0x0L\r\nBEGIN\r\n    BLOCK \"StringFileInfo\"\r\n    BEGIN\r\n"
        << "        BLOCK \"" << block << "\"\r\n        BEGIN\r\n";
    for (int i = 0; i < v.stringCount; ++i) {
        out << "            VALUE \"" << v.strings[i].key << "\", "
            << Quoted((std::string(v.strings[i].value) + "\\0").c_str()) << "\r\n";
    }
    out << "        END\r\n    END\r\n    BLOCK \"VarFileInfo\"\r\n    BEGIN\r\n"
        << "        VALUE \"Translation\", " << Hex(v.language) << ", " << v.codePage << "\r\n"
        << "    END\r\nEND\r\n";
}

void Put16(std::string* out, unsigned v) {
    out->push_back(static_cast<char>(v & 0xFF));
    out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string* out, unsigned long v) {
    Put16(out, v & 0xFFFF);
    Put16(out, (v >> 16) & 0xFFFF);
}

// One image: header (height doubled for the mask), palette, 4-bit colour
// rows and 1-bit mask rows, both bottom-up and padded to 4 bytes.
std::string IconImageBytes(const win32res::IconImage& image) {
    const int w = image.width;
    const int h = image.height;
    const int colourStride = (w * 4 + 31) / 32 * 4;
    const int maskStride = (w + 31) / 32 * 4;
    std::string out;
    Put32(&out, 40);
    Put32(&out, static_cast<unsigned long>(w));
    Put32(&out, static_cast<unsigned long>(h * 2));
    Put16(&out, 1);
    Put16(&out, 4);
    Put32(&out, 0);
    Put32(&out, static_cast<unsigned long>((colourStride + maskStride) * h));
    for (int i = 0; i < 4; ++i) {
        Put32(&out, 0);
    }
    for (DWORD rgb : win32res::kIconPalette) {
        out.push_back(static_cast<char>(rgb & 0xFF));
        out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
        out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(colourStride, 0);
        for (int x = 0; x < w; ++x) {
            const int index = win32res::IconPaletteIndex(image.rows[y][x]);
            row[x / 2] |=
                static_cast<unsigned char>((index < 0 ? 0 : index) << (x % 2 == 0 ? 4 : 0));
        }
        out.append(row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskStride, 0);
        for (int x = 0; x < w; ++x) {
            if (win32res::IconPaletteIndex(image.rows[y][x]) < 0) {
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
        out.append(row.begin(), row.end());
    }
    return out;
}

}  // namespace

void WriteResourceScript(std::ostream& out) {
    out << "// Tenebrix's resources, written by res/write_rc from the tables in res/.\r\n"
        << "// Do not edit: change the tables and write it again.\r\n"
        << "#include \"resource.h\"\r\n#include \"afxres.h\"\r\n#pragma code_page(932)\r\n"
        << "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\r\n\r\n";
    for (int i = 0; i < kIconCount; ++i) {
        out << IdName(kIcons[i].id) << " ICON \"Tenebrix.ico\"\r\n\r\n";
    }
    for (int i = 0; i < kDialogCount; ++i) {
        WriteDialog(out, kDialogs[i]);
    }
    out << "STRINGTABLE\r\nBEGIN\r\n";
    for (int i = 0; i < kStringCount; ++i) {
        out << "    " << IdName(kStrings[i].id) << " " << Quoted(kStrings[i].text) << "\r\n";
    }
    out << "END\r\n\r\n";
    WriteVersion(out);
}

std::string IconFileBytes() {
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    std::string out;
    if (icon == nullptr) {
        return out;
    }
    std::vector<std::string> images;
    for (int i = 0; i < icon->imageCount; ++i) {
        images.push_back(IconImageBytes(icon->images[i]));
    }
    Put16(&out, 0);
    Put16(&out, 1);  // icon
    Put16(&out, static_cast<unsigned>(images.size()));
    unsigned long offset = 6 + 16 * images.size();
    for (int i = 0; i < icon->imageCount; ++i) {
        const auto& image = icon->images[i];
        out.push_back(static_cast<char>(image.width == 256 ? 0 : image.width));
        out.push_back(static_cast<char>(image.height == 256 ? 0 : image.height));
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(&out, 1);  // planes
        Put16(&out, 4);  // bits a pixel
        Put32(&out, images[i].size());
        Put32(&out, offset);
        offset += images[i].size();
    }
    for (const std::string& image : images) {
        out += image;
    }
    return out;
}

}  // namespace tenebrix_res
