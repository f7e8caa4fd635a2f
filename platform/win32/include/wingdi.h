// Device-independent bitmap structures of <wingdi.h>, for Linux builds.
//
// Stands in for the BMP/DIB header types: BITMAPINFOHEADER, RGBQUAD,
// BITMAPINFO (with its one colour entry) and the packed 14-byte
// BITMAPFILEHEADER. Layouts, sizes and field offsets are those of Windows and
// of the BMP file format (little-endian hosts only); the static_asserts below
// hold them there. Drawing calls that use these types are declared by the
// window layer.
#pragma once

#include <cstddef>

#include "windef.h"

#define BI_RGB 0L

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO, *PBITMAPINFO;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER, *PBITMAPFILEHEADER;
#pragma pack(pop)

static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD is 4 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");
static_assert(sizeof(BITMAPINFO) == 44, "BITMAPINFO with one colour entry is 44 bytes");
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is packed to 14 bytes");
static_assert(offsetof(BITMAPINFOHEADER, biWidth) == 4 &&
                  offsetof(BITMAPINFOHEADER, biHeight) == 8 &&
                  offsetof(BITMAPINFOHEADER, biPlanes) == 12 &&
                  offsetof(BITMAPINFOHEADER, biBitCount) == 14 &&
                  offsetof(BITMAPINFOHEADER, biCompression) == 16 &&
                  offsetof(BITMAPINFOHEADER, biSizeImage) == 20 &&
                  offsetof(BITMAPINFOHEADER, biXPelsPerMeter) == 24 &&
                  offsetof(BITMAPINFOHEADER, biYPelsPerMeter) == 28 &&
                  offsetof(BITMAPINFOHEADER, biClrUsed) == 32 &&
                  offsetof(BITMAPINFOHEADER, biClrImportant) == 36,
              "BITMAPINFOHEADER field offsets");
static_assert(offsetof(BITMAPINFO, bmiColors) == 40, "colour entry follows the header");
static_assert(offsetof(BITMAPFILEHEADER, bfSize) == 2 &&
                  offsetof(BITMAPFILEHEADER, bfReserved1) == 6 &&
                  offsetof(BITMAPFILEHEADER, bfReserved2) == 8 &&
                  offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "BITMAPFILEHEADER field offsets");

// Drawing into device contexts of windows (implemented by the window layer).
#define DIB_RGB_COLORS 0
#define SRCCOPY ((DWORD)0x00CC0020)

// Copies a rectangle of a DIB into the DC. Only the 1:1 case (source and
// destination of the same size), 24-bit uncompressed pixels, DIB_RGB_COLORS and
// SRCCOPY are supported; bottom-up images count ySrc from the bottom row, as
// on Windows. Returns the number of rows copied, or 0 on failure.
int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc,
                         int ySrc, int SrcWidth, int SrcHeight, const VOID* lpBits,
                         const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop);
