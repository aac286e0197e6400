#include "framework/Graphics.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <unordered_map>

#include "framework/Dpi.h"
#include "framework/PropertyHelpers.h"
#include "framework/Text.h"

// ------------------------------------------------------------- colour names

std::optional<std::string> ColorToIdent(TColor c) {
    std::string_view name = rastel::ColorName(c);
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

static std::optional<std::int64_t> ParseNumber(const std::string& s) {
    if (s.empty()) return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        i = 1;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= s.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        char ch = s[i];
        int d;
        if (ch >= '0' && ch <= '9') d = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
        else return std::nullopt;
        if (v > (INT64_MAX - d) / base) return std::nullopt;
        v = v * base + d;
    }
    return negative ? -v : v;
}

std::optional<TColor> StringToColor(const std::string& s) {
    if (auto c = rastel::ColorFromName(s)) return c;
    auto n = ParseNumber(s);
    if (!n || *n < INT32_MIN || *n > std::int64_t(UINT32_MAX)) return std::nullopt;
    return TColor(std::uint32_t(*n));
}

namespace {
struct CharsetName {
    int value;
    const char* name;
};
constexpr CharsetName kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},         {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},     {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},       {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},   {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},     {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},     {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},         {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};
}  // namespace

std::optional<std::string> CharsetToIdent(int charset) {
    for (const CharsetName& c : kCharsets)
        if (c.value == charset) return std::string(c.name);
    return std::nullopt;
}

std::optional<int> IdentToCharset(const std::string& ident) {
    for (const CharsetName& c : kCharsets)
        if (ident == c.name) return c.value;
    return std::nullopt;
}


// -------------------------------------------------------------------- fonts

namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM out) {
    reinterpret_cast<std::vector<std::string>*>(out)->push_back(Narrow(lf->lfFaceName));
    return 1;
}

std::vector<std::string> ShiftJisFaces() {
    LOGFONTW lf{};
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::vector<std::string> faces;
    WindowDC dc(nullptr);
    EnumFontFamiliesExW(dc.get(), &lf, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

bool FaceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    WindowDC dc(nullptr);
    EnumFontFamiliesExW(dc.get(), &lf, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

bool LooksJapanese(const std::string& face) {
    if (face == "MS PGothic" || face == "MS Gothic" || face == "MS UI Gothic" || face == "MS PMincho" ||
        face == "MS Mincho" || face == "Meiryo" || face == "Meiryo UI")
        return true;
    // Any face spelt with non-ASCII characters is taken for a Japanese one here.
    return std::any_of(face.begin(), face.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

bool FontFaceExists(const std::string& face) { return FaceInstalled(Widen(face)); }

std::string JapaneseFallbackFace(const std::function<bool(const std::string&)>& installed,
                                 const std::function<std::vector<std::string>()>& shiftJisFaces) {
    // The first four come with Windows' Japanese supplemental fonts, which a
    // Windows of another language lacks; Yu Gothic is on every Windows 10 and
    // 11; the rest are what Linux systems under Wine offer, the one drawn
    // to "ＭＳ Ｐゴシック"'s widths first.
    static const char* const kJapanese[] = {"MS UI Gothic", "MS PGothic", "Meiryo UI",    "Meiryo",
                                            "Yu Gothic UI", "Yu Gothic",  "Ume P Gothic", "IPAPGothic",
                                            "IPAGothic",    "VL PGothic", "Noto Sans CJK JP"};
    for (const char* candidate : kJapanese)
        if (installed(candidate)) return candidate;
    // A vertical variant ("@" face) draws every character on its side.
    for (const std::string& f : shiftJisFaces())
        if (!f.empty() && f[0] != '@') return f;
    return {};
}

std::string ResolveFontFace(const std::string& face, int charset) {
    static std::map<std::pair<std::string, int>, std::string> cache;
    auto key = std::make_pair(face, charset);
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::string resolved = face;
    if (!FontFaceExists(face) && (charset == SHIFTJIS_CHARSET || LooksJapanese(face))) {
        std::string fallback = JapaneseFallbackFace(FontFaceExists, ShiftJisFaces);
        if (!fallback.empty()) resolved = fallback;
    }
    cache.emplace(key, resolved);
    return resolved;
}

static const std::vector<std::string> kFontStyleNames = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

const ClassInfo& TFont::StaticClassInfo() {
    static const ClassInfo info{
        "TFont",
        &TPersistent::StaticClassInfo(),
        {
            CharsetProperty<TFont>("Charset", &TFont::Charset, &TFont::SetCharset, std::nullopt),
            ColorProperty<TFont>("Color", &TFont::Color, &TFont::SetColor, std::nullopt),
            IntProperty<TFont>("Height", &TFont::Height, &TFont::SetHeight, std::nullopt),
            StringProperty<TFont>("Name", &TFont::Name, &TFont::SetName, std::nullopt),
            SetProperty<TFont, TFontStyle>("Style", kFontStyleNames, &TFont::Style, &TFont::SetStyle, std::nullopt),
        },
        {}};
    return info;
}

TFont::TFont() : name_("ＭＳ Ｐゴシック"), pixelsPerInch_(ScreenDpi()) {}
TFont::~TFont() = default;

void TFont::Changed(bool handleAttribute) {
    if (handleAttribute) handle_.reset();
    OnChange(this);
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed(true);
}
void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed(true);
}
int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }
void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0) pixelsPerInch_ = ppi;
}
void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed(true);
}
void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed(false);
}
void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed(true);
}

bool TFont::SameAttributes(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
           style_ == o.style_ && pixelsPerInch_ == o.pixelsPerInch_;
}

void TFont::Assign(const TPersistent& source) {
    const auto* f = AssignSource<TFont>(source, "TFont");
    if (f == this) {
        Changed(false);
        return;
    }
    bool handleChanges = name_ != f->name_ || height_ != f->height_ || charset_ != f->charset_ || style_ != f->style_;
    name_ = f->name_;
    height_ = f->height_;
    charset_ = f->charset_;
    color_ = f->color_;
    style_ = f->style_;
    pixelsPerInch_ = f->pixelsPerInch_;
    Changed(handleChanges);
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(fsItalic);
        lf.lfUnderline = style_.Contains(fsUnderline);
        lf.lfStrikeOut = style_.Contains(fsStrikeOut);
        lf.lfCharSet = BYTE(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        std::wstring face = Widen(ResolveFontFace(name_, charset_));
        std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        handle_.reset(CreateFontIndirectW(&lf));
        if (!handle_) throw EFrameworkError("フォントを作成できません");
    }
    return handle_.get();
}

// --------------------------------------------------------------- pens, brushes

const ClassInfo& TPen::StaticClassInfo() {
    static const ClassInfo info{
        "TPen",
        &TPersistent::StaticClassInfo(),
        {
            ColorProperty<TPen>("Color", &TPen::Color, &TPen::SetColor, TPen::Defaults::Color),
            EnumProperty<TPen, TPenStyle>("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"},
                                          &TPen::Style, &TPen::SetStyle, TPen::Defaults::Style),
            IntProperty<TPen>("Width", &TPen::Width, &TPen::SetWidth, TPen::Defaults::Width),
        },
        {}};
    return info;
}

void TPen::Changed() {
    handle_.Reset();
    OnChange(this);
}
void TPen::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TPen::SetWidth(int w) {
    w = std::max(w, 1);
    if (w == width_) return;
    width_ = w;
    Changed();
}
void TPen::SetStyle(TPenStyle s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TPen::Assign(const TPersistent& source) {
    const auto* p = AssignSource<TPen>(source, "TPen");
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    Changed();
}
HPEN TPen::Handle() const {
    if (style_ == psClear) return static_cast<HPEN>(GetStockObject(NULL_PEN));
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    const HPEN pen = handle_.Get(color_, [this](COLORREF rgb) { return CreatePen(kStyles[style_], width_, rgb); });
    if (!pen) throw EFrameworkError("ペンを作成できません");
    return pen;
}

const ClassInfo& TBrush::StaticClassInfo() {
    static const ClassInfo info{
        "TBrush",
        &TPersistent::StaticClassInfo(),
        {
            ColorProperty<TBrush>("Color", &TBrush::Color, &TBrush::SetColor, TBrush::Defaults::Color),
            EnumProperty<TBrush, TBrushStyle>("Style", {"bsSolid", "bsClear"}, &TBrush::Style, &TBrush::SetStyle,
                                              TBrush::Defaults::Style),
        },
        {}};
    return info;
}

void TBrush::Changed() {
    handle_.Reset();
    OnChange(this);
}
void TBrush::SetColor(TColor c) {
    if (c == color_ && style_ == bsSolid) return;
    color_ = c;
    style_ = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TBrush::Assign(const TPersistent& source) {
    const auto* b = AssignSource<TBrush>(source, "TBrush");
    color_ = b->color_;
    style_ = b->style_;
    Changed();
}
HBRUSH TBrush::Handle() const {
    if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    const HBRUSH brush = handle_.Get(color_, [](COLORREF rgb) { return CreateSolidBrush(rgb); });
    if (!brush) throw EFrameworkError("ブラシを作成できません");
    return brush;
}

// ------------------------------------------------------------------ canvas

namespace {
[[noreturn]] void NoDrawing() { throw EFrameworkError("キャンバスに描画できません"); }
}  // namespace

TCanvas::TCanvas(HDC dc) : dc_(dc) {}
TCanvas::~TCanvas() = default;

void TCanvas::Changed() { OnChange(); }

void TCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    if (!dc_) NoDrawing();
    SelectGuard pen(dc_, pen_.Handle());
    MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
    ::LineTo(dc_, x, y);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!dc_) NoDrawing();
    SelectGuard pen(dc_, pen_.Handle());
    SelectGuard brush(dc_, brush_.Handle());
    ::Rectangle(dc_, left, top, right, bottom);
    Changed();
}

void TCanvas::FrameRect(const RECT& r) {
    if (!dc_) NoDrawing();
    if (brush_.Style() != bsClear) ::FrameRect(dc_, &r, brush_.Handle());
    Changed();
}

void TCanvas::FillRect(const RECT& r) {
    if (!dc_) NoDrawing();
    if (brush_.Style() != bsClear) ::FillRect(dc_, &r, brush_.Handle());
    Changed();
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!dc_) return CLR_INVALID;
    return ::GetPixel(dc_, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (!dc_) NoDrawing();
    ::SetPixelV(dc_, x, y, ColorRef(c));
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{0, 0};
    if (!dc_) NoDrawing();
    SelectGuard font(dc_, font_.Handle());
    std::wstring w = Widen(text);
    GetTextExtentPoint32W(dc_, w.c_str(), int(w.size()), &size);
    return size;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!dc_) NoDrawing();
    SelectGuard font(dc_, font_.Handle());
    SetTextColor(dc_, ColorRef(font_.Color()));
    if (brush_.Style() == bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorRef(brush_.Color()));
    }
    std::wstring w = Widen(text);
    ::TextOutW(dc_, x, y, w.c_str(), int(w.size()));
    penPos_ = {x + TextWidth(text), y};
    Changed();
}

int TCanvas::DrawText(const std::string& text, RECT& rect, UINT flags) {
    if (!dc_) NoDrawing();
    SelectGuard font(dc_, font_.Handle());
    SetTextColor(dc_, ColorRef(font_.Color()));
    if (brush_.Style() == bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorRef(brush_.Color()));
    }
    std::wstring w = Widen(text);
    int h = ::DrawTextW(dc_, w.c_str(), int(w.size()), &rect, flags);
    if (!(flags & DT_CALCRECT)) Changed();
    return h;
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect) {
    if (!dc_ || !source.dc_) NoDrawing();
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    int sw = srcRect.right - srcRect.left, sh = srcRect.bottom - srcRect.top;
    if (dw == sw && dh == sh) {
        BitBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, srcRect.left, srcRect.top, SRCCOPY);
    } else {
        int old = SetStretchBltMode(dc_, COLORONCOLOR);
        StretchBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, srcRect.left, srcRect.top, sw, sh, SRCCOPY);
        SetStretchBltMode(dc_, old);
    }
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, RECT{x, y, x + graphic.Width(), y + graphic.Height()});
    Changed();
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, rect);
    Changed();
}

// ----------------------------------------------------------------- TGraphic

const ClassInfo& TGraphic::StaticClassInfo() {
    static const ClassInfo info{"TGraphic", &TPersistent::StaticClassInfo(), {}, {}};
    return info;
}

void TGraphic::SetTransparent(bool on) {
    if (on == transparent_) return;
    transparent_ = on;
    Changed();
}

void TGraphic::Changed() { OnChange(this); }
