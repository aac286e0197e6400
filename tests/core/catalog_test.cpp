#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/catalog.h"
#include "core/error_text.h"

namespace rastel {
namespace {

struct Row {
    int colour;
    int size;  // 0 "16", 1 "8", 2 big
    const char* plain;
    const char* emphasised;
};

const Row kRows[] = {
    {0, 0, "RastelS.bmp", "RastelSB2.bmp"},          {0, 1, "RastelS8.bmp", "RastelSB8.bmp"},
    {0, 2, "RastelSBig.bmp", "RastelSBBig.bmp"},     {1, 0, "RastelB.bmp", "RastelBB2.bmp"},
    {1, 1, "RastelB8.bmp", "RastelBB8.bmp"},         {1, 2, "RastelBBig.bmp", "RastelBBBig.bmp"},
    {2, 0, "RastelR.bmp", "RastelRB2.bmp"},          {2, 1, "RastelR8.bmp", "RastelRB8.bmp"},
    {2, 2, "RastelRBig.bmp", "RastelRBBig.bmp"},     {3, 0, "RastelP.bmp", "RastelPB2.bmp"},
    {3, 1, "RastelP8.bmp", "RastelPB8.bmp"},         {3, 2, "RastelPBig.bmp", "RastelPBBig.bmp"},
    {4, 0, "RastelSTateBig.bmp", "RastelSTateBig.bmp"},
    {4, 1, "RastelSTate2Big.bmp", "RastelSTate2Big.bmp"},
    {4, 2, "RastelSTate3Big.bmp", "RastelSTate3Big.bmp"},
};

TEST(Catalogue, EveryRowAndEmphasis) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.plain);
        const bool r16 = r.size == 0, r8 = r.size == 1, big = r.size == 2;
        EXPECT_EQ(GridImageFileName(r.colour, r16, r8, big, false), r.plain);
        EXPECT_EQ(GridImageFileName(r.colour, r16, r8, big, true), r.emphasised);
    }
}

TEST(Catalogue, FirstCheckedSizeCountsInTheOrder16Then8ThenBig) {
    EXPECT_EQ(GridImageFileName(2, true, true, true, false), "RastelR.bmp");
    EXPECT_EQ(GridImageFileName(2, false, true, true, false), "RastelR8.bmp");
    EXPECT_EQ(GridImageFileName(2, true, false, true, true), "RastelRB2.bmp");
}

TEST(Catalogue, NoMatchingRowGivesAnEmptyName) {
    EXPECT_EQ(GridImageFileName(0, false, false, false, false), "");
    EXPECT_EQ(GridImageFileName(-1, true, false, false, false), "");
    EXPECT_EQ(GridImageFileName(5, true, false, false, true), "");
}

TEST(Catalogue, AllNamesAreTheTwentySevenDistinctOnes) {
    std::set<std::string> expected;
    for (const Row& r : kRows) {
        expected.insert(r.plain);
        expected.insert(r.emphasised);
    }
    ASSERT_EQ(expected.size(), 27u);
    const std::vector<std::string>& all = AllGridImageFileNames();
    EXPECT_EQ(all.size(), 27u);
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()), expected);
}

TEST(FullStop, AppendedUnlessTheLastByteSortsAtOrBelowThePoint) {
    EXPECT_EQ(WithFullStop("abc"), "abc.");
    EXPECT_EQ(WithFullStop("abc."), "abc.");
    EXPECT_EQ(WithFullStop("abc)"), "abc)");
    EXPECT_EQ(WithFullStop("abc!"), "abc!");
    EXPECT_EQ(WithFullStop("a-"), "a-");   // 0x2D
    EXPECT_EQ(WithFullStop("a "), "a ");   // 0x20
    EXPECT_EQ(WithFullStop("a/"), "a/.");  // 0x2F, just above
    EXPECT_EQ(WithFullStop("9"), "9.");
    EXPECT_EQ(WithFullStop(""), ".");
    // A multi-byte character ends in a byte above 0x7F: compared unsigned.
    EXPECT_EQ(WithFullStop("ビットマップイメージが不正です"), "ビットマップイメージが不正です.");
    EXPECT_EQ(WithFullStop("\xFF"), "\xFF.");
}

}  // namespace
}  // namespace rastel
