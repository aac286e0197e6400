// TGraphic, TBitmap (DIB sections with row access) and TPicture.
#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "core/mono.h"
#include "framework/Bitmap.h"
#include "framework/Text.h"

namespace {

int Bpp(TPixelFormat pf) {
    switch (pf) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf15bit:
        case pf16bit: return 16;
        case pf24bit: return 24;
        case pf32bit: return 32;
    }
    return 24;
}

std::size_t PaletteCapacity(TPixelFormat pf) {
    switch (pf) {
        case pf1bit: return 2;
        case pf4bit: return 16;
        case pf8bit: return 256;
        default: return 0;
    }
}

RGBQUAD Quad(int r, int g, int b) { return RGBQUAD{BYTE(b), BYTE(g), BYTE(r), 0}; }

std::uint32_t Key(std::uint8_t b, std::uint8_t g, std::uint8_t r) { return b | (g << 8) | (std::uint32_t(r) << 16); }

std::vector<RGBQUAD> DefaultPalette(TPixelFormat pf) {
    static const RGBQUAD kVga[16] = {
        Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
        Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
        Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
        Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255),
    };
    switch (pf) {
        case pf1bit: return {Quad(0, 0, 0), Quad(255, 255, 255)};
        case pf4bit: return std::vector<RGBQUAD>(std::begin(kVga), std::end(kVga));
        case pf8bit: {
            std::vector<RGBQUAD> p(std::begin(kVga), std::end(kVga));
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b) p.push_back(Quad(r * 51, g * 51, b * 51));
            for (int i = 1; i <= 24; ++i) p.push_back(Quad(i * 10, i * 10, i * 10));
            return p;
        }
        default: return {};
    }
}

// Turns the first w pixels of rows of one format into 24-bit BGR.
class RowDecoder {
public:
    RowDecoder(TPixelFormat pf, const std::vector<RGBQUAD>& pal) : pf_(pf) {
        // Indices beyond the palette read as black.
        for (std::size_t i = 0; i < pal.size() && i < 256; ++i)
            table_[i] = {pal[i].rgbBlue, pal[i].rgbGreen, pal[i].rgbRed};
    }
    void Decode(const std::uint8_t* row, int w, std::uint8_t* out) const;

private:
    TPixelFormat pf_;
    rastel::Bgr table_[256] = {};
};

void RowDecoder::Decode(const std::uint8_t* row, int w, std::uint8_t* out) const {
    switch (pf_) {
        case pf1bit:
        case pf4bit:
        case pf8bit:
            rastel::DecodeIndexedRow(row, std::uint64_t(std::max(w, 0)), unsigned(BitsPerPixel(pf_)), table_, out);
            return;
        case pf15bit:
            for (int x = 0; x < w; ++x, out += 3) {
                unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                out[0] = std::uint8_t((b << 3) | (b >> 2));
                out[1] = std::uint8_t((g << 3) | (g >> 2));
                out[2] = std::uint8_t((r << 3) | (r >> 2));
            }
            break;
        case pf16bit:
            for (int x = 0; x < w; ++x, out += 3) {
                unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                out[0] = std::uint8_t((b << 3) | (b >> 2));
                out[1] = std::uint8_t((g << 2) | (g >> 4));
                out[2] = std::uint8_t((r << 3) | (r >> 2));
            }
            break;
        case pf24bit: std::memcpy(out, row, std::size_t(std::max(w, 0)) * 3); break;
        case pf32bit:
            for (int x = 0; x < w; ++x, out += 3) std::memcpy(out, row + 4 * x, 3);
            break;
    }
}

// Turns 24-bit BGR into one row of the target format; palette formats take
// the exact entry when there is one, else the nearest colour.
class RowEncoder {
public:
    RowEncoder(TPixelFormat pf, const std::vector<RGBQUAD>& pal) : pf_(pf), pal_(pal) {}

    void Encode(const std::uint8_t* bgr, int w, std::uint8_t* row) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* px = bgr + 3 * x;
            switch (pf_) {
                case pf1bit: {
                    unsigned bit = 7 - (x & 7);
                    row[x >> 3] = std::uint8_t((row[x >> 3] & ~(1u << bit)) | (Index(px) << bit));
                    break;
                }
                case pf4bit: {
                    unsigned shift = (x & 1) ? 0 : 4;
                    row[x >> 1] = std::uint8_t((row[x >> 1] & ~(0xFu << shift)) | (Index(px) << shift));
                    break;
                }
                case pf8bit: row[x] = Index(px); break;
                case pf15bit: {
                    unsigned v = ((px[2] >> 3) << 10) | ((px[1] >> 3) << 5) | (px[0] >> 3);
                    row[2 * x] = std::uint8_t(v);
                    row[2 * x + 1] = std::uint8_t(v >> 8);
                    break;
                }
                case pf16bit: {
                    unsigned v = ((px[2] >> 3) << 11) | ((px[1] >> 2) << 5) | (px[0] >> 3);
                    row[2 * x] = std::uint8_t(v);
                    row[2 * x + 1] = std::uint8_t(v >> 8);
                    break;
                }
                case pf24bit: std::memcpy(row + 3 * x, px, 3); break;
                case pf32bit:
                    std::memcpy(row + 4 * x, px, 3);
                    row[4 * x + 3] = 0;
                    break;
            }
        }
    }

private:
    std::uint8_t Index(const std::uint8_t* px) {
        std::uint32_t key = Key(px[0], px[1], px[2]);
        if (auto it = cache_.find(key); it != cache_.end()) return it->second;
        std::uint8_t best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < pal_.size(); ++i) {
            long db = long(pal_[i].rgbBlue) - px[0], dg = long(pal_[i].rgbGreen) - px[1], dr = long(pal_[i].rgbRed) - px[2];
            long d = db * db + dg * dg + dr * dr;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = std::uint8_t(i);
                if (d == 0) break;
            }
        }
        cache_.emplace(key, best);
        return best;
    }

    TPixelFormat pf_;
    const std::vector<RGBQUAD>& pal_;
    std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

struct Dib {
    UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;
    int stride = 0;
};

// A top-down DIB section (row 0 at the top), contents undefined.
Dib MakeDib(int w, int h, TPixelFormat pf, const std::vector<RGBQUAD>& palette) {
    Dib dib;
    if (w <= 0 || h <= 0) return dib;
    std::int64_t stride = ((std::int64_t(w) * Bpp(pf) + 31) / 32) * 4;
    if (stride > INT32_MAX / 2 || stride * h > (std::int64_t(1) << 30))
        throw EFrameworkError("ビットマップが大きすぎます");
    std::vector<std::uint8_t> buffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(buffer.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = -h;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = WORD(Bpp(pf));
    info->bmiHeader.biCompression = BI_RGB;
    if (pf == pf16bit) {
        info->bmiHeader.biCompression = BI_BITFIELDS;
        DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info->bmiColors, masks, sizeof masks);
    } else if (PaletteCapacity(pf)) {
        info->bmiHeader.biClrUsed = DWORD(palette.size());
        std::copy(palette.begin(), palette.end(), info->bmiColors);
    }
    void* bits = nullptr;
    dib.bitmap.reset(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap || !bits) throw EFrameworkError("ビットマップを作成できません");
    dib.bits = static_cast<std::uint8_t*>(bits);
    dib.stride = int(stride);
    return dib;
}

std::string OpenErrorText(const std::string& path, DWORD error) {
    std::wstring wide = Widen(path);
    std::wstring full;
    DWORD n = wide.empty() ? 0 : GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n) {
        full.resize(n);
        n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
        full.resize(n);
    } else {
        full = wide;
    }
    return "ファイル \"" + Narrow(full) + "\". " + SystemErrorMessage(error) + " は開けません";
}

constexpr std::int64_t kMaxBmpFileSize = std::int64_t(512) << 20;

}  // namespace

int BitsPerPixel(TPixelFormat pf) { return pf == pf15bit ? 15 : Bpp(pf); }

// ------------------------------------------------------------------ TBitmap

const ClassInfo& TBitmap::StaticClassInfo() {
    static const ClassInfo info{"TBitmap", &TGraphic::StaticClassInfo(), {}, {}};
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat pf) {
    format_ = pf;
    palette_ = DefaultPalette(pf);
    Recreate(width, height, pf, palette_, false);
}

TBitmap::~TBitmap() = default;

void TBitmap::Recreate(int w, int h, TPixelFormat pf, const std::vector<RGBQUAD>& palette, bool keepPicture) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    std::vector<RGBQUAD> newPalette = palette;
    Dib dib = MakeDib(w, h, pf, newPalette);
    if (dib.bits) {
        GdiFlush();
        RowEncoder encoder(pf, newPalette);
        std::vector<std::uint8_t> bgr(std::size_t(w) * 3, 0xFF);
        std::vector<std::uint8_t> white(std::size_t(dib.stride), 0);
        encoder.Encode(bgr.data(), w, white.data());
        int keepRows = (keepPicture && bits_) ? std::min(h, height_) : 0;
        int keepColumns = std::min(w, width_);
        std::vector<std::uint8_t> old(std::size_t(std::max(width_, 0)) * 3);
        const RowDecoder decoder(format_, palette_);
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = dib.bits + std::ptrdiff_t(y) * dib.stride;
            if (y < keepRows) {
                decoder.Decode(StoredRow(y), width_, old.data());
                std::memcpy(bgr.data(), old.data(), std::size_t(keepColumns) * 3);
                std::fill(bgr.begin() + std::ptrdiff_t(keepColumns) * 3, bgr.end(), std::uint8_t(0xFF));
                std::memset(row, 0, std::size_t(dib.stride));
                encoder.Encode(bgr.data(), w, row);
            } else {
                std::memcpy(row, white.data(), white.size());
            }
        }
    }
    // Swap in: the old DIB is deselected before it is freed.
    selected_.reset();
    bitmap_ = std::move(dib.bitmap);
    bits_ = dib.bits;
    stride_ = dib.stride;
    width_ = w;
    height_ = h;
    format_ = pf;
    palette_ = std::move(newPalette);
    if (dc_ && bitmap_) selected_ = SelectGuard(dc_.get(), bitmap_.get());
}

const std::uint8_t* TBitmap::StoredRow(int y) const { return bits_ + std::ptrdiff_t(y) * stride_; }

void TBitmap::SetSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width_ && h == height_) return;
    std::vector<RGBQUAD> palette = palette_.empty() ? DefaultPalette(format_) : palette_;
    Recreate(w, h, format_, palette, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat pf) {
    if (pf == format_) return;
    std::vector<RGBQUAD> palette;
    if (std::size_t capacity = PaletteCapacity(pf)) {
        // The picture's own colours when they fit, so the conversion is exact.
        std::vector<RGBQUAD> distinct;
        std::unordered_map<std::uint32_t, bool> seen;
        bool fits = true;
        if (bits_) {
            GdiFlush();
            std::vector<std::uint8_t> bgr(std::size_t(width_) * 3);
            const RowDecoder decoder(format_, palette_);
            for (int y = 0; y < height_ && fits; ++y) {
                decoder.Decode(StoredRow(y), width_, bgr.data());
                for (int x = 0; x < width_; ++x) {
                    const std::uint8_t* px = &bgr[std::size_t(x) * 3];
                    if (seen.emplace(Key(px[0], px[1], px[2]), true).second) {
                        if (distinct.size() == capacity) {
                            fits = false;
                            break;
                        }
                        distinct.push_back(Quad(px[2], px[1], px[0]));
                    }
                }
            }
        }
        if (fits && !distinct.empty()) {
            if (distinct.size() < capacity && !seen.count(Key(255, 255, 255))) distinct.push_back(Quad(255, 255, 255));
            palette = std::move(distinct);
        } else {
            palette = DefaultPalette(pf);
        }
    }
    Recreate(width_, height_, pf, palette, true);
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (!bits_ || y < 0 || y >= height_) throw EListError("scan line index out of range (" + std::to_string(y) + ")");
    GdiFlush();
    return bits_ + std::ptrdiff_t(y) * stride_;
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    if (!bits_ || y < 0 || y >= height_) throw EListError("scan line index out of range (" + std::to_string(y) + ")");
    GdiFlush();
    return bits_ + std::ptrdiff_t(y) * stride_;
}

rastel::BgrView TBitmap::View24() {
    SetPixelFormat(pf24bit);
    GdiFlush();
    if (!bits_) return {};
    return {bits_, width_, height_, stride_};
}

HDC TBitmap::MemoryDC() {
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(nullptr));
        if (!dc_) throw EFrameworkError("キャンバスを作成できません");
        if (bitmap_) selected_ = SelectGuard(dc_.get(), bitmap_.get());
    }
    return dc_.get();
}

TCanvas& TBitmap::Canvas() {
    HDC dc = MemoryDC();
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>(dc);
        canvas_->OnChange.handler = [this] { Changed(); };
    }
    return *canvas_;
}

void TBitmap::Mask(TColor color) {
    TColor rgb = rastel::ColorToRGB(color);
    std::vector<RGBQUAD> palette = {Quad(0, 0, 0), Quad(255, 255, 255)};
    Dib dib = MakeDib(width_, height_, pf1bit, palette);
    if (dib.bits) {
        GdiFlush();
        std::vector<std::uint8_t> bgr(std::size_t(width_) * 3);
        const RowDecoder decoder(format_, palette_);
        for (int y = 0; y < height_; ++y) {
            decoder.Decode(StoredRow(y), width_, bgr.data());
            std::uint8_t* row = dib.bits + std::ptrdiff_t(y) * dib.stride;
            std::memset(row, 0, std::size_t(dib.stride));
            for (int x = 0; x < width_; ++x) {
                const std::uint8_t* px = &bgr[std::size_t(x) * 3];
                if (rastel::RGBColor(px[2], px[1], px[0]) == rgb) row[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
            }
        }
    }
    selected_.reset();
    bitmap_ = std::move(dib.bitmap);
    bits_ = dib.bits;
    stride_ = dib.stride;
    format_ = pf1bit;
    palette_ = std::move(palette);
    if (dc_ && bitmap_) selected_ = SelectGuard(dc_.get(), bitmap_.get());
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (!bits_) return clWhite;
    GdiFlush();
    std::uint8_t px[3] = {0, 0, 0};
    RowDecoder(format_, palette_).Decode(StoredRow(height_ - 1), 1, px);
    return rastel::RGBColor(px[2], px[1], px[0]);
}

void TBitmap::LoadFromFile(const std::string& path) {
    std::wstring wide = Widen(path);
    // Read only, and nobody may write the file while it is read.
    const HANDLE opened = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw EFOpenError(OpenErrorText(path, GetLastError()));
    const UniqueFile file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw EFOpenError(OpenErrorText(path, GetLastError()));
    if (size.QuadPart > kMaxBmpFileSize) throw EInvalidGraphic();
    // Not cleared first: every byte used is read.
    const std::size_t length = std::size_t(size.QuadPart);
    const std::unique_ptr<std::uint8_t[]> data = std::make_unique_for_overwrite<std::uint8_t[]>(length);
    std::size_t done = 0;
    while (done < length) {
        DWORD got = 0;
        DWORD want = DWORD(std::min<std::size_t>(length - done, 1u << 24));
        if (!ReadFile(file.get(), data.get() + done, want, &got, nullptr))
            throw EFrameworkError(SystemErrorMessage(GetLastError()));
        if (got == 0) break;  // shorter than its size said: decoding judges it
        done += got;
    }
    LoadFromBytes(std::span<const std::uint8_t>(data.get(), done));
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> file) {
    rastel::BmpImage image;
    try {
        // Kept as stored where the file allows it: a large picture of few
        // colours then costs its own bytes, not three per pixel.
        if (const std::optional<rastel::BmpRows> rows = rastel::StoredBmpRows(file)) {
            LoadStored(*rows);
            return;
        }
        image = rastel::DecodeBmp(file);
    } catch (const rastel::BmpError&) {
        throw EInvalidGraphic();
    }
    LoadFromBmp(image);
}

void TBitmap::LoadStored(const rastel::BmpRows& rows) {
    const TPixelFormat pf = rows.bitsPerPixel == 1 ? pf1bit
                            : rows.bitsPerPixel == 4 ? pf4bit
                            : rows.bitsPerPixel == 8 ? pf8bit
                                                     : pf24bit;
    std::vector<RGBQUAD> palette;
    for (const rastel::Bgr& c : rows.palette) palette.push_back(Quad(c.r, c.g, c.b));
    Dib dib = MakeDib(rows.width, rows.height, pf, palette);
    for (int y = 0; y < rows.height && dib.bits; ++y) {
        std::uint8_t* row = dib.bits + std::ptrdiff_t(y) * dib.stride;
        std::memcpy(row, rows.Row(y), rows.rowBytes);
        std::memset(row + rows.rowBytes, 0, std::size_t(dib.stride) - rows.rowBytes);
    }
    Install(std::move(dib.bitmap), dib.bits, dib.stride, rows.width, rows.height, pf, std::move(palette));
    sourceBits_ = rows.bitsPerPixel;
    Changed();
}

void TBitmap::Install(UniqueBitmap bitmap, std::uint8_t* bits, int stride, int w, int h, TPixelFormat pf,
                      std::vector<RGBQUAD> palette) {
    // The old DIB is deselected before it is freed.
    selected_.reset();
    bitmap_ = std::move(bitmap);
    bits_ = bits;
    stride_ = stride;
    width_ = w;
    height_ = h;
    format_ = pf;
    palette_ = std::move(palette);
    if (dc_ && bitmap_) selected_ = SelectGuard(dc_.get(), bitmap_.get());
}

void TBitmap::ReadPixels24(rastel::BgrView out) const {
    if (out.width <= 0 || out.height <= 0) return;
    if (out.width > width_ || out.height > height_) throw EListError("pixels outside the bitmap");
    GdiFlush();
    const RowDecoder decoder(format_, palette_);
    for (int y = 0; y < out.height; ++y) decoder.Decode(StoredRow(y), out.width, out.Row(y));
}

void TBitmap::LoadFromBmp(const rastel::BmpImage& image) {
    // A monochrome file stays monochrome: the program's transparency rule
    // for it depends on that. Its bits are packed straight from the decoded
    // rows, with the palette a conversion would choose (its colours in order
    // of appearance, white added to a single one).
    rastel::MonoColours mono;  // count 0: not monochrome
    if (image.bitsPerPixel == 1) mono = rastel::MonoColoursOf(image.View()).value_or(rastel::MonoColours{});
    const TPixelFormat pf = mono.count ? pf1bit : pf24bit;
    std::vector<RGBQUAD> palette;
    for (int i = 0; i < mono.count; ++i) palette.push_back(Quad(mono.colour[i].r, mono.colour[i].g, mono.colour[i].b));
    if (mono.count == 1 && !(mono.colour[0] == rastel::Bgr{255, 255, 255})) palette.push_back(Quad(255, 255, 255));
    Dib dib = MakeDib(image.width, image.height, pf, palette);
    if (dib.bits && mono.count == 2)
        rastel::PackMono(image.View(), mono.colour[1], dib.bits, dib.stride);
    else if (dib.bits && mono.count == 1)
        std::memset(dib.bits, 0, std::size_t(dib.stride) * std::size_t(image.height));
    for (int y = 0; y < image.height && dib.bits && !mono.count; ++y)
        std::memcpy(dib.bits + std::ptrdiff_t(y) * dib.stride, image.pixels.data() + std::size_t(y) * image.stride,
                    std::size_t(image.width) * 3);
    Install(std::move(dib.bitmap), dib.bits, dib.stride, image.width, image.height, pf, std::move(palette));
    sourceBits_ = image.bitsPerPixel;
    Changed();
}

void TBitmap::Assign(const TPersistent& source) {
    const auto* other = AssignSource<TBitmap>(source, "TBitmap");
    if (other == this) return;
    Dib dib = MakeDib(other->width_, other->height_, other->format_, other->palette_);
    if (dib.bits && other->bits_) {
        GdiFlush();
        std::memcpy(dib.bits, other->bits_, std::size_t(dib.stride) * std::size_t(other->height_));
    }
    selected_.reset();
    bitmap_ = std::move(dib.bitmap);
    bits_ = dib.bits;
    stride_ = dib.stride;
    width_ = other->width_;
    height_ = other->height_;
    format_ = other->format_;
    palette_ = other->palette_;
    sourceBits_ = other->sourceBits_;
    transparent_ = other->transparent_;
    if (dc_ && bitmap_) selected_ = SelectGuard(dc_.get(), bitmap_.get());
    Changed();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
    if (Empty()) return;
    HDC dest = canvas.Handle();
    if (!dest) throw EFrameworkError("キャンバスに描画できません");
    HDC src = MemoryDC();
    int dw = rect.right - rect.left, dh = rect.bottom - rect.top;
    int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    if (!transparent_) {
        StretchBlt(dest, rect.left, rect.top, dw, dh, src, 0, 0, width_, height_, SRCCOPY);
    } else {
        // Mask with the transparent pixels white: dest ^= src; dest &= mask; dest ^= src
        // leaves dest where the mask is white and src elsewhere.
        TBitmap mask;
        mask.Assign(*this);
        mask.Mask(TransparentColor());
        HDC maskDC = mask.MemoryDC();
        COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
        COLORREF oldBack = SetBkColor(dest, RGB(255, 255, 255));
        StretchBlt(dest, rect.left, rect.top, dw, dh, src, 0, 0, width_, height_, SRCINVERT);
        StretchBlt(dest, rect.left, rect.top, dw, dh, maskDC, 0, 0, width_, height_, SRCAND);
        StretchBlt(dest, rect.left, rect.top, dw, dh, src, 0, 0, width_, height_, SRCINVERT);
        SetTextColor(dest, oldText);
        SetBkColor(dest, oldBack);
    }
    SetStretchBltMode(dest, oldMode);
}

// ----------------------------------------------------------------- TPicture

const ClassInfo& TPicture::StaticClassInfo() {
    static const ClassInfo info{"TPicture", &TPersistent::StaticClassInfo(), {}, {}};
    return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() { OnChange(this); }

void TPicture::Adopt(std::unique_ptr<TGraphic> g) {
    if (g) g->OnChange.handler = [this](TObject*) { Changed(); };
    graphic_ = std::move(g);
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == graphic_.get() && graphic) return;
    Adopt(graphic ? graphic->Clone() : nullptr);
}

TBitmap& TPicture::Bitmap() {
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        auto fresh = std::make_unique<TBitmap>();
        bitmap = fresh.get();
        Adopt(std::move(fresh));
    }
    return *bitmap;
}

void TPicture::LoadFromFile(const std::string& path) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(path);
    Adopt(std::move(bitmap));
}

void TPicture::Assign(const TPersistent& source) {
    if (auto* p = dynamic_cast<const TPicture*>(&source)) {
        if (p != this) SetGraphic(p->Graphic());
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
        SetGraphic(g);
        return;
    }
    AssignError(source, "TPicture");
}
