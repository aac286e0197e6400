// Shared set-up for the program's tests: a private current directory with
// grid images, the real windows created in-process, error boxes caught, and
// region helpers that work from the image's pixels independently of the
// program's own region builder.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "core/bmp.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "tools/grid_images.h"

namespace app_test {

struct ErrorBox {
    std::string caption;
    std::string text;
    UINT flags;
};

// The default pictures as the 96-dpi window shows them (the top-left 747 x
// 529 of each): their whole shapes stay quick to build under Wine.
inline const std::vector<rastel::GridImageFile>& DefaultImages() {
    static const std::vector<rastel::GridImageFile> images = rastel::MakeGridImages(747, 529);
    return images;
}

inline const std::vector<std::uint8_t>& DefaultImage(const std::string& name) {
    for (const auto& f : DefaultImages())
        if (f.name == name) return f.bytes;
    throw std::runtime_error("no default grid image " + name);
}

// A 24-bit bitmap file from rows of colours given as characters: '.' white,
// '#' black, 'r' red, 'b' blue. Row 0 is the top row.
std::vector<std::uint8_t> BmpFromRows(const std::vector<std::string>& rows);
// A w x h 24-bit file of one colour with a white bottom-left pixel.
std::vector<std::uint8_t> SolidBmp(int w, int h, rastel::Bgr color);
// A w x h 24-bit grid: lines of `color` every `step` pixels on white.
std::vector<std::uint8_t> GridBmp(int w, int h, int step, rastel::Bgr color);
// A well-formed bitmap file of 0 x 0 pixels.
std::vector<std::uint8_t> EmptyBmp();

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    void WriteDefaultImages();
    void DeleteFile(const std::string& name);
    std::string FullPath(const std::string& name) const;

    // Application.CreateForm for both windows, as the program starts.
    void CreateForms();
    // Shows the main window (centred on its first showing), as Run does.
    void ShowMain();
    static void Pump();

    std::vector<ErrorBox> errors;
    std::wstring dir_;
    std::wstring oldDir_;
};

// The window's region as set (window coordinates); null when it has none.
UniqueRegion WindowRegion(HWND hwnd);
// Client area's top-left corner relative to the window's top-left corner.
POINT ClientOffset(HWND hwnd);
// The region a grid image file must give: every pixel not of its transparent
// colour (bottom-left pixel; white for a 1-bit file), one rectangle per run,
// moved by `offset`. Built pixel by pixel from the decoded file.
UniqueRegion ExpectedRegion(const std::vector<std::uint8_t>& file, POINT offset);
// The shape the main window must have for a grid image file: the file's
// region (as ExpectedRegion) as far as the client area shows it, and the
// plate under the control cluster (window coordinates).
UniqueRegion ExpectedShape(const std::vector<std::uint8_t>& file, const TForm1& form);
bool SameRegion(HRGN a, HRGN b);
// Puts a hook back as it was when the scope ends.
template <class T>
class KeepHook {
public:
    explicit KeepHook(T& hook) : hook_(hook), saved_(hook) {}
    ~KeepHook() { hook_ = saved_; }
    KeepHook(const KeepHook&) = delete;
    KeepHook& operator=(const KeepHook&) = delete;

private:
    T& hook_;
    T saved_;
};

// The rectangles of a region as GetRegionData gives them, header included.
std::vector<std::uint8_t> RegionBytes(HRGN region);

// The window's own pixels show the picture's lines: on `count` rows, from
// row 200 every `step` rows, the first line pixel left of x = 400 (away from
// the control cluster).
void ExpectWindowShowsLines(HWND window, const rastel::BmpImage& picture, int step, int count);

// True when `upper` comes before `lower` in the z-order.
bool IsAbove(HWND upper, HWND lower);

// The controls a user touches, through their windows.
void Click(TWinControl* control);                // BM_CLICK
void ChooseColour(TForm1* form, int itemIndex);  // select, then open and close the list

}  // namespace app_test
