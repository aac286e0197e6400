// Helpers for the button family's tests: pixel access, blend arithmetic
// written out per channel, an invalidation counter and a test form.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/HiButton.h"
#include "core/color.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

namespace controls_test {

inline TColor Px(TBitmap& b, int x, int y) {
    const std::uint8_t* row = b.ScanLine(y);
    return rastel::RGBColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

inline void Fill(TBitmap& b, TColor c) {
    for (int y = 0; y < b.Height(); ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            row[3 * x] = rastel::BlueOf(c);
            row[3 * x + 1] = rastel::GreenOf(c);
            row[3 * x + 2] = rastel::RedOf(c);
        }
    }
}

// One channel of a colour laid over a pixel at ratio r: both terms truncated.
inline int FillChannel(int colour, int pixel, int r) { return ((colour * r) >> 8) + ((pixel * (256 - r)) >> 8); }

// A colour (system colours resolved) laid over an RGB pixel at ratio r.
inline TColor Over(TColor colour, TColor pixel, int r) {
    const TColor c = rastel::ColorToRGB(colour);
    return rastel::RGBColor(std::uint8_t(FillChannel(rastel::RedOf(c), rastel::RedOf(pixel), r)),
                            std::uint8_t(FillChannel(rastel::GreenOf(c), rastel::GreenOf(pixel), r)),
                            std::uint8_t(FillChannel(rastel::BlueOf(c), rastel::BlueOf(pixel), r)));
}

inline std::string Hex(TColor c) {
    char buf[16];
    snprintf(buf, sizeof buf, "%06X", unsigned(c & 0xFFFFFF));
    return buf;
}

// Any button of the family, counting its invalidations (its class name stays the base's).
template <class Base>
class Counting : public Base {
public:
    explicit Counting(TComponent* owner) : Base(owner) {}
    int invalidations = 0;
    void Invalidate() override {
        ++invalidations;
        Base::Invalidate();
    }
};

// The application initialised (system colours loaded) and error boxes caught.
class HiTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.ErrorBoxHook = [this](const std::string&, const std::string& text, UINT) {
            errors.push_back(text);
        };
    }
    void TearDown() override {
        Pump();
        Application.ErrorBoxHook = nullptr;
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
    static void Pump() {
        for (int i = 0; i < 3; ++i) Application.ProcessMessages();
    }
    std::vector<std::string> errors;
};

// Paints the pattern RGB(x, y, 0x5A) over width x height of canvas, for a
// surface whose top-left is at `origin` in the form's client area, so a
// copy of it tells where it was taken.
inline void DrawPattern(TCanvas& canvas, int width, int height, POINT origin) {
    TBitmap pattern(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = pattern.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = 0x5A;
            row[3 * x + 1] = std::uint8_t(y + origin.y);
            row[3 * x + 2] = std::uint8_t(x + origin.x);
        }
    }
    canvas.Draw(0, 0, pattern);
}

// A form whose every client pixel (x, y) shows RGB(x, y, 0x5A).
class TFormPattern : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TFormPattern(TComponent* owner) : TForm(owner) {}
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        RECT r = ClientRect();
        DrawPattern(*Canvas(), r.right, r.bottom, POINT{0, 0});
    }
};

inline LPARAM Pos(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }

}  // namespace controls_test
