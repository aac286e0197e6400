// What only Windows itself can show: the shape made in one ExtCreateRegion of
// the whole list, of any number of rectangles, and set with the system's own
// redraw. Under Wine the program takes its other road (short chunks, a limit
// of 32,766 rectangles, painting at once), so these skip there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_test_util.h"
#include "core/catalog.h"
#include "tests/win/win_test_util.h"

namespace {

using namespace app_test;

class WindowsOnlyTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RASTEL_ONLY_ON_WINDOWS("Wine makes and shows a shape its own way (chunks, a limit, painted at once)");
        WriteDefaultImages();
    }
    void ExpectShape(const std::vector<std::uint8_t>& file) {
        UniqueRegion actual = WindowRegion(Form1->Handle());
        ASSERT_TRUE(actual) << "no window region";
        UniqueRegion expected = ExpectedShape(file, *Form1);
        EXPECT_TRUE(SameRegion(actual.get(), expected.get()));
    }
};

// The platform as the program finds it: one call for the whole list (every
// run of the picture and the plate's rows), no limit, the system's redraw.
TEST_F(WindowsOnlyTest, TheShapeIsOneRegionOfTheWholeListRedrawnByTheSystem) {
    const ShapePlatform& detected = ShapePlatform::Detected();
    EXPECT_FALSE(detected.chunk);
    EXPECT_FALSE(detected.limit);
    EXPECT_FALSE(detected.paintNow);
    std::vector<DWORD> counts;
    ShapePlatform::Current().makeRegion = [&counts](const XFORM* xf, DWORD n, const RGNDATA* d) {
        counts.push_back(d->rdh.nCount);
        return ::ExtCreateRegion(xf, n, d);
    };
    CreateForms();
    ShowMain();
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_GT(counts[0], 529u);  // one rectangle per run, rows never merged
    ExpectShape(DefaultImage("RastelS.bmp"));

    // Shown by the system's redraw: nothing is left to paint, and a line
    // pixel away from the cluster shows the new picture.
    ChooseColour(Form1, 2);  // Red, 16升
    Pump();
    ASSERT_EQ(counts.size(), 2u);
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(Form1->Handle(), &pending, FALSE));
    const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(DefaultImage("RastelR.bmp")));
    ExpectWindowShowsLines(Form1->Handle(), img, 13, 10);
}

// No limit: a one-pixel checkerboard over the whole client area (nearly
// 200,000 rectangles that do not merge) becomes the window's shape.
TEST_F(WindowsOnlyTest, AOnePixelCheckerboardOfTheClientAreaShapesTheWindow) {
    CreateForms();
    ShowMain();
    std::vector<std::string> rows(529, std::string(747, '.'));
    for (int y = 0; y < 529; ++y)
        for (int x = y % 2; x < 747; x += 2) rows[std::size_t(y)][std::size_t(x)] = '#';
    rows[528][0] = '.';  // the see-through colour is the bottom-left pixel's
    const std::vector<std::uint8_t> checker = BmpFromRows(rows);
    WriteFile("RastelS8.bmp", checker);
    Click(Form1->RadioButton2);  // SkyBlue, 8升
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    ExpectShape(checker);
}

}  // namespace
