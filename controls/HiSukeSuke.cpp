// THiSukeSuke: the bevelled button blended over a snapshot of its form.
#include <algorithm>
#include <cmath>

#include "controls/HiButtonShared.h"
#include "framework/Forms.h"

namespace {

bool IsFormClassName(const TControl* c) { return c->ClassName().compare(0, 5, "TForm") == 0; }

// What a window shows now, to read from: forms and custom-drawn controls
// have a canvas; a control without a window has drawn nothing.
TCanvas* CanvasOf(TWinControl* w) {
    if (!w->HandleAllocated()) return nullptr;
    if (auto* form = dynamic_cast<TForm*>(w)) return form->Canvas();
    if (auto* custom = dynamic_cast<TCustomControl*>(w)) return custom->Canvas();
    return nullptr;
}

// Slopes are floating-point quotients; the product is truncated toward zero.
int Cut(int step, int rise, int run) { return int(std::trunc(double(step) * (double(rise) / double(run)))); }

constexpr TColor kSlideShadowColor = 0x777777;
constexpr TColor kFocusOnBlackEdgeColor = 0x884444;  // dark blue: red 0x44, green 0x44, blue 0x88

}  // namespace

// --------------------------------------------------------------- THiSukeSuke

THiSukeSuke::THiSukeSuke(TComponent* owner) : THiButtonBase(owner) {
    SetBlendRitu(Defaults::BlendRitu);
    background_ = std::make_unique<THiBitmap>();
}

THiSukeSuke::~THiSukeSuke() = default;

void THiSukeSuke::SetBlendRitu(std::uint8_t v) {
    if (StoreIfChanged(blendRitu_, v)) Invalidate();
}

void THiSukeSuke::SetCapDrawLayer(TCapDrawLayer v) {
    if (StoreIfChanged(capDrawLayer_, v)) Invalidate();
}

void THiSukeSuke::FocusChanged(TWinControl* focused) {
    focused_ = focused == this;
    Invalidate();
}

void THiSukeSuke::WndProc(TMessage& m) {
    if (m.Msg == CM_FOCUSCHANGED) FocusChanged(reinterpret_cast<TWinControl*>(m.LParam));
    THiButtonBase::WndProc(m);
}

TFaceColors THiSukeSuke::SelectFaceColors() const {
    const bool over = MouseInside() == 1 && mouseOverColor_->Enabled();
    TFaceColors k;
    if (Raised()) {
        k.TopLeft = highlightColor_;
        k.BottomRight = shadowColor_;
        k.Font = over ? mouseOverColor_->OffFontColor() : Font()->Color();
        k.Face = over ? mouseOverColor_->OffFaceColor() : offFaceColor_;
        k.Frame = over ? mouseOverColor_->OffFrameColor() : offFrameColor_;
    } else {
        k.TopLeft = onShadowColor_;
        k.BottomRight = onHighlightColor_;
        k.Font = over ? mouseOverColor_->OnFontColor() : onFontColor_;
        k.Face = over ? mouseOverColor_->OnFaceColor() : onFaceColor_;
        k.Frame = over ? mouseOverColor_->OnFrameColor() : onFrameColor_;
    }
    return k;
}

void THiSukeSuke::SetBounds(int left, int top, int width, int height) {
    if (width != Width()) asked_.cx = width;
    if (height != Height()) asked_.cy = height;
    const int minimum = bevelWidth_ + frameWidth_ + MinimumSizeExtra();
    THiButtonBase::SetBounds(left, top, std::max(int(asked_.cx), minimum), std::max(int(asked_.cy), minimum));
}

void THiSukeSuke::KeepMinimumSize() { SetBounds(Left(), Top(), Width(), Height()); }

void THiSukeSuke::BeforePaint() {
    if (!firstPaintDone_ && !DesignMode()) CaptureBackground();
}

// The snapshot is taken once, whatever it finds: FirstPaintDone goes first.
void THiSukeSuke::CaptureBackground() {
    firstPaintDone_ = 1;
    const RECT c = ClientRect();
    background_->SetSize(c.right - c.left, c.bottom - c.top);
    TWinControl* parent = Parent();
    if (!parent) return;
    TWinControl* form = nullptr;
    RECT source{};
    if (IsFormClassName(parent)) {
        form = parent;
        source = BoundsRect();
    } else {
        int x = Left() + parent->Left();
        int y = Top() + parent->Top();
        TWinControl* a = parent->Parent();
        while (a && !IsFormClassName(a)) {
            x += a->Left();
            y += a->Top();
            a = a->Parent();
        }
        if (!a) return;
        form = a;
        source = RECT{x, y, x + Width(), y + Height()};
    }
    TCanvas* formCanvas = CanvasOf(form);
    if (!formCanvas || background_->Empty()) return;
    background_->Canvas().CopyRect(c, *formCanvas, source);
}

RECT THiSukeSuke::FaceRect(const RECT& c) const {
    int top = c.top + bevelWidth_ + bevelHeightMargin_ + bevelTopMargin_;
    int bottom = c.bottom - bevelWidth_ - bevelHeightMargin_ + bevelTopMargin_;
    int left = c.left + bevelWidth_ + bevelWidthMargin_ + bevelLeftMargin_;
    int right = c.right - bevelWidth_ - bevelWidthMargin_ + bevelLeftMargin_;
    if (!Raised()) {
        top += onSlideSize_;
        bottom += onSlideSize_;
        left += onSlideSize_;
        right += onSlideSize_;
    }
    top = std::max(top, int(c.top));
    bottom = std::min(bottom, int(c.bottom));
    left = std::max(left, int(c.left));
    right = std::min(right, int(c.right));
    return RECT{left, top, right, bottom};
}

THiArea THiSukeSuke::FaceArea() const {
    const RECT f = FaceRect(ClientRect());
    return THiArea{f.top, f.bottom, f.left, f.right};
}

void THiSukeSuke::DrawBevel(TColor topLeft, TColor bottomRight, THiBitmap& buffer) const {
    const THiArea o = ClientArea();
    const THiArea i = FaceArea();
    const int L0 = o.Left, T0 = o.Top, R0 = o.Right, B0 = o.Bottom;
    const int L1 = i.Left, T1 = i.Top, R1 = i.Right, B1 = i.Bottom;
    const std::uint8_t ratio = blendRitu_;
    // Mitred at the bottom-left and top-right corners; the top-left square is
    // the left bevel's, the bottom-right square the right bevel's.
    for (int x = L0; x < L1; ++x) {
        const int d = Cut(x - L0, B0 - B1, L1 - L0);
        buffer.BlendFill(x, T0, 1, B0 - T0 - d, topLeft, ratio);
    }
    for (int y = T0; y < T1; ++y) {
        const int d = Cut(y - T0, R0 - R1, T1 - T0);
        buffer.BlendFill(L1, y, R0 - L1 - d, 1, topLeft, ratio);
    }
    for (int x = R1; x < R0; ++x) {
        const int d = Cut(x - R1, T1 - T0, R0 - R1);
        buffer.BlendFill(x, T1 - d, 1, B0 - T1 + d, bottomRight, ratio);
    }
    for (int y = B1; y < B0; ++y) {
        const int d = Cut(y - B1, L1 - L0, B0 - B1);
        buffer.BlendFill(L1 - d, y, R1 - L1 + d, 1, bottomRight, ratio);
    }

    if (edgeDraw_) {
        TCanvas& canvas = buffer.Canvas();
        canvas.Pen().SetColor(edgeColor_);
        canvas.Pen().SetWidth(1);
        canvas.MoveTo(L0, T0);
        canvas.LineTo(L1, T1);
        canvas.MoveTo(L0, B0);
        canvas.LineTo(L1, B1);
        canvas.MoveTo(R0, T0);
        canvas.LineTo(R1, T1);
        canvas.MoveTo(R0, B0);
        canvas.LineTo(R1, B1);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(L0, T0, R0, B0);
        canvas.Rectangle(L1, T1, R1, B1);
    }

    // Pressed with a slide: the rows and columns the face moved away from are shaded.
    if (onSlideSize_ != 0 && !Raised()) {
        for (int x = L0; x < L1 && x - L0 < onSlideSize_; ++x) {
            const int d = Cut(x - L0, B0 - B1, L1 - L0);
            buffer.BlendFill(x, T0, 1, B0 - T0 - d, kSlideShadowColor, 255);
        }
        for (int y = T0; y < T1 && y - T0 < onSlideSize_; ++y) {
            const int d = Cut(y - T0, R0 - R1, T1 - T0);
            buffer.BlendFill(L0, y, R0 - L0 - d, 1, kSlideShadowColor, 255);
        }
        if (onSlideSize_ > 0 && R1 <= R0 - 1) buffer.BlendFill(R0 - 1, T0, 1, B0, kSlideShadowColor, 255);
        if (onSlideSize_ > 0 && B1 <= B0 - 1) buffer.BlendFill(L0, B0 - 1, R0, 1, kSlideShadowColor, 255);
    }
}

// Four strips that tile the ring of width FrameWidth inside the face.
void THiSukeSuke::DrawFrame(const RECT& f, TColor color, THiBitmap& buffer) const {
    const int fw = frameWidth_;
    const std::uint8_t ratio = blendRitu_;
    buffer.BlendFill(f.left, f.top, fw, f.bottom - f.top - fw, color, ratio);
    buffer.BlendFill(f.left + fw, f.top, f.right - f.left - fw, fw, color, ratio);
    buffer.BlendFill(f.left, f.bottom - fw, f.right - f.left - fw, fw, color, ratio);
    buffer.BlendFill(f.right - fw, f.top + fw, fw, f.bottom - f.top - fw, color, ratio);
}

void THiSukeSuke::DrawFocusMark(THiBitmap& buffer) const {
    if (!focused_) return;
    TCanvas& canvas = buffer.Canvas();
    canvas.Pen().SetColor(edgeDraw_ && edgeColor_ == 0 ? kFocusOnBlackEdgeColor : clBlack);
    canvas.Brush().SetStyle(bsClear);
    const THiArea o = ClientArea();
    const THiArea i = FaceArea();
    canvas.Rectangle(o.Left, o.Top, o.Right, o.Bottom);
    if (i.Right - i.Left >= 7 && i.Bottom - i.Top >= 7) DrawFocusDots(buffer);
}

void THiSukeSuke::DrawFocusDots(THiBitmap& buffer) const {
    TCanvas& canvas = buffer.Canvas();
    const THiArea i = FaceArea();
    const int L1 = i.Left, T1 = i.Top, R1 = i.Right, B1 = i.Bottom;
    for (int row : {T1 + 3, B1 - 3})
        for (int x = L1 + 3; x <= R1 - 3; x += 2) canvas.SetPixel(x, row, clBlack);
    for (int column : {L1 + 3, R1 - 3})
        for (int y = T1 + 3; y <= B1 - 3; y += 2) canvas.SetPixel(column, y, clBlack);
}

// Background, bevel, edge lines, slide shadow, frame, caption (dlInner),
// face, image, focus marks; then one copy to the target and the caption on
// top (dlTop).
void THiSukeSuke::Compose(TCanvas& canvas) const {
    const RECT c = ClientRect();
    const RECT f = FaceRect(c);
    const int width = c.right - c.left;
    const int height = c.bottom - c.top;

    std::string text;
    int lineCount = 0;
    TFaceColors k;
    {
        // A new buffer is white: where nothing was captured the face blends over white.
        THiBitmap work;
        work.SetSize(width, height);
        // Read as 24-bit rows whatever the snapshot's format was turned into.
        const rastel::BgrView snapshot = background_->View24();
        const int copyWidth = std::min(width, snapshot.width);
        const int copyHeight = std::min(height, snapshot.height);
        if (copyWidth > 0)
            for (int y = 0; y < copyHeight; ++y)
                std::copy_n(snapshot.Row(y), std::size_t(copyWidth) * 3, work.ScanLine(y));

        k = SelectFaceColors();
        DrawBevel(k.TopLeft, k.BottomRight, work);
        DrawFrame(f, k.Frame, work);

        const TStringList& list = CaptionList();
        text = list.Text();
        lineCount = list.Count();
        if (capDrawLayer_ == dlInner) DrawCaptionBlock(work.Canvas(), text, f, k.Font, lineCount);

        const int fw = frameWidth_;
        work.BlendFill(f.left + fw, f.top + fw, f.right - f.left - 2 * fw, f.bottom - f.top - 2 * fw, k.Face,
                       blendRitu_);
        DrawImage(work, f);
        DrawFocusMark(work);
        canvas.StretchDraw(c, work);
    }
    if (capDrawLayer_ == dlTop) DrawCaptionBlock(canvas, text, f, k.Font, lineCount);
}
