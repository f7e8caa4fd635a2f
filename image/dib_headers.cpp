// Header arithmetic shared by every image and BMP file: the 24-bit stride and
// the info and file headers that the system makes.
#include "image/dib_image.h"

#include <climits>
#include <cstring>

long long DibStride64(long long width) {
    // width * 3 brought up to a multiple of 4; width % 4 truncates like C does.
    return width * 3 + width % 4;
}

long long DibPixelBytes(long long width, long long height) {
    const long long stride = DibStride64(width);
    // Compared before multiplying: the stride of an int width times an int
    // height can exceed even 64 bits.
    if (width <= 0 || height <= 0 || stride > INT_MAX / height) {
        return -1;
    }
    return stride * height;
}

void MakeInfoHeader(int width, int height, WORD bitCount, BITMAPINFOHEADER* out) {
    out->biSize = sizeof(BITMAPINFOHEADER);
    out->biWidth = width;
    out->biHeight = height;
    out->biPlanes = 1;
    out->biBitCount = bitCount;
    out->biCompression = BI_RGB;
    // Sizes that do not fit wrap here (unsigned arithmetic) and are refused by
    // SetHeader.
    out->biSizeImage = static_cast<DWORD>(static_cast<unsigned long long>(height) *
                                          static_cast<unsigned long long>(DibStride64(width)));
    out->biXPelsPerMeter = 0;
    out->biYPelsPerMeter = 0;
    out->biClrUsed = 0;
    out->biClrImportant = 0;
}

void MakeBitmapInfo24(int width, int height, BITMAPINFO* out) {
    MakeInfoHeader(width, height, 24, &out->bmiHeader);
    std::memset(&out->bmiColors[0], 0, sizeof(RGBQUAD));
}

void MakeFileHeader(BITMAPINFOHEADER info, BITMAPFILEHEADER* out) {
    out->bfType = 0x4D42;  // "BM"
    out->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    if (info.biBitCount <= 8) {
        out->bfOffBits += 4u << info.biBitCount;  // room for a full colour table
    }
    out->bfSize = out->bfOffBits + info.biSizeImage;
    out->bfReserved1 = 0;
    out->bfReserved2 = 0;
}
