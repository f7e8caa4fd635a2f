// The snapshot name format from Tenebrix.cfg: which formats are used, and what
// the user sees when one is not.
#include "app/snapshot_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/image/temp_dir.h"

namespace {

TEST(SnapshotFormatCheck, TakesFormatsWithExactlyOneIntConversion) {
    for (const char* format :
         {"snapshot%03d.bmp", "%d", "%i.bmp", "%u", "%x", "%X", "%o", "shot%-4d.bmp", "%+.3i",
          "% 5d", "%#x", "%#o", "%0255d", "%.255u", "100%%_%d.bmp", "%%%d%%"}) {
        EXPECT_EQ(IsSnapshotFormatValid(format), 1) << format;
    }
}

TEST(SnapshotFormatCheck, RefusesEverythingElse) {
    for (const char* format :
         {"",     "fixed.bmp", "100%%.bmp", "%d%d.bmp", "%d_%x",  "%s.bmp",
          "%n",   "%p",        "%c",        "%f",       "%e",     "%ld",
          "%hd",  "%lld",      "%zd",       "%jd",      "%*d",    "%.*d",
          "%5",   "%-",        "shot%",     "%256d",    "%.256d", "%99999999999d",
          "%1$d", "%%",        "%D"}) {
        EXPECT_EQ(IsSnapshotFormatValid(format), 0) << format;
    }
    EXPECT_EQ(IsSnapshotFormatValid(nullptr), 0);
}

// Runs ReadSnapshotFormat on a file holding `content` (no file when null) and
// returns what it wrote to the error stream.
struct ReadResult {
    int result;
    std::string format;
    std::string log;
};

ReadResult ReadConfig(const char* content) {
    TempDir dir;
    if (content != nullptr) {
        std::FILE* f = std::fopen("Tenebrix.cfg", "wb");
        std::fputs(content, f);
        std::fclose(f);
    }
    std::FILE* log = std::tmpfile();
    char format[kSnapshotFormatSize];
    std::memset(format, 'x', sizeof(format));
    ReadResult r;
    r.result = ReadSnapshotFormat("Tenebrix.cfg", format, log);
    r.format = format;
    std::rewind(log);
    char buffer[1024] = {};
    const size_t n = std::fread(buffer, 1, sizeof(buffer) - 1, log);
    r.log.assign(buffer, n);
    std::fclose(log);
    return r;
}

// The file's content (no file when null) is not used: the default format
// instead, and exactly this one line on the error stream.
void ExpectDefaultBecause(const char* content, const std::string& reason) {
    const ReadResult r = ReadConfig(content);
    EXPECT_EQ(r.result, -1);
    EXPECT_EQ(r.format, "snapshot%03d.bmp");
    EXPECT_EQ(r.log,
              "tenebrix: Tenebrix.cfg: " + reason + "; snapshots are named snapshot%03d.bmp\n");
}

TEST(SnapshotFormatRead, UsesTheFirstTokenAndSaysNothing) {
    const ReadResult r = ReadConfig("  \n\tpic_%04d.bmp   ignored rest\nmore\n");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.format, "pic_%04d.bmp");
    EXPECT_EQ(r.log, "");

    const ReadResult noNewline = ReadConfig("%d");
    EXPECT_EQ(noNewline.result, 0);
    EXPECT_EQ(noNewline.format, "%d");
}

TEST(SnapshotFormatRead, TakesATokenOf255Characters) {
    const std::string token = std::string(251, 'a') + "%03d";
    ASSERT_EQ(token.size(), 255u);
    const ReadResult r = ReadConfig((token + "\n").c_str());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.format, token);
    EXPECT_EQ(r.log, "");
}

TEST(SnapshotFormatRead, MissingOrEmptyFileFallsBackWithOneLine) {
    ExpectDefaultBecause(nullptr, "cannot be opened (No such file or directory)");
    ExpectDefaultBecause("", "holds no snapshot name format");
    ExpectDefaultBecause(" \n\t\n", "holds no snapshot name format");
}

TEST(SnapshotFormatRead, OverlongTokenFallsBackWithOneLine) {
    const std::string token = std::string(252, 'a') + "%03d\n";  // 256 characters
    ExpectDefaultBecause(token.c_str(), "the snapshot name format is longer than 255 characters");
}

TEST(SnapshotFormatRead, UnsafeFormatNeverGetsUsed) {
    ExpectDefaultBecause("%s%n%s.bmp\n",
                         "\"%s%n%s.bmp\" is not a snapshot name format with exactly one number"
                         " (%d, %i, %u, %x, %X or %o)");
    ExpectDefaultBecause("same.bmp",
                         "\"same.bmp\" is not a snapshot name format with exactly one number"
                         " (%d, %i, %u, %x, %X or %o)");
}

TEST(SnapshotFormatRead, NamesOutsideTheCurrentFolderAreRefused) {
    for (const char* format :
         {"/tmp/victim%.0d", "\\tmp\\x%d.bmp", "C:x%d.bmp", "../escape%d.bmp", "shots/../../x%d",
          "a\\..\\..\\x%d", "..%d", "%.0d../x", ".%.0d./x", "x/%.0d.."}) {
        ExpectDefaultBecause(format, "\"" + std::string(format) +
                                         "\" names a file outside the current folder (a name"
                                         " from the root or with a \"..\" folder)");
    }
    for (const char* format :
         {"shots/pic%03d.bmp", "a\\b\\%d.bmp", "./%d", "...%d", "x..%d", "..a/%d"}) {
        EXPECT_EQ(IsSnapshotNameInFolder(format), 1) << format;
    }
}

TEST(SnapshotFormatRead, AByteOrderMarkIsNoPartOfTheName) {
    const ReadResult r = ReadConfig("\xEF\xBB\xBFpic%03d.bmp\r\n");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.format, "pic%03d.bmp");
    EXPECT_EQ(r.log, "");
}

TEST(SnapshotFormatRead, ControlBytesOfABadTokenAreNotEchoed) {
    const ReadResult r = ReadConfig("a\x1b[2J%s\n");
    EXPECT_EQ(r.format, "snapshot%03d.bmp");
    EXPECT_NE(r.log.find("\"a?[2J%s\""), std::string::npos) << r.log;
    EXPECT_EQ(r.log.find('\x1b'), std::string::npos);
}

}  // namespace
