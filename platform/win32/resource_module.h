// The program's resources, as the window layer finds them by id.
//
// Stands in for the resource section of a Windows executable (dialog
// templates, the string table and icons), which Windows finds with
// FindResource/LoadResource. On Linux the program links one resource module:
// plain C++ tables that register themselves with RegisterResourceModule before
// main runs. Texts are code page 932 bytes, as the ANSI calls pass them on.
//
// Limits: dialog templates hold only push buttons and static controls; icons
// are 16-colour images given as rows of palette digits.
#pragma once

#include "windef.h"

namespace win32res {

// The two predefined window classes that templates use.
enum class ControlClass { Button, Static };

struct ControlTemplate {
    ControlClass windowClass;
    const char* text;  // label, code page 932; nullptr for none
    WORD iconId;       // resource id of the icon an SS_ICON static shows, else 0
    int id;            // control id; -1 (IDC_STATIC) for none
    DWORD style;       // WS_CHILD, WS_VISIBLE ... and the class's own style bits
    DWORD exStyle;
    short x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
    WORD id;
    bool extended;  // written as DIALOGEX by a Windows resource build
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;   // dialog units; the size is that of the client area
    const char* caption;  // code page 932
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charset;
    const char* typeface;  // code page 932
    const ControlTemplate* controls;
    int controlCount;
};

struct StringResource {
    WORD id;
    const char* text;  // code page 932
};

// One image of an icon: height rows of width characters each, row 0 at the
// top. '0'..'9', 'A'..'F' index the 16-colour palette; '.' is transparent.
struct IconImage {
    int width;
    int height;
    const char* const* rows;
};

struct IconResource {
    WORD id;
    const IconImage* images;
    int imageCount;
};

struct ResourceModule {
    const DialogTemplate* dialogs;
    int dialogCount;
    const StringResource* strings;
    int stringCount;
    const IconResource* icons;
    int iconCount;
};

// The standard 16-colour palette of icons, as 0x00RRGGBB.
extern const DWORD kIconPalette[16];

// The palette index of one character of an icon row; -1 for transparent.
inline int IconPaletteIndex(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Makes the module's resources findable by id. Later modules are searched
// first. Returns true, so that a module can register from a static initialiser.
bool RegisterResourceModule(const ResourceModule* module);

const DialogTemplate* FindDialogTemplate(WORD id);
const StringResource* FindString(WORD id);
const IconResource* FindIcon(WORD id);

}  // namespace win32res
