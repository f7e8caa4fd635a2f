// Row copies past the caches: the same bytes as memcpy at every alignment and
// length around the 16-byte blocks, and nothing written outside the row.
#include "platform/copy_past_caches.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CopyPastCachesTest, WritesTheRowAndNothingElseAtEveryAlignment) {
    std::vector<unsigned char> from(2048);
    for (size_t i = 0; i < from.size(); ++i) {
        from[i] = static_cast<unsigned char>(i * 37 + 11);
    }
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t count : {0, 1, 15, 16, 17, 31, 32, 33, 1925}) {
            std::vector<unsigned char> to(2100, 0xEE);
            CopyRowPastCaches(to.data() + 32 + offset, from.data() + 3, count);
            FinishCopiesPastCaches();
            for (size_t i = 0; i < to.size(); ++i) {
                const bool inRow = i >= 32 + offset && i < 32 + offset + count;
                const unsigned char want = inRow ? from[3 + i - 32 - offset] : 0xEE;
                ASSERT_EQ(to[i], want)
                    << "offset " << offset << ", count " << count << ", byte " << i;
            }
        }
    }
}
