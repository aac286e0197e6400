#include "framework/ExtCtrls.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange.handler = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange.handler = nullptr; }

void TImage::SetAutoSize(bool on) {
    if (autoSize_ == on) return;
    autoSize_ = on;
    if (on) PictureChanged();
}

void TImage::PictureChanged() {
    const TGraphic* g = picture_->Graphic();
    if (autoSize_ && g && g->Width() > 0 && g->Height() > 0) SetBounds(Left(), Top(), g->Width(), g->Height());
    Invalidate();
}

void TImage::ChangeScale(const TFormScaling& s) {
    TGraphicControl::ChangeScale(s);
    if (autoSize_) PictureChanged();
}

void TImage::Paint() {
    TGraphic* g = picture_->Graphic();
    if (g && !g->Empty()) Canvas()->Draw(0, 0, *g);
}

const ClassInfo& TImage::StaticClassInfo() {
    static const ClassInfo info{
        "TImage",
        &TGraphicControl::StaticClassInfo(),
        {BoolProperty<TImage>("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, TImage::Defaults::AutoSize),
         Props::Visible(), Props::OnClick(), Props::OnDblClick(), Props::OnMouseDown(), Props::OnMouseMove(), Props::OnMouseUp()},
        [](TComponent* owner) -> TComponent* { return new TImage(owner); }};
    return info;
}
