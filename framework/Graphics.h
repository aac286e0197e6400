// Fonts, pens, brushes, canvases and the graphic base over GDI (bitmaps and
// pictures: Bitmap.h).
//
// GDI objects are created lazily from the attributes and always freed; a
// canvas selects them into its DC only for the length of one drawing call,
// so an attribute change can free an old handle at any time.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/color.h"
#include "framework/Classes.h"
#include "framework/Handles.h"
#include "framework/Persistent.h"

// TCanvas has members of these names; the W functions are called explicitly.
#undef DrawText
#undef TextOut

inline RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }
inline POINT Point(int x, int y) { return POINT{x, y}; }

// ---------------------------------------------------------------- colours

// Colour constants live in core/color.h; "no colour" for optional colours.
inline constexpr TColor clNone = 0x1FFFFFFF;

// The colour as a GDI COLORREF (system colours resolved now).
inline COLORREF ColorRef(TColor c) { return rastel::ColorToRGB(c); }

// Form-description spelling: a known name (clRed, clBtnFace ..., from the
// core's name table) or decimal.
// Accepts a colour name, a decimal number or $hex; nullopt when neither.
std::optional<TColor> StringToColor(const std::string& s);
// Colour names only (no number formatting); nullopt for an unnamed value.
std::optional<std::string> ColorToIdent(TColor c);

// Character sets by name: SHIFTJIS_CHARSET, DEFAULT_CHARSET, ANSI_CHARSET ...
std::optional<std::string> CharsetToIdent(int charset);
std::optional<int> IdentToCharset(const std::string& ident);

// Fills core's system colour table from GetSysColor. The application calls it
// at start and on WM_SYSCOLORCHANGE.
void LoadSystemColors();

// The user runs a high-contrast theme (SPI_GETHIGHCONTRAST): what has
// colours of its own is then drawn in the system's window colours
// (clWindowText on clWindow), which the theme chose to be readable.
bool HighContrast();
// Tests: pretend the theme on or off; none: ask the system.
void PretendHighContrast(std::optional<bool> on);

// ------------------------------------------------------------------ fonts

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// True when a font family of that face name is installed (any charset).
bool FontFaceExists(const std::string& face);
// The face a TFont really asks GDI for: the name itself when installed;
// for a missing Japanese face (or SHIFTJIS_CHARSET) the system's Japanese
// font (JapaneseFallbackFace);
// otherwise the name unchanged (GDI picks its own substitute).
std::string ResolveFontFace(const std::string& face, int charset);
// What a missing Japanese face falls back to: the first installed face of a
// list of Japanese UI fonts, else the first face of shiftJisFaces() (the
// Shift-JIS faces in the system's order) that is not a vertical "@" variant;
// empty when there is none.
std::string JapaneseFallbackFace(const std::function<bool(const std::string&)>& installed,
                                 const std::function<std::vector<std::string>()>& shiftJisFaces);

class TFont : public TPersistent {
    RASTEL_CLASS_INFO
public:
    // Default attributes: "ＭＳ Ｐゴシック", height -12, DEFAULT_CHARSET,
    // clWindowText, no style, PixelsPerInch of the screen.
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points, through PixelsPerInch: Size = -Height * 72 / PixelsPerInch (rounded).
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);  // does not raise OnChange, keeps Height
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);

    // Created on first use; recreated after an attribute change. Owned by the font.
    HFONT Handle() const;
    // Name, Height, Charset, Color, Style (and PixelsPerInch) from another
    // TFont; OnChange fires exactly once. The handle is kept when only the
    // colour differs.
    void Assign(const TPersistent& source) override;
    bool SameAttributes(const TFont& other) const;

    // Fires after every attribute change (sender: this font).
    TNotifyEvent OnChange;

private:
    void Changed(bool handleAttribute);
    std::string name_;
    int height_ = -12;
    int pixelsPerInch_ = 96;
    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_{};
    mutable UniqueFont handle_;
};

// The GDI object of a pen or brush, made when first asked for and made again
// once its attributes changed (Reset) or its colour resolves to another RGB
// (a system colour under a changed scheme).
template <class H>
class ColorObjectCache {
public:
    template <class Make>
    H Get(TColor color, Make make) const {
        const COLORREF rgb = ColorRef(color);
        if (handle_ && resolved_ != rgb) handle_.reset();
        if (!handle_) {
            resolved_ = rgb;
            handle_.reset(make(rgb));
        }
        return handle_.get();
    }
    void Reset() { handle_.reset(); }

private:
    mutable UniqueHandle<H, GdiObjectDeleter> handle_;
    mutable COLORREF resolved_ = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TPersistent {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr TColor Color = clBlack;
        static constexpr TPenStyle Style = psSolid;
        static constexpr int Width = 1;
    };

    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);  // below 1 counts as 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    HPEN Handle() const;
    void Assign(const TPersistent& source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor color_ = Defaults::Color;
    int width_ = Defaults::Width;
    TPenStyle style_ = Defaults::Style;
    ColorObjectCache<HPEN> handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr TColor Color = clWhite;
        static constexpr TBrushStyle Style = bsSolid;
    };

    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    TColor Color() const { return color_; }
    // Also makes the brush solid.
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    // bsClear gives the stock NULL_BRUSH.
    HBRUSH Handle() const;
    void Assign(const TPersistent& source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor color_ = Defaults::Color;
    TBrushStyle style_ = Defaults::Style;
    ColorObjectCache<HBRUSH> handle_;
};

// --------------------------------------------------------------- canvases

class TGraphic;

// Drawing surface over a DC it does not own (a paint DC, a window DC, or a
// bitmap's memory DC). Pen, brush and font are selected only during each call
// and the previous objects restored afterwards; text colour and background
// mode are set from Font and Brush for text calls.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    // Copies the attributes (never adopts the object).
    void SetFont(const TFont& f) { font_.Assign(f); }

    POINT PenPos() const { return penPos_; }
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y), the end point excluded, as GDI does.
    void LineTo(int x, int y);
    // Outline in the pen, inside filled with the brush (nothing with bsClear);
    // covers left..right-1, top..bottom-1 for a 1-pixel pen.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // One-pixel border in the brush colour (no fill).
    void FrameRect(const RECT& r);
    // Fills the rectangle (right and bottom excluded) with the brush.
    void FillRect(const RECT& r);

    TColor Pixel(int x, int y) const;  // RGB; CLR_INVALID outside the surface
    void SetPixel(int x, int y, TColor c);

    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void TextOut(int x, int y, const std::string& text);
    // DrawTextW with the given DT_* flags (prefix "&" handling, DT_NOCLIP,
    // DT_CALCRECT ... as DrawText does). Returns the text height.
    int DrawText(const std::string& text, RECT& rect, UINT flags);
    int DrawText(const std::string& text, const RECT& rect, UINT flags) {
        RECT r = rect;
        return DrawText(text, r, flags);
    }

    // Copies srcRect of source into destRect (stretched when sizes differ).
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect);
    // The graphic at its own size with its top-left at (x, y).
    void Draw(int x, int y, TGraphic& graphic);
    // The graphic stretched into rect.
    void StretchDraw(const RECT& rect, TGraphic& graphic);

    // Fires after each drawing call (sender: nullptr); bitmaps hook it.
    TEvent<void()> OnChange;

protected:
    void Changed();

private:
    HDC dc_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    POINT penPos_{0, 0};
};

// The canvas over a DC for a scope (one paint), and back to none afterwards,
// also when the paint throws.
class CanvasOnDC {
public:
    CanvasOnDC(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~CanvasOnDC() { canvas_.SetHandle(nullptr); }
    CanvasOnDC(const CanvasOnDC&) = delete;
    CanvasOnDC& operator=(const CanvasOnDC&) = delete;

private:
    TCanvas& canvas_;
};

// ---------------------------------------------------------------- graphics

class TGraphic : public TPersistent {
    RASTEL_CLASS_INFO
public:
    ~TGraphic() override = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int w) = 0;
    virtual void SetHeight(int h) = 0;
    // No image: either side is 0.
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    // Draws the whole graphic stretched into rect of the canvas.
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Drawn with the pixels of the bottom-left pixel's colour left out.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // Raises OnChange (sender: this graphic).
    virtual void Changed();
    TNotifyEvent OnChange;

protected:
    bool transparent_ = false;
};
