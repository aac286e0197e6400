// THiSukeSukeImg (a picture per look blended over the face) and
// THiSukeSukeImgEx (a font and an alignment per caption line).
#include <algorithm>

#include "controls/HiButtonShared.h"

// ------------------------------------------------------------ THiSukeSukeImg

THiSukeSukeImg::THiSukeSukeImg(TComponent* owner) : THiSukeSuke(owner) {
    SetImageBlendRitu(Defaults::ImageBlendRitu);
    offImagePict_ = std::make_unique<TPicture>();
    onImagePict_ = std::make_unique<TPicture>();
    SetOffImgAlignH(Defaults::OffImgAlignH);
    SetOffImgAlignV(Defaults::OffImgAlignV);
    SetOnImgAlignH(Defaults::OnImgAlignH);
    SetOnImgAlignV(Defaults::OnImgAlignV);
}

THiSukeSukeImg::~THiSukeSukeImg() = default;

void THiSukeSukeImg::SetImageBlendRitu(std::uint8_t v) {
    if (StoreIfChanged(imageBlendRitu_, v)) Invalidate();
}
void THiSukeSukeImg::SetImageStretch(bool v) {
    if (StoreIfChanged(imageStretch_, v)) Invalidate();
}
void THiSukeSukeImg::SetOffImgAlignH(TNHAlignment a) {
    if (StoreIfChanged(offImgAlignH_, a)) Invalidate();
}
void THiSukeSukeImg::SetOffImgAlignV(TNVAlignment a) {
    if (StoreIfChanged(offImgAlignV_, a)) Invalidate();
}
void THiSukeSukeImg::SetOnImgAlignH(TNHAlignment a) {
    if (StoreIfChanged(onImgAlignH_, a)) Invalidate();
}
void THiSukeSukeImg::SetOnImgAlignV(TNVAlignment a) {
    if (StoreIfChanged(onImgAlignV_, a)) Invalidate();
}

void THiSukeSukeImg::SetOffImagePict(const TPicture* picture) {
    if (CopyInto(*offImagePict_, picture)) Invalidate();
}

void THiSukeSukeImg::SetOnImagePict(const TPicture* picture) {
    if (CopyInto(*onImagePict_, picture)) Invalidate();
}

void THiSukeSukeImg::DrawImage(THiBitmap& work, const RECT& f) const {
    // At ratio 0 the blend leaves every pixel as it is: no buffer is needed.
    if (imageBlendRitu_ == 0) return;
    const int fw = frameWidth_;
    const int faceWidth = f.right - f.left;
    const int faceHeight = f.bottom - f.top;
    THiBitmap image;
    image.SetWidth(faceWidth);
    image.SetHeight(faceHeight);
    const TPicture* sized = nullptr;
    if (!imageStretch_) {
        if (Raised()) {
            if (offImagePict_->HasGraphic()) sized = offImagePict_.get();
        } else if (onImagePict_->HasGraphic()) {
            sized = onImagePict_.get();
        } else if (offImagePict_->HasGraphic()) {
            sized = offImagePict_.get();
        }
    }
    if (sized) {
        image.SetWidth(sized->Width());
        image.SetHeight(sized->Height());
    }
    const TPicture* chosen = Raised() || !onImagePict_->HasGraphic() ? offImagePict_.get() : onImagePict_.get();
    if (TGraphic* graphic = chosen->Graphic()) {
        if (imageStretch_)
            image.Canvas().StretchDraw(RECT{0, 0, image.Width(), image.Height()}, *graphic);
        else
            image.Canvas().Draw(0, 0, *graphic);
    }

    const int w = image.Width();
    const int h = image.Height();
    const TNHAlignment alignH = Raised() ? offImgAlignH_ : onImgAlignH_;
    const TNVAlignment alignV = Raised() ? offImgAlignV_ : onImgAlignV_;
    int offX = 0;
    if (alignH == haCenter)
        offX = (faceWidth - 2 * fw) / 2 - w / 2;
    else if (alignH == haRight)
        offX = faceWidth - 2 * fw - w;
    int offY = 0;
    if (alignV == vaCenter)
        offY = (faceHeight - 2 * fw) / 2 - h / 2;
    else if (alignV == vaBottom)
        offY = faceHeight - 2 * fw - h;
    offX = std::max(offX, 0);
    offY = std::max(offY, 0);
    // Not clipped to the face: a large image runs over the frame and the
    // bevel, up to the control's edge.
    image.BlendDraw(f.left + fw + offX, f.top + fw + offY, w, h, work, imageBlendRitu_);
}

// ---------------------------------------------------------- THiSukeSukeImgEx

THiSukeSukeImgEx::THiSukeSukeImgEx(TComponent* owner) : THiSukeSukeImg(owner) {
    fontLinePitch_ = Defaults::FontLinePitch;
    font2_ = std::make_unique<TFont>();
    font3_ = std::make_unique<TFont>();
    font2_->OnChange.handler = [this](TObject*) { Perform(CM_FONTCHANGED); };
    font3_->OnChange.handler = [this](TObject*) { Perform(CM_FONTCHANGED); };
    SetCapAlignH2(Defaults::CapAlignH2);
    SetCapAlignH3(Defaults::CapAlignH3);
}

THiSukeSukeImgEx::~THiSukeSukeImgEx() {
    font2_->OnChange.handler = nullptr;
    font3_->OnChange.handler = nullptr;
}

void THiSukeSukeImgEx::ChangeScale(const TFormScaling& s) {
    THiSukeSukeImg::ChangeScale(s);
    using Unit = rastel::DesignValues::Unit;
    font2_->SetHeight(Design().Scale(font2_.get(), font2_->Height(), s, Unit::FontHeight));
    font3_->SetHeight(Design().Scale(font3_.get(), font3_->Height(), s, Unit::FontHeight));
    ScaleOwn(fontLinePitch_, s, [this](int v) { SetFontLinePitch(v); });
}

void THiSukeSukeImgEx::SetFontLinePitch(int v) {
    if (StoreIfChanged(fontLinePitch_, v)) Invalidate();
}
void THiSukeSukeImgEx::SetCapAlignH2(TNHAlignment a) {
    if (StoreIfChanged(capAlignH2_, a)) Invalidate();
}
void THiSukeSukeImgEx::SetCapAlignH3(TNHAlignment a) {
    if (StoreIfChanged(capAlignH3_, a)) Invalidate();
}

void THiSukeSukeImgEx::SetFont2(const TFont* font) {
    if (CopyInto(*font2_, font)) Invalidate();
}

void THiSukeSukeImgEx::SetFont3(const TFont* font) {
    if (CopyInto(*font3_, font)) Invalidate();
}

void THiSukeSukeImgEx::WndProc(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED) {
        THiSukeSukeImg::WndProc(m);
        if (DesignMode()) Invalidate();
        return;
    }
    THiSukeSukeImg::WndProc(m);
}

// Text goes through DrawTextW: lengths are counted in UTF-16 characters, and
// "&" marks the next character as a prefix, as the flags leave it.
void THiSukeSukeImgEx::DrawCaptionLines(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                                        int lineCount) const {
    const UINT a1 = HorizontalFormat(capAlignH_);
    const UINT a2 = HorizontalFormat(capAlignH2_);
    const UINT a3 = HorizontalFormat(capAlignH3_);
    const TStringList& list = CaptionList();
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(*font2_);
    const int h2 = canvas.TextHeight("W");
    canvas.SetFont(*font3_);
    const int h3 = canvas.TextHeight("W");
    canvas.SetFont(*Font());
    const int h1 = canvas.TextHeight("W");
    canvas.Font().SetColor(fontColor);

    const int n = lineCount;
    const int pitch = fontLinePitch_;
    int block = h1;
    if (n >= 3)
        block = h1 + h2 + (n - 2) * h3 + (n - 1) * pitch;
    else if (n == 2)
        block = h1 + h2 + pitch;
    RECT r = CaptionBlockRect(rect, block);
    if (n <= 1) {
        DrawCaptionText(canvas, text, r, a1 | DT_NOCLIP);
        return;
    }
    const bool lookColorForAll = !Raised() || (MouseInside() == 1 && mouseOverColor_->Enabled());
    for (int i = 0; i < n && i < list.Count(); ++i) {
        const UINT format = (i == 1 ? a2 : i == 2 ? a3 : a1) | DT_NOCLIP;
        DrawCaptionText(canvas, list[i], r, format);
        if (i == 0) {
            canvas.SetFont(*font2_);
            r.top += h1 + pitch;
        } else if (i == 1) {
            canvas.SetFont(*font3_);
            r.top += h2 + pitch;
        } else {
            r.top += h3 + pitch;
        }
        if (lookColorForAll) canvas.Font().SetColor(fontColor);
    }
}
