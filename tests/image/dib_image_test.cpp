#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

BITMAPINFO HeaderOf(int width, int height, DWORD sizeImage, WORD bitCount = 24) {
    BITMAPINFO info;
    MakeBitmapInfo24(width, height, &info);
    info.bmiHeader.biSizeImage = sizeImage;
    info.bmiHeader.biBitCount = bitCount;
    return info;
}

void FillPattern(CDibImage* image, unsigned seed) {
    for (int i = 0; i < image->ImageSize(); ++i) {
        image->Bits()[i] = static_cast<BYTE>(i * 31 + seed);
    }
}

std::vector<BYTE> PixelsOf(const CDibImage& image) {
    return std::vector<BYTE>(image.Bits(), image.Bits() + image.ImageSize());
}

}  // namespace

TEST(DibStride, RoundsThreeBytesAPixelUpToFour) {
    EXPECT_EQ(DibStride(1), 4);
    EXPECT_EQ(DibStride(5), 16);
    EXPECT_EQ(DibStride(320), 960);
    EXPECT_EQ(DibStride(321), 964);
    EXPECT_EQ(DibStride(322), 968);
    EXPECT_EQ(DibStride(323), 972);
}

TEST(DibImage, Create320x240GivesTheCanonicalHeaderAndRows) {
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    const BITMAPINFOHEADER& h = image.Info()->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 320);
    EXPECT_EQ(h.biHeight, 240);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 230400u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    const RGBQUAD zero = {0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&image.Info()->bmiColors[0], &zero, 4), 0);
    EXPECT_EQ(image.Row(0), image.Bits() + 239 * 960);
    EXPECT_EQ(image.Row(239), image.Bits());
    EXPECT_EQ(image.Row(100), image.Bits() + 139 * 960);
    EXPECT_TRUE(image.HasPixels());
}

TEST(DibImage, SmallSizesTakeWholeStrides) {
    CDibImage image;
    ASSERT_EQ(image.Create(5, 2), 0);
    EXPECT_EQ(image.ImageSize(), 32);
    EXPECT_EQ(image.Row(0), image.Bits() + 16);
    EXPECT_EQ(image.Row(1), image.Bits());

    ASSERT_EQ(image.Create(1, 1), 0);
    EXPECT_EQ(image.ImageSize(), 4);
    EXPECT_EQ(image.Row(0), image.Bits());
}

TEST(DibImage, NewBuffersAreCleared) {
    CDibImage image;
    ASSERT_EQ(image.Create(7, 3), 0);
    EXPECT_EQ(PixelsOf(image), std::vector<BYTE>(image.ImageSize(), 0));
}

TEST(DibImage, CreateWithTheSameSizeKeepsBufferAndPixels) {
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    FillPattern(&image, 7);
    const std::vector<BYTE> before = PixelsOf(image);
    BYTE* bits = image.Bits();

    ASSERT_EQ(image.Create(320, 240), 0);
    EXPECT_EQ(image.Bits(), bits);
    EXPECT_EQ(PixelsOf(image), before);
}

TEST(DibImage, ExchangedWidthAndHeightKeepTheBufferAndRebuildRows) {
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    FillPattern(&image, 3);
    const std::vector<BYTE> before = PixelsOf(image);
    BYTE* bits = image.Bits();

    ASSERT_EQ(image.Create(240, 320), 0);
    EXPECT_EQ(image.Bits(), bits);
    EXPECT_EQ(PixelsOf(image), before);
    EXPECT_EQ(image.Row(0), bits + 319 * 720);
    EXPECT_EQ(image.Row(319), bits);

    ASSERT_EQ(image.Create(320, 240), 0);
    EXPECT_EQ(image.Bits(), bits);
    EXPECT_EQ(image.Row(0), bits + 239 * 960);
}

TEST(DibImage, ANewImageSizeReallocatesAndEveryRowFollows) {
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);

    ASSERT_EQ(image.SetHeader(HeaderOf(320, 240, 230400 + 960)), 0);
    EXPECT_EQ(image.ImageSize(), 231360);
    for (int y = 0; y < 240; ++y) {
        ASSERT_EQ(image.Row(y), image.Bits() + (239 - y) * 960);
    }
}

TEST(DibImage, OtherFieldsChangeOnlyTheHeader) {
    CDibImage image;
    ASSERT_EQ(image.Create(4, 4), 0);
    FillPattern(&image, 1);
    BYTE* bits = image.Bits();
    BITMAPINFO info = *image.Info();
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biXPelsPerMeter = 2835;
    info.bmiColors[0].rgbRed = 9;

    ASSERT_EQ(image.SetHeader(info), 0);
    EXPECT_EQ(image.Bits(), bits);
    EXPECT_EQ(std::memcmp(image.Info(), &info, sizeof(info)), 0);
}

TEST(DibImage, InconsistentHeadersAreKeptWithoutPixels) {
    struct Case {
        const char* what;
        BITMAPINFO info;
    };
    const Case cases[] = {
        {"size 0", HeaderOf(0, 0, 0)},
        {"zero width", HeaderOf(0, 10, 40)},
        {"negative height", HeaderOf(10, -10, 320)},
        {"size below height x stride", HeaderOf(320, 240, 230399)},
        {"size 0 with dimensions", HeaderOf(320, 240, 0)},
        {"rows beyond 32 bits", HeaderOf(100000, 100000, 4000000000u)},
        {"size beyond a signed 32-bit count", HeaderOf(4, 4, 0x90000000u)},
        {"rows beyond 64 bits", HeaderOf(INT_MAX, INT_MAX, 100)},
    };
    for (const Case& c : cases) {
        CDibImage image;
        ASSERT_EQ(image.Create(8, 8), 0);
        EXPECT_EQ(image.SetHeader(c.info), -1) << c.what;
        EXPECT_EQ(image.Bits(), nullptr) << c.what;
        EXPECT_FALSE(image.HasPixels()) << c.what;
        EXPECT_EQ(std::memcmp(image.Info(), &c.info, sizeof(c.info)), 0) << c.what;
    }
}

TEST(DibImage, CreateRefusesSizesBeyondASigned32BitCount) {
    CDibImage image;
    EXPECT_EQ(image.Create(INT_MAX, INT_MAX), -1);
    EXPECT_EQ(image.Bits(), nullptr);
    EXPECT_EQ(image.Width(), INT_MAX);
    // height * stride = 0xBFFF'FFFE'8000'0000 bytes: the header keeps the low 32 bits.
    EXPECT_EQ(image.Info()->bmiHeader.biSizeImage, 0x80000000u);
    EXPECT_EQ(image.Create(INT_MIN, INT_MIN), -1);
    EXPECT_EQ(image.Create(30000, 30000), -1);  // 2.7e9 bytes
    EXPECT_EQ(image.Bits(), nullptr);
    EXPECT_EQ(image.Create(3, 2), 0);
    EXPECT_EQ(image.ImageSize(), 24);
}

TEST(DibImage, ALargerThanNeededImageSizeIsTaken) {
    CDibImage image;
    ASSERT_EQ(image.SetHeader(HeaderOf(5, 2, 40)), 0);
    EXPECT_EQ(image.ImageSize(), 40);
    EXPECT_EQ(image.Row(0), image.Bits() + 16);
}

TEST(DibImage, CopyFromItselfChangesNothing) {
    CDibImage image;
    ASSERT_EQ(image.Create(6, 5), 0);
    FillPattern(&image, 11);
    const std::vector<BYTE> before = PixelsOf(image);
    BYTE* bits = image.Bits();

    image.CopyFrom(image);
    EXPECT_EQ(image.Bits(), bits);
    EXPECT_EQ(PixelsOf(image), before);
}

TEST(DibImage, CopiesHaveBlocksOfTheirOwn) {
    CDibImage source;
    ASSERT_EQ(source.Create(6, 5), 0);
    FillPattern(&source, 5);

    CDibImage copy(source);
    EXPECT_NE(copy.Bits(), source.Bits());
    EXPECT_EQ(std::memcmp(copy.Info(), source.Info(), sizeof(BITMAPINFO)), 0);
    EXPECT_EQ(PixelsOf(copy), PixelsOf(source));
    copy.Bits()[0] ^= 0xFF;
    EXPECT_NE(copy.Bits()[0], source.Bits()[0]);

    CDibImage assigned;
    ASSERT_EQ(assigned.Create(6, 5), 0);
    BYTE* bits = assigned.Bits();
    assigned.CopyFrom(source);
    EXPECT_EQ(assigned.Bits(), bits);  // same format: no allocation
    EXPECT_EQ(PixelsOf(assigned), PixelsOf(source));
}

TEST(DibImage, CopyFromAnEmptyImageEmptiesThePixels) {
    CDibImage empty;
    CDibImage image;
    ASSERT_EQ(image.Create(3, 3), 0);
    image.CopyFrom(empty);
    EXPECT_EQ(image.Bits(), nullptr);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_FALSE(image.HasPixels());
}

TEST(DibImage, HeaderConstructorTakesTheFormatButNotThePixels) {
    CDibImage source;
    ASSERT_EQ(source.Create(6, 5), 0);
    FillPattern(&source, 9);
    const std::vector<BYTE> before = PixelsOf(source);

    CDibImage shaped(source.Info());
    EXPECT_EQ(std::memcmp(shaped.Info(), source.Info(), sizeof(BITMAPINFO)), 0);
    ASSERT_NE(shaped.Bits(), nullptr);
    EXPECT_NE(shaped.Bits(), source.Bits());
    EXPECT_EQ(PixelsOf(shaped), std::vector<BYTE>(before.size(), 0));
    EXPECT_EQ(PixelsOf(source), before);

    CDibImage empty(nullptr);
    EXPECT_EQ(empty.Bits(), nullptr);
    EXPECT_EQ(empty.ImageSize(), 0);
}

TEST(DibImage, SetHeaderFromAnImageUsesOnlyItsHeader) {
    CDibImage source;
    ASSERT_EQ(source.Create(4, 3), 0);
    FillPattern(&source, 2);
    CDibImage image;
    ASSERT_EQ(image.SetHeader(source), 0);
    EXPECT_EQ(std::memcmp(image.Info(), source.Info(), sizeof(BITMAPINFO)), 0);
    EXPECT_EQ(PixelsOf(image), std::vector<BYTE>(image.ImageSize(), 0));
}

TEST(DibImage, ResetGivesTheEmptyImage) {
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    image.Reset();
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.ImageSize(), 0);
    EXPECT_EQ(image.Bits(), nullptr);
    const std::vector<BYTE> zero(sizeof(BITMAPINFO), 0);
    EXPECT_EQ(std::memcmp(image.Info(), zero.data(), zero.size()), 0);
}

TEST(DibHeaders, MakeInfoHeaderUsesThe24BitStrideForEveryBitCount) {
    BITMAPINFOHEADER h;
    MakeInfoHeader(5, 2, 8, &h);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biSizeImage, 32u);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biSize, 40u);
}

TEST(DibHeaders, FileHeaderLeavesRoomForColourTablesOfSmallBitCounts) {
    // The file header is packed: its fields are read as values (+f.x), not bound by reference.
    BITMAPINFOHEADER h;
    BITMAPFILEHEADER f;
    MakeInfoHeader(320, 240, 24, &h);
    MakeFileHeader(h, &f);
    EXPECT_EQ(+f.bfType, 0x4D42);
    EXPECT_EQ(+f.bfOffBits, 54u);
    EXPECT_EQ(+f.bfSize, 230454u);
    EXPECT_EQ(+f.bfReserved1, 0);
    EXPECT_EQ(+f.bfReserved2, 0);

    h.biBitCount = 8;
    MakeFileHeader(h, &f);
    EXPECT_EQ(+f.bfOffBits, 54u + 1024u);
    h.biBitCount = 1;
    MakeFileHeader(h, &f);
    EXPECT_EQ(+f.bfOffBits, 62u);
}
