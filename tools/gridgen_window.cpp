// The generator's window. It only turns its controls into the command
// line's arguments: the preview, the cost in rectangles and the file written
// all come from the shared, natively tested code, so what it makes is byte
// for byte what the same command writes.
#include "tools/gridgen_window.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "core/catalog.h"
#include "framework/Text.h"
#include "tools/grid_images.h"

namespace {

constexpr wchar_t kClassName[] = L"RastelGridgenWindow";
constexpr wchar_t kTitle[] = L"rastel-gridgen 方眼を作る";
constexpr wchar_t kBoxTitle[] = L"rastel-gridgen";
constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontHeight96 = 12;
constexpr int kClientWidth = 636, kClientHeight = 448;  // at 96 dpi
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshDelay = 120;  // ms: typing "10" draws once

enum Id : int {
    kNone = 0,
    kColour = 100, kEmphasis, kSize16, kSize8, kSizeBig, kFileName,
    kBySize, kCellWidth, kCellHeight, kByCount, kCellsAcross, kCellsDown, kAreaWidth, kAreaHeight,
    kSwatch, kPickColour, kLine, kStrong, kEvery,
    kDiagonals, kThirds, kGolden, kCentre, kLabels, kNoCells,
    kPreview, kCount, kNote, kCommand, kMake, kDefaultSet, kStatus,
};

// One control of the layout, in 96-dpi client coordinates.
struct Control {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, y, w, h;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT;
constexpr DWORD kNumber = kChild | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
// Radio buttons are checked by the window itself: edits stand between them.
constexpr DWORD kRadio = kChild | WS_TABSTOP | BS_RADIOBUTTON;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;

// In creation order, which is the tab order.
const Control kControls[] = {
    {kNone, L"Button", L"書く場所（Rastel での選び方）", kGroup, 8, 6, 310, 96},
    {kNone, L"Static", L"色", kLabel, 20, 29, 30, 16},
    {kColour, L"ComboBox", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 54, 25, 110, 160},
    {kEmphasis, L"Button", L"強調", kCheck, 180, 26, 80, 20},
    {kSize16, L"Button", L"16升", kRadio | WS_GROUP, 20, 52, 64, 20},
    {kSize8, L"Button", L"8升", kRadio, 90, 52, 64, 20},
    {kSizeBig, L"Button", L"大", kRadio, 160, 52, 64, 20},
    {kFileName, L"Static", L"", kLabel | WS_GROUP, 20, 78, 276, 16},

    {kNone, L"Button", L"升目", kGroup, 8, 108, 310, 104},
    {kBySize, L"Button", L"升の大きさ", kRadio | WS_GROUP, 20, 128, 100, 20},
    {kCellWidth, L"Edit", L"", kNumber, 124, 128, 46, 20},
    {kNone, L"Static", L"×", kLabel, 174, 130, 14, 16},
    {kCellHeight, L"Edit", L"", kNumber, 190, 128, 46, 20},
    {kNone, L"Static", L"ピクセル", kLabel, 240, 130, 60, 16},
    {kByCount, L"Button", L"升の数", kRadio, 20, 154, 100, 20},
    {kCellsAcross, L"Edit", L"10", kNumber, 124, 154, 46, 20},
    {kNone, L"Static", L"×", kLabel, 174, 156, 14, 16},
    {kCellsDown, L"Edit", L"8", kNumber, 190, 154, 46, 20},
    {kNone, L"Static", L"範囲", kLabel | WS_GROUP, 40, 182, 80, 16},
    {kAreaWidth, L"Edit", L"747", kNumber, 124, 180, 46, 20},
    {kNone, L"Static", L"×", kLabel, 174, 182, 14, 16},
    {kAreaHeight, L"Edit", L"529", kNumber, 190, 180, 46, 20},
    {kNone, L"Static", L"ピクセル", kLabel, 240, 182, 60, 16},

    {kNone, L"Button", L"線", kGroup, 8, 218, 310, 80},
    {kNone, L"Static", L"色", kLabel, 20, 242, 40, 16},
    {kSwatch, L"Static", L"", kChild | SS_SUNKEN, 64, 238, 44, 22},
    {kPickColour, L"Button", L"色を選ぶ…", kChild | WS_TABSTOP | BS_PUSHBUTTON, 116, 237, 100, 24},
    {kNone, L"Static", L"太さ", kLabel, 20, 270, 40, 16},
    {kLine, L"Edit", L"1", kNumber, 64, 268, 36, 20},
    {kNone, L"Static", L"ピクセル", kLabel, 104, 270, 56, 16},
    {kStrong, L"Button", L"太い線", kCheck, 170, 268, 66, 20},
    {kEvery, L"Edit", L"5", kNumber, 238, 268, 30, 20},
    {kNone, L"Static", L"升ごと", kLabel, 272, 270, 44, 16},

    {kNone, L"Button", L"補助線", kGroup, 8, 304, 310, 74},
    {kDiagonals, L"Button", L"対角線", kCheck, 20, 324, 90, 20},
    {kThirds, L"Button", L"三分割", kCheck, 118, 324, 96, 20},
    {kGolden, L"Button", L"黄金分割", kCheck, 218, 324, 96, 20},
    {kCentre, L"Button", L"中心線", kCheck, 20, 350, 90, 20},
    {kLabels, L"Button", L"行と列の番号", kCheck, 118, 350, 98, 20},
    {kNoCells, L"Button", L"升目の線なし", kCheck, 218, 350, 96, 20},

    {kNone, L"Static", L"見本（左上の部分、実寸）", kLabel, 330, 8, 300, 16},
    {kPreview, L"Static", L"", kChild | SS_OWNERDRAW, 330, 26, 300, 236},
    {kCount, L"Static", L"", kLabel, 330, 268, 300, 16},
    {kNote, L"Static", L"", kLabel, 330, 286, 300, 58},
    {kMake, L"Button", L"作成", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 330, 348, 96, 28},
    {kDefaultSet, L"Button", L"既定の組を書く", kChild | WS_TABSTOP | BS_PUSHBUTTON, 434, 348, 140, 28},

    {kNone, L"Static", L"同じ指定のコマンド:", kLabel, 8, 388, 130, 16},
    {kCommand, L"Edit", L"", kChild | WS_TABSTOP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, 8, 404, 620, 20},
    {kStatus, L"Static", L"", kLabel, 8, 428, 620, 16},
};

const wchar_t* const kColourNames[] = {L"SkyBlue", L"Black", L"Red", L"Orchid", L"TateGata"};
const wchar_t* const kSizeWords[] = {L"16升", L"8升", L"大"};

// Looked up at run time: Windows before 10 (1607) has neither.
template <class F>
F User32(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int DpiOf(HWND hwnd) {
    static const auto getDpiForWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd)) return int(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void AdjustForDpi(RECT& r, DWORD style, int dpi) {
    static const auto adjust = User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, FALSE, 0, UINT(dpi))) AdjustWindowRectEx(&r, style, FALSE, 0);
}

// 1234567 as "1,234,567".
std::wstring Grouped(std::size_t n) {
    std::wstring digits = std::to_wstring(n);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(std::size_t(i), L",");
    return digits;
}

std::string Hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// An argument as a command prompt needs it.
std::string Quoted(const std::string& a) {
    if (!a.empty() && a.find_first_of(" \t") == std::string::npos) return a;
    std::string quoted(1, '"');
    quoted.append(a).push_back('"');
    return quoted;
}

class GridgenWindow {
public:
    GridgenWindow(std::wstring folder, rastel::GridgenHost host) : folder_(std::move(folder)), host_(std::move(host)) {}
    ~GridgenWindow() {
        if (font_) DeleteObject(font_);
        if (swatch_) DeleteObject(swatch_);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<GridgenWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        try {
            return self->Handle(hwnd, msg, wp, lp);
        } catch (const std::exception& e) {
            const std::wstring text = L"思わぬ誤りが起きました。\nAn unexpected error occurred.\n\n" + Widen(e.what());
            MessageBoxW(hwnd, text.c_str(), kBoxTitle, MB_OK | MB_ICONERROR);
            return 0;
        }
    }

private:
    LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
            case WM_CREATE:
                hwnd_ = hwnd;
                Create();
                return 0;
            case WM_COMMAND:
                Command(LOWORD(wp), HIWORD(wp));
                return 0;
            case WM_TIMER:
                if (wp == kRefreshTimer) {
                    KillTimer(hwnd, kRefreshTimer);
                    Refresh();
                }
                return 0;
            case WM_DRAWITEM:
                if (wp == kPreview) PaintPreview(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
                return TRUE;
            case WM_CTLCOLORSTATIC:
                if (reinterpret_cast<HWND>(lp) == Item(kSwatch)) return reinterpret_cast<LRESULT>(swatch_);
                if (reinterpret_cast<HWND>(lp) == Item(kNote) && noteIsError_) {
                    SetTextColor(reinterpret_cast<HDC>(wp), RGB(192, 0, 0));
                    SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
                    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
                }
                break;
            case WM_DPICHANGED: {
                Scale(HIWORD(wp));
                const RECT* r = reinterpret_cast<const RECT*>(lp);
                SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                return 0;
            }
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Check(int id, bool on) { SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    std::string Text(int id) const {
        std::wstring text(std::size_t(GetWindowTextLengthW(Item(id))) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(Item(id), text.data(), int(text.size()))));
        return Narrow(text);
    }
    void SetText(int id, const std::wstring& text) { SetWindowTextW(Item(id), text.c_str()); }

    void Create() {
        const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
        for (const Control& c : kControls)
            children_.push_back(CreateWindowExW(c.cls == std::wstring(L"Edit") ? WS_EX_CLIENTEDGE : 0, c.cls, c.text,
                                                c.style, 0, 0, 0, 0, hwnd_,
                                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr));
        for (const wchar_t* name : kColourNames)
            SendMessageW(Item(kColour), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendMessageW(Item(kColour), CB_SETCURSEL, 0, 0);
        Check(kSize16, true);
        Check(kBySize, true);
        for (int id : {kCellWidth, kCellHeight, kCellsAcross, kCellsDown, kAreaWidth, kAreaHeight, kLine, kEvery})
            SendMessageW(Item(id), EM_SETLIMITTEXT, 4, 0);
        Scale(DpiOf(hwnd_));
        RECT r{0, 0, S(kClientWidth), S(kClientHeight)};
        AdjustForDpi(r, DWORD(GetWindowLongW(hwnd_, GWL_STYLE)), dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        SlotChanged();
    }

    // Places the controls and sets the font for a resolution.
    void Scale(int dpi) {
        dpi_ = dpi;
        HFONT old = font_;
        font_ = CreateFontW(-MulDiv(kFontHeight96, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const Control& k = kControls[i];
            SendMessageW(children_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
            MoveWindow(children_[i], S(k.x), S(k.y), S(k.w), S(k.h), TRUE);
        }
        if (old) DeleteObject(old);
    }
    int S(int v) const { return MulDiv(v, dpi_, 96); }

    int ColourIndex() const { return int(SendMessageW(Item(kColour), CB_GETCURSEL, 0, 0)); }
    int SizeIndex() const { return Checked(kSize8) ? 1 : Checked(kSizeBig) ? 2 : 0; }
    std::string FileName() const {
        const int size = SizeIndex();
        return rastel::GridImageFileName(ColourIndex(), size == 0, size == 1, size == 2, Checked(kEmphasis));
    }

    // A new place starts from its own picture's cells, line and colour.
    void SlotChanged() {
        const std::string name = FileName();
        rastel::GridOptions only;
        only.only = {name};
        const rastel::GridDrawing own = rastel::PlanGridImages(only).front().drawing;
        SetText(kCellWidth, std::to_wstring(own.cellWidth));
        SetText(kCellHeight, std::to_wstring(own.cellHeight));
        SetText(kLine, std::to_wstring(own.line));
        SetColour(RGB(own.colour.r, own.colour.g, own.colour.b));
        SetText(kFileName, L"ファイル: " + Widen(name));
        Refresh();
    }

    void SetColour(COLORREF c) {
        colour_ = c;
        if (swatch_) DeleteObject(swatch_);
        swatch_ = CreateSolidBrush(c);
        InvalidateRect(Item(kSwatch), nullptr, TRUE);
    }

    void Command(int id, int code) {
        switch (id) {
            case kColour:
                if (code == CBN_SELCHANGE) SlotChanged();
                return;
            case kSize16:
            case kSize8:
            case kSizeBig:
                for (int r : {kSize16, kSize8, kSizeBig}) Check(r, r == id);
                SlotChanged();
                return;
            case kEmphasis:
                SlotChanged();
                return;
            case kBySize:
            case kByCount:
                Check(kBySize, id == kBySize);
                Check(kByCount, id == kByCount);
                Refresh();
                return;
            case kPickColour:
                PickColour();
                return;
            case kMake:
                Make();
                return;
            case kDefaultSet:
                WriteDefaultSet();
                return;
            case kCommand:
                return;
        }
        // Edits and check boxes: draw again once typing pauses.
        if (code == EN_CHANGE || code == BN_CLICKED) SetTimer(hwnd_, kRefreshTimer, kRefreshDelay, nullptr);
    }

    void PickColour() {
        static COLORREF custom[16] = {};
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = hwnd_;
        cc.rgbResult = colour_;
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        if (!ChooseColorW(&cc)) return;
        SetColour(cc.rgbResult);
        Refresh();
    }

    // The command line the controls stand for, writing into `folder`.
    std::vector<std::string> Arguments(const std::string& folder) const {
        std::vector<std::string> a;
        if (Checked(kByCount)) {
            a.insert(a.end(), {"--cells", Text(kCellsAcross) + "x" + Text(kCellsDown)});
            a.insert(a.end(), {"--area", Text(kAreaWidth) + "x" + Text(kAreaHeight)});
        } else {
            a.insert(a.end(), {"--cell", Text(kCellWidth) + "x" + Text(kCellHeight)});
        }
        a.insert(a.end(), {"--color", Hex(colour_), "--line", Text(kLine)});
        if (Checked(kStrong)) a.insert(a.end(), {"--every", Text(kEvery)});
        const std::pair<int, const char*> flags[] = {{kDiagonals, "--diagonals"}, {kThirds, "--thirds"},
                                                     {kGolden, "--golden"},       {kCentre, "--center"},
                                                     {kLabels, "--labels"},       {kNoCells, "--no-cells"}};
        for (const auto& [id, flag] : flags)
            if (Checked(id)) a.push_back(flag);
        a.insert(a.end(), {"--only", FileName(), folder});
        return a;
    }

    // Draws the picture the controls describe, and says what it costs.
    void Refresh() {
        const std::vector<std::string> args = Arguments(".");
        std::string command = "rastel-gridgen";
        for (const std::string& a : args) command.append(1, ' ').append(Quoted(a));
        SetText(kCommand, Widen(command));
        try {
            picture_ = rastel::PreviewGridgen(args);
            const std::size_t n = picture_.windowRectangles;
            SetText(kCount, L"100 % のウィンドウで四角形 " + Grouped(n) + L" 個");
            noteIsError_ = n > rastel::kWineMaxShapeRectangles;
            SetText(kNote, noteIsError_ ? L"Wine の上の Rastel は " + Grouped(rastel::kWineMaxShapeRectangles) +
                                              L" 個を超える形を表示できず、この画像を断ります（Windows では表示できます）。"
                                        : L"");
            EnableWindow(Item(kMake), TRUE);
        } catch (const std::invalid_argument& e) {
            picture_ = {};
            noteIsError_ = true;
            SetText(kCount, L"");
            SetText(kNote, L"この指定では作れません: " + Widen(e.what()));
            EnableWindow(Item(kMake), FALSE);
        }
        InvalidateRect(Item(kPreview), nullptr, FALSE);
    }

    // The picture's top-left part, one screen pixel per picture pixel.
    void PaintPreview(const DRAWITEMSTRUCT& di) const {
        const RECT& r = di.rcItem;
        FillRect(di.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
        const std::vector<std::uint8_t>& f = picture_.bytes;
        if (f.size() > 54) {
            const auto* info = reinterpret_cast<const BITMAPINFO*>(f.data() + 14);
            const DWORD offset = DWORD(f[10]) | DWORD(f[11]) << 8 | DWORD(f[12]) << 16 | DWORD(f[13]) << 24;
            const int width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;  // bottom-up
            const int w = std::min<int>(width, r.right - r.left), h = std::min<int>(height, r.bottom - r.top);
            SetDIBitsToDevice(di.hDC, r.left, r.top, DWORD(w), DWORD(h), 0, height - h, 0, UINT(height),
                              f.data() + offset, info, DIB_RGB_COLORS);
        }
        FrameRect(di.hDC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    }

    void Make() {
        KillTimer(hwnd_, kRefreshTimer);
        Refresh();
        const std::string name = FileName();
        std::ostringstream out, err;
        rastel::GridgenReport report;
        const int status = rastel::RunGridgen(Arguments(Narrow(folder_)), out, err, host_, &report);
        std::cout << out.str() << std::flush;
        std::cerr << err.str() << std::flush;
        const std::wstring file = Widen(name);
        if (status != 0) {
            const std::wstring text = L"書けませんでした。\nThe picture could not be written.\n\n" + Widen(err.str());
            MessageBoxW(hwnd_, text.c_str(), kBoxTitle, MB_OK | MB_ICONERROR);
        } else if (!report.kept.empty()) {
            const std::wstring text =
                file + L" は、このツールが書いた画像ではありません（ご自分の画像です）。置き換えないので、作りませんで"
                       L"した。ここに作るには、そのファイルを消すか別のフォルダーへ移してください。\n\n" +
                file + L" is not a picture this tool wrote (it is your own), so it was not replaced. Delete it or "
                       L"move it elsewhere to make a grid in its place.";
            MessageBoxW(hwnd_, text.c_str(), kBoxTitle, MB_OK | MB_ICONWARNING);
        } else {
            const int colour = ColourIndex();
            std::wstring choice = std::wstring(kColourNames[colour]) + L"、「" + kSizeWords[SizeIndex()] + L"」";
            if (Checked(kEmphasis) && colour != 4) choice += L"、「強調」";
            SetText(kStatus, file + L" を書きました。Rastel で " + choice + L" を選ぶと表示されます。");
        }
    }

    // What a double click did before the window: the default set and a box
    // saying what was written. It also undoes grids made here, so it asks.
    void WriteDefaultSet() {
        const int answer = MessageBoxW(
            hwnd_,
            L"27 枚の既定の方眼画像を書きます。このツールで作った方眼も既定のものに戻ります（ご自分の画像は"
            L"そのままです）。\n\nThis writes the 27 default grid images; grids made with this tool go back to the "
            L"default ones too (pictures of your own are kept).",
            kBoxTitle, MB_OKCANCEL | MB_ICONQUESTION);
        if (answer != IDOK) return;
        std::ostringstream out, err;
        rastel::GridgenReport report;
        const int status = rastel::RunGridgen({Narrow(folder_)}, out, err, host_, &report);
        std::cout << out.str() << std::flush;
        std::cerr << err.str() << std::flush;
        std::wstring text;
        if (status == 0) {
            const std::wstring files = std::to_wstring(report.files);
            const std::wstring folder = Widen(report.folder);
            text = L"グリッド画像 " + files + L" 枚を次のフォルダーに書きました。\n" + folder +
                   L"\nこの 1 組で、100 % から 300 % までのどの表示スケールでも使えます。"
                   L"このツールが書いた同じ名前のファイルは置き換えました。Rastel をこのフォルダーから起動してください。"
                   L"\n\nWrote the " +
                   files + L" grid images into\n" + folder +
                   L"\nThis one set serves every display scale from 100 % to 300 %. Files of the same names that "
                   L"this tool wrote were replaced. Start Rastel from this folder.";
            if (!report.kept.empty()) {
                std::wstring names;
                for (const std::string& name : report.kept) names += L"\n  " + Widen(name);
                text += L"\n\n次の " + std::to_wstring(report.kept.size()) +
                        L" 枚はご自分の画像なので、そのままにしました (消すと次に書きます)。\n" +
                        L"These pictures of your own were kept (delete one to have it written):" + names;
            }
        } else {
            text = L"グリッド画像を書けませんでした。\nThe grid images could not be written.\n\n" + Widen(err.str());
        }
        MessageBoxW(hwnd_, text.c_str(), kBoxTitle, MB_OK | (status == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
        Refresh();
    }

    std::wstring folder_;
    rastel::GridgenHost host_;
    HWND hwnd_ = nullptr;
    std::vector<HWND> children_;  // in kControls' order
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HBRUSH swatch_ = nullptr;
    COLORREF colour_ = 0;
    bool noteIsError_ = false;
    rastel::GridImageFile picture_;
};

}  // namespace

int RunGridgenWindow(HINSTANCE instance, const std::wstring& folder, const rastel::GridgenHost& host) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = GridgenWindow::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;

    GridgenWindow window(folder, host);
    // Sized for its monitor's resolution as it is made (WM_CREATE).
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND hwnd = CreateWindowExW(0, kClassName, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
                                kClientHeight, nullptr, nullptr, instance, &window);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
