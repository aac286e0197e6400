// TBitmap: a DIB section with direct row access, and its pixel formats;
// TPicture, which holds a graphic and makes bitmaps.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/pixels.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
int BitsPerPixel(TPixelFormat pf);  // 15 for pf15bit (rows are 16-bit words)

// A DIB section with row 0 at the top. New bitmaps are pf24bit, 0 x 0.
// Every size change keeps the picture where old and new overlap and makes
// the new area white. Format changes convert the pixels: to and from pf24bit
// and pf32bit exactly, pf15bit/pf16bit to 5/6 bits per channel, palette
// formats exactly when the picture has few enough colours (else the nearest
// colour of a fixed palette). 15-bit rows are 16-bit words 0RRRRRGGGGGBBBBB.
class TBitmap : public TGraphic {
    RASTEL_CLASS_INFO
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat pf = pf24bit);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int w) override { SetSize(w, height_); }
    void SetHeight(int h) override { SetSize(width_, h); }
    // Negative sides count as 0. EFrameworkError when the DIB cannot be made.
    void SetSize(int w, int h);

    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat pf);
    // Bits per pixel of the file last loaded (1, 4, 8, 16, 24, 32), 0 when the
    // picture was not loaded from a file. Uncompressed files of 1, 4 and 8
    // bits keep their format and their palette (pf1bit, pf4bit, pf8bit); all
    // others are held as pf24bit.
    int SourceBitsPerPixel() const { return sourceBits_; }

    // Direct row access, row 0 at the top (GDI is flushed first). EListError
    // for a row outside 0..Height-1.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    int BytesPerLine() const { return stride_; }
    // The pixels as a 24-bit row view for the core kernels; converts the
    // bitmap to pf24bit first if it has another format.
    rastel::BgrView View24();
    // Copies the top-left out.width x out.height pixels into `out` as 24-bit
    // rows, whatever the format; the bitmap is not changed. EListError when
    // `out` is larger than the bitmap.
    void ReadPixels24(rastel::BgrView out) const;
    // Palette of pf1bit/pf4bit/pf8bit (empty otherwise).
    const std::vector<RGBQUAD>& Palette() const { return palette_; }

    // The memory-DC canvas with this DIB selected, created on first use;
    // the same object for the bitmap's lifetime. Drawing on it raises OnChange.
    TCanvas& Canvas();
    HBITMAP Handle() const { return bitmap_.get(); }

    // Two-colour mask: pixels of `color` become white, all others black;
    // the result is pf1bit with palette {black, white}.
    void Mask(TColor color);
    // Colour used when Transparent: the bottom-left pixel.
    TColor TransparentColor() const;

    // Reads a .bmp file: CreateFileW with GENERIC_READ and FILE_SHARE_READ.
    // EFOpenError when it cannot be opened (empty name included),
    // EInvalidGraphic when it is not a valid bitmap; the bitmap is unchanged then.
    void LoadFromFile(const std::string& path) override;
    // The same from a file's bytes: EInvalidGraphic when they are not a valid
    // bitmap, the bitmap unchanged then.
    void LoadFromBytes(std::span<const std::uint8_t> file);
    void LoadFromBmp(const rastel::BmpImage& image);

    // Pixels, size, format and palette of another TBitmap (OnChange once).
    void Assign(const TPersistent& source) override;
    std::unique_ptr<TGraphic> Clone() const override;
    void Draw(TCanvas& canvas, const RECT& rect) override;

    // Raises OnChange: call after writing pixels through ScanLine/View24.
    void Modified() { Changed(); }

private:
    void LoadStored(const rastel::BmpRows& rows);
    void Install(UniqueBitmap bitmap, std::uint8_t* bits, int stride, int w, int h, TPixelFormat pf,
                 std::vector<RGBQUAD> palette);
    void Recreate(int w, int h, TPixelFormat pf, const std::vector<RGBQUAD>& palette, bool keepPicture);
    // Row y of the pixels as the DIB stores them.
    const std::uint8_t* StoredRow(int y) const;
    HDC MemoryDC();
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf24bit;
    int stride_ = 0;
    int sourceBits_ = 0;
    std::vector<RGBQUAD> palette_;
    UniqueBitmap bitmap_;
    std::uint8_t* bits_ = nullptr;
    UniqueDC dc_;
    SelectGuard selected_;
    std::unique_ptr<TCanvas> canvas_;
};

// A bitmap file that does not decode: "ビットマップイメージが不正です".
class EInvalidGraphic : public EFrameworkError {
public:
    EInvalidGraphic() : EFrameworkError(rastel::kInvalidBitmapText) {}
    using EFrameworkError::EFrameworkError;
};

// Holds an optional graphic (present even when 0 x 0). Assign copies the
// graphic; the picture never adopts a graphic it was given.
class TPicture : public TPersistent {
    RASTEL_CLASS_INFO
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return graphic_.get(); }
    bool HasGraphic() const { return graphic_ != nullptr; }
    // Copies the graphic (nullptr clears). OnChange once.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; makes an empty TBitmap the graphic when there
    // is none (or when it is of another kind).
    TBitmap& Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Loads a .bmp file into a new TBitmap graphic; on failure the picture is
    // unchanged and the error (EFOpenError / EInvalidGraphic) propagates.
    void LoadFromFile(const std::string& path);
    // From a TPicture (its graphic copied, or cleared) or a TGraphic (copied).
    void Assign(const TPersistent& source) override;

    // Fires when the graphic is replaced or reports a change (sender: this picture).
    TNotifyEvent OnChange;

private:
    void Adopt(std::unique_ptr<TGraphic> g);
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};
