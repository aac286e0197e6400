// Helpers shared by the graphics tests: temporary folders and bitmap files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "framework/Bitmap.h"
#include "framework/Text.h"

namespace framework_test {

// A fresh folder under %TEMP%, removed with its files at the end.
class TempDir {
public:
    TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        for (unsigned i = GetTickCount();; ++i) {
            path_ = std::wstring(base) + L"rastel-gfx-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(i);
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
    }
    ~TempDir() {
        for (const std::wstring& f : files_) DeleteFileW(f.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    // Full path (UTF-8) of a file in the folder.
    std::string File(const std::string& name) {
        std::wstring full = path_ + L"\\" + Widen(name);
        files_.push_back(full);
        return Narrow(full);
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::string path = File(name);
        HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return path;
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// Pixel (x, y) of a 24-bit image buffer.
struct Image24 {
    int width, height;
    std::vector<std::uint8_t> pixels;  // packed rows, 3 bytes per pixel
    Image24(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h * 3, 0) {}
    void Set(int x, int y, rastel::Bgr c) {
        std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * 3];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
    rastel::ConstBgrView View() const { return {pixels.data(), width, height, std::ptrdiff_t(width) * 3}; }
};

// A bottom-up 1-bit file with the given two palette colours; bits[y] holds
// row y (top row first) left-aligned in one byte, so width <= 8.
inline std::vector<std::uint8_t> MonoBmp(int width, const std::vector<std::uint8_t>& bits, rastel::Bgr c0,
                                         rastel::Bgr c1) {
    int height = int(bits.size());
    std::vector<std::uint8_t> f(14 + 40 + 8 + 4 * std::size_t(height), 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = std::uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, std::uint32_t(f.size()));
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    f[26] = 1;  // planes
    f[28] = 1;  // bits per pixel
    put32(46, 2);
    f[54] = c0.b, f[55] = c0.g, f[56] = c0.r;
    f[58] = c1.b, f[59] = c1.g, f[60] = c1.r;
    for (int y = 0; y < height; ++y) f[62 + 4 * std::size_t(height - 1 - y)] = bits[std::size_t(y)];
    return f;
}

inline TColor PixelOf(TBitmap& b, int x, int y) {
    const std::uint8_t* row = b.ScanLine(y);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    return rastel::RGBColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

inline void SetPixel24(TBitmap& b, int x, int y, TColor c) {
    std::uint8_t* row = b.ScanLine(y);
    row[3 * x] = rastel::BlueOf(c);
    row[3 * x + 1] = rastel::GreenOf(c);
    row[3 * x + 2] = rastel::RedOf(c);
}

}  // namespace framework_test
