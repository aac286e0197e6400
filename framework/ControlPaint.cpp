// Painting of windowed controls (WM_PAINT, double buffering, painting into
// any DC) and the two painted control bases, TCustomControl and TGraphicControl.
#include <algorithm>

#include "framework/Controls.h"

namespace {

// Controls whose canvas holds a window DC outside painting.
std::vector<TWinControl*> borrowedCanvases;

}  // namespace

void FreeDeviceContexts() {
    std::vector<TWinControl*> list;
    list.swap(borrowedCanvases);
    for (TWinControl* c : list) c->ReleaseBorrowedDC();
}

void TWinControl::ReleaseBorrowedDC() {
    if (!borrowedDC_) return;
    if (canvas_ && canvas_->Handle() == borrowedDC_.get()) canvas_->SetHandle(nullptr);
    borrowedDC_.reset();
    borrowedCanvases.erase(std::remove(borrowedCanvases.begin(), borrowedCanvases.end(), this),
                           borrowedCanvases.end());
}

TCanvas& TWinControl::WindowCanvas() {
    if (!canvas_->HandleAllocated()) {
        borrowedDC_ = WindowDC(Handle());
        canvas_->SetHandle(borrowedDC_.get());
        borrowedCanvases.push_back(this);
    }
    return *canvas_;
}

void TWinControl::EraseBackground(HDC dc) {
    if (brush_->Style() == bsClear) return;
    RECT r = ClientRect();
    ::FillRect(dc, &r, brush_->Handle());
}

// The control's own paint over dc, after its background when `erase` asks
// for it, then the non-windowed children that meet clip (all without one).
void TWinControl::PaintLayers(HDC dc, bool erase, const RECT* clip) {
    if (erase && !ControlStyle().Contains(csOpaque))
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    {
        FlagScope painting(painting_, true);
        CanvasOnDC canvas(*canvas_, dc);
        Paint();
    }
    PaintControls(dc, clip);
}

// Double buffered, the background is erased into the memory bitmap; else
// BeginPaint has had the system erase it.
void TWinControl::PaintMessage(TMessage& m) {
    ReleaseBorrowedDC();
    PaintDC paint(handle_);
    const RECT& clip = paint.PaintRect();
    if (doubleBuffered_) {
        RECT client = ClientRect();
        const int w = std::max<LONG>(client.right, 1);
        const int h = std::max<LONG>(client.bottom, 1);
        UniqueDC mem(CreateCompatibleDC(paint.get()));
        UniqueBitmap bitmap(CreateCompatibleBitmap(paint.get(), w, h));
        if (!mem || !bitmap) throw EFrameworkError("out of memory for the paint buffer");
        SelectGuard select(mem.get(), bitmap.get());
        PaintLayers(mem.get(), true, &clip);
        BitBlt(paint.get(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem.get(), clip.left,
               clip.top, SRCCOPY);
    } else {
        PaintLayers(paint.get(), false, &clip);
    }
    m.Result = 0;
}

void TWinControl::PaintControls(HDC dc, const RECT* clip) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        RECT r = g->BoundsRect();
        RECT common;
        if (clip && !IntersectRect(&common, &r, clip)) continue;
        g->PaintTo(dc, r.left, r.top);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    ReleaseBorrowedDC();
    SavedDC saved(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    RECT client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    PaintLayers(dc, true, nullptr);
}

// ------------------------------------------------------------ TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::CreateParams(TCreateParams& params) { TWinControl::CreateParams(params); }

// ----------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc, int x, int y) {
    SavedDC saved(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    CanvasOnDC canvas(*canvas_, dc);
    Paint();
}
