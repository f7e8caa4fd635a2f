#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/dib_image.h"
#include "tests/image/temp_dir.h"

namespace {

using Bytes = std::vector<unsigned char>;

void PutLe(Bytes* out, size_t at, unsigned long long value, int size) {
    for (int i = 0; i < size; ++i) {
        (*out)[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// The colour of picture pixel (x, y), y from the top: distinct in every byte so
// that flips, red/blue swaps and row padding all show.
void ColourAt(int x, int y, BYTE* bgr) {
    bgr[0] = static_cast<BYTE>(10 + x);       // blue
    bgr[1] = static_cast<BYTE>(100 + y);      // green
    bgr[2] = static_cast<BYTE>(200 + x + y);  // red
}

struct BmpFileOptions {
    int width = 6;
    int height = 5;
    bool topDown = false;
    DWORD infoSize = 40;
    DWORD extraGap = 0;  // bytes between the headers and the pixels
    DWORD sizeImageField = 0;
    WORD bitCount = 24;
    DWORD compression = 0;
    char signature[2] = {'B', 'M'};
};

// A BMP file built byte by byte, independently of the code under test.
Bytes MakeBmpFile(const BmpFileOptions& o) {
    const int stride = (o.width * 3 + 3) / 4 * 4;
    const DWORD offBits = 14 + o.infoSize + o.extraGap;
    Bytes out(offBits + static_cast<size_t>(stride) * o.height, 0);
    out[0] = o.signature[0];
    out[1] = o.signature[1];
    PutLe(&out, 2, out.size(), 4);
    PutLe(&out, 10, offBits, 4);
    PutLe(&out, 14, o.infoSize, 4);
    PutLe(&out, 18, static_cast<DWORD>(o.width), 4);
    PutLe(&out, 22, static_cast<DWORD>(o.topDown ? -o.height : o.height), 4);
    PutLe(&out, 26, 1, 2);
    PutLe(&out, 28, o.bitCount, 2);
    PutLe(&out, 30, o.compression, 4);
    PutLe(&out, 34, o.sizeImageField, 4);
    PutLe(&out, 38, 2835, 4);
    PutLe(&out, 42, 2835, 4);
    for (DWORD i = 0; i < o.extraGap; ++i) {
        out[14 + o.infoSize + i] = 0xEE;
    }
    for (int y = 0; y < o.height; ++y) {
        const int fileRow = o.topDown ? y : o.height - 1 - y;
        for (int x = 0; x < o.width; ++x) {
            ColourAt(x, y, &out[offBits + static_cast<size_t>(fileRow) * stride + x * 3]);
        }
    }
    return out;
}

void ExpectPicture(const CDibImage& image, int width, int height) {
    ASSERT_EQ(image.Width(), width);
    ASSERT_EQ(image.Height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE expected[3];
            ColourAt(x, y, expected);
            ASSERT_EQ(std::memcmp(image.Row(y) + x * 3, expected, 3), 0)
                << "pixel " << x << "," << y;
        }
    }
}

void FillPicture(CDibImage* image) {
    for (int y = 0; y < image->Height(); ++y) {
        for (int x = 0; x < image->Width(); ++x) {
            ColourAt(x, y, image->Row(y) + x * 3);
        }
    }
}

}  // namespace

TEST(BmpSave, A320x240ImageIsExactly230454Bytes) {
    TempDir dir;
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    FillPicture(&image);
    ASSERT_EQ(image.Save("shot.bmp"), 0);

    const Bytes file = ReadFileBytes("shot.bmp");
    ASSERT_EQ(file.size(), 230454u);
    const Bytes header(file.begin(), file.begin() + 14);
    const Bytes expectedHeader = {'B', 'M', 0x36, 0x84, 0x03, 0x00, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(header, expectedHeader);
    EXPECT_EQ(std::memcmp(&file[14], &image.Info()->bmiHeader, 40), 0);
    EXPECT_EQ(std::memcmp(&file[54], image.Bits(), 230400), 0);
}

TEST(BmpSave, A5x2ImageIs86BytesWithPaddedRows) {
    TempDir dir;
    CDibImage image;
    ASSERT_EQ(image.Create(5, 2), 0);
    FillPicture(&image);
    ASSERT_EQ(image.Save("small.bmp"), 0);

    BmpFileOptions o;
    o.width = 5;
    o.height = 2;
    o.sizeImageField = 32;
    Bytes expected = MakeBmpFile(o);
    PutLe(&expected, 38, 0, 4);  // Create leaves the resolution at 0
    PutLe(&expected, 42, 0, 4);
    EXPECT_EQ(ReadFileBytes("small.bmp"), expected);
    EXPECT_EQ(expected.size(), 86u);
}

TEST(BmpSave, ImagesWithoutPixelsOrWithPaletteDepthsAreRefused) {
    TempDir dir;
    CDibImage empty;
    EXPECT_EQ(empty.Save("empty.bmp"), -1);
    EXPECT_FALSE(FileExists("empty.bmp"));

    CDibImage paletted;
    BITMAPINFO info;
    MakeBitmapInfo24(8, 8, &info);
    info.bmiHeader.biBitCount = 8;
    ASSERT_EQ(paletted.SetHeader(info), 0);
    EXPECT_EQ(paletted.Save("paletted.bmp"), -1);
    EXPECT_FALSE(FileExists("paletted.bmp"));
}

TEST(BmpSave, AFileThatCannotBeWrittenWholeLeavesTheOldOneAndSaysWhy) {
    TempDir dir;
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    errno = 0;
    EXPECT_EQ(image.Save("no-such-folder/shot.bmp"), -1);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_EQ(image.SaveFormat("%0256d", 1), -1);
    EXPECT_EQ(errno, ENAMETOOLONG);

    // A file-size limit makes the pixel write fail half way.
    WriteFileBytes("partial.bmp", {'o', 'l', 'd'});
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 10000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    errno = 0;
    const int result = image.Save("partial.bmp");
    const int error = errno;
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(ReadFileBytes("partial.bmp"), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(BmpSave, ALinkAtTheNameIsReplacedNeverFollowed) {
    TempDir dir;
    WriteFileBytes("victim", {'k', 'e', 'e', 'p'});
    std::filesystem::create_symlink("victim", "shot.bmp");
    std::filesystem::create_symlink("nowhere", "dangling.bmp");
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    ASSERT_EQ(image.Save("shot.bmp"), 0);
    ASSERT_EQ(image.Save("dangling.bmp"), 0);

    EXPECT_EQ(ReadFileBytes("victim"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(FileExists("nowhere"));
    for (const char* name : {"shot.bmp", "dangling.bmp"}) {
        EXPECT_FALSE(std::filesystem::is_symlink(name)) << name;
        EXPECT_EQ(ReadFileBytes(name).size(), 230454u) << name;
    }
    // Nothing else is left in the folder: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(BmpLoad, WhatSaveWroteComesBackUnchanged) {
    TempDir dir;
    CDibImage image;
    ASSERT_EQ(image.Create(7, 3), 0);
    FillPicture(&image);
    ASSERT_EQ(image.Save("round.bmp"), 0);

    CDibImage loaded;
    ASSERT_EQ(loaded.Load("round.bmp"), 0);
    EXPECT_EQ(std::memcmp(&loaded.Info()->bmiHeader, &image.Info()->bmiHeader, 40), 0);
    ASSERT_EQ(loaded.ImageSize(), image.ImageSize());
    EXPECT_EQ(std::memcmp(loaded.Bits(), image.Bits(), image.ImageSize()), 0);
}

TEST(BmpLoad, IntoAnImageOfTheSameFormatKeepsItsBuffer) {
    TempDir dir;
    WriteFileBytes("a.bmp", MakeBmpFile(BmpFileOptions()));
    CDibImage image;
    ASSERT_EQ(image.Create(6, 5), 0);
    BYTE* bits = image.Bits();
    ASSERT_EQ(image.Load("a.bmp"), 0);
    EXPECT_EQ(image.Bits(), bits);
    ExpectPicture(image, 6, 5);
}

TEST(BmpLoad, ReadsEveryRowWhateverTheSizeFieldSays) {
    TempDir dir;
    BmpFileOptions o;
    o.sizeImageField = 0;
    WriteFileBytes("a.bmp", MakeBmpFile(o));
    CDibImage image;
    ASSERT_EQ(image.Load("a.bmp"), 0);
    EXPECT_EQ(image.ImageSize(), 5 * 20);
    EXPECT_EQ(image.Info()->bmiHeader.biXPelsPerMeter, 2835);
    ExpectPicture(image, 6, 5);
}

TEST(BmpLoad, TakesThePixelsFromTheirOffset) {
    TempDir dir;
    BmpFileOptions o;
    o.extraGap = 6;
    WriteFileBytes("a.bmp", MakeBmpFile(o));
    CDibImage image;
    ASSERT_EQ(image.Load("a.bmp"), 0);
    ExpectPicture(image, 6, 5);
}

TEST(BmpLoad, TopDownFilesBecomeBottomUpImages) {
    TempDir dir;
    BmpFileOptions o;
    o.topDown = true;
    WriteFileBytes("a.bmp", MakeBmpFile(o));
    CDibImage image;
    ASSERT_EQ(image.Load("a.bmp"), 0);
    EXPECT_EQ(image.Info()->bmiHeader.biHeight, 5);
    EXPECT_EQ(image.Info()->bmiHeader.biSizeImage, 100u);
    ExpectPicture(image, 6, 5);
}

TEST(BmpLoad, LargerInfoHeadersAreReadAsTheCanonicalOne) {
    TempDir dir;
    for (DWORD infoSize : {108u, 124u}) {
        BmpFileOptions o;
        o.infoSize = infoSize;
        o.width = 3;
        o.height = 4;
        WriteFileBytes("a.bmp", MakeBmpFile(o));
        CDibImage image;
        ASSERT_EQ(image.Load("a.bmp"), 0) << infoSize;
        EXPECT_EQ(image.Info()->bmiHeader.biSize, 40u);
        ExpectPicture(image, 3, 4);
    }
}

TEST(BmpLoad, RefusedFilesLeaveTheImageUntouched) {
    TempDir dir;
    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases;
    cases.push_back({"missing", {}});
    Bytes truncated = MakeBmpFile(BmpFileOptions());
    truncated.pop_back();
    cases.push_back({"truncated pixels", truncated});
    cases.push_back({"shorter than its headers", Bytes(truncated.begin(), truncated.begin() + 40)});
    BmpFileOptions o;
    o.signature[0] = 'M';
    o.signature[1] = 'B';
    cases.push_back({"wrong signature", MakeBmpFile(o)});
    o = BmpFileOptions();
    o.bitCount = 8;
    cases.push_back({"8-bit", MakeBmpFile(o)});
    o = BmpFileOptions();
    o.compression = 1;
    cases.push_back({"compressed", MakeBmpFile(o)});
    o = BmpFileOptions();
    o.width = 0;
    cases.push_back({"zero width", MakeBmpFile(o)});
    o = BmpFileOptions();
    o.height = 0;
    cases.push_back({"zero height", MakeBmpFile(o)});
    o = BmpFileOptions();
    o.infoSize = 12;
    cases.push_back({"core header", MakeBmpFile(o)});
    Bytes huge = MakeBmpFile(BmpFileOptions());
    PutLe(&huge, 18, 30000, 4);
    PutLe(&huge, 22, 30000, 4);
    cases.push_back({"dimensions the file cannot fill", huge});
    PutLe(&huge, 18, 0x7FFFFFFF, 4);
    PutLe(&huge, 22, 0x7FFFFFFF, 4);
    cases.push_back({"dimensions at the limit of int", huge});
    PutLe(&huge, 22, 0x80000000u, 4);  // the tallest top-down picture
    cases.push_back({"top-down at the limit of int", huge});

    for (const Case& c : cases) {
        if (!c.file.empty()) {
            WriteFileBytes("bad.bmp", c.file);
        }
        CDibImage image;
        ASSERT_EQ(image.Create(2, 2), 0);
        image.Bits()[0] = 0x5A;
        BYTE* bits = image.Bits();
        const BITMAPINFO before = *image.Info();

        EXPECT_EQ(image.Load(c.file.empty() ? "missing.bmp" : "bad.bmp"), -1) << c.what;
        EXPECT_EQ(image.Bits(), bits) << c.what;
        EXPECT_EQ(image.Bits()[0], 0x5A) << c.what;
        EXPECT_EQ(std::memcmp(image.Info(), &before, sizeof(before)), 0) << c.what;
        std::filesystem::remove("bad.bmp");
    }
}

TEST(BmpFormat, PathsAreFormattedAndUseBackslashFolders) {
    TempDir dir;
    std::filesystem::create_directory("images");
    BmpFileOptions o;
    o.width = 2;
    o.height = 2;
    WriteFileBytes("images/num3.bmp", MakeBmpFile(o));

    CDibImage digit;
    ASSERT_EQ(digit.LoadFormat("images\\num%d.bmp", 3), 0);
    ExpectPicture(digit, 2, 2);
    EXPECT_EQ(digit.LoadFormat("images\\num%d.bmp", 4), -1);

    ASSERT_EQ(digit.SaveFormat("snapshot%03d.bmp", 7), 0);
    EXPECT_EQ(ReadFileBytes("snapshot007.bmp").size(), 54u + 16u);
}

TEST(BmpFormat, PathsLongerThan255BytesAreRefusedWithoutOpeningAnything) {
    TempDir dir;
    CDibImage image;
    ASSERT_EQ(image.Create(2, 2), 0);
    const std::string name(251, 'a');  // 251 + ".bmp" = 255 bytes: fits
    ASSERT_EQ(image.SaveFormat("%s.bmp", name.c_str()), 0);
    EXPECT_TRUE(FileExists(name + ".bmp"));

    EXPECT_EQ(image.SaveFormat("%sb.bmp", name.c_str()), -1);
    EXPECT_EQ(image.SaveFormat("x%0300d", 1), -1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(image.LoadFormat("%sb.bmp", name.c_str()), -1);
}
