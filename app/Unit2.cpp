#include "app/Unit2.h"

#include <algorithm>
#include <climits>
#include <string>

#include "app/FormDescriptions.h"
#include "app/Unit1.h"
#include "framework/Streaming.h"

TForm2* Form2 = nullptr;

namespace {
// The panel's outer width at 96 dpi: narrower than its description, which
// leaves empty room on the right.
constexpr int kOpenWidth = 88;

// Diagonal moves set Top before Left: two one-pixel moves, the vertical one first.
void MoveMainWindow(int dx, int dy) {
    if (dy != 0) Form1->SetTop(Form1->Top() + dy);
    if (dx != 0) Form1->SetLeft(Form1->Left() + dx);
}
}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    using Method = void (TForm2::*)(TObject*);
    const Method methods[] = {&TForm2::Button1Click, &TForm2::Button2Click, &TForm2::Button3Click,
                              &TForm2::Button4Click, &TForm2::Button5Click, &TForm2::Button6Click,
                              &TForm2::Button7Click, &TForm2::Button8Click};
    for (int i = 0; i < 8; ++i) {
        const Method m = methods[i];
        RegisterMethod("Button" + std::to_string(i + 1) + "Click",
                       std::function<void(TObject*)>([this, m](TObject* sender) { (this->*m)(sender); }));
    }
    ReadDescription(kUnit2Description);
    TButton** buttons[] = {&Button1, &Button2, &Button3, &Button4, &Button5, &Button6, &Button7, &Button8};
    for (int i = 0; i < 8; ++i) *buttons[i] = &FindComponentAs<TButton>(*this, "Button" + std::to_string(i + 1));
    // The focus is on one of the buttons, or on the panel itself.
    auto arrows = [this](TObject* sender, WORD& key, TShiftState shift) { ArrowKeyDown(sender, key, shift); };
    OnKeyDown.handler = arrows;
    for (TButton** b : buttons) (*b)->OnKeyDown.handler = arrows;
}

void TForm2::ArrowKeyDown(TObject*, WORD& key, TShiftState shift) {
    if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
    const int n = shift.Contains(ssShift) ? 10 : 1;
    switch (key) {
    case VK_UP: MoveMainWindow(0, -n); break;
    case VK_DOWN: MoveMainWindow(0, n); break;
    case VK_LEFT: MoveMainWindow(-n, 0); break;
    case VK_RIGHT: MoveMainWindow(n, 0); break;
    default: return;
    }
    key = 0;
}

void TForm2::Button1Click(TObject*) { MoveMainWindow(0, -1); }
void TForm2::Button2Click(TObject*) { MoveMainWindow(+1, 0); }
void TForm2::Button3Click(TObject*) { MoveMainWindow(0, +1); }
void TForm2::Button4Click(TObject*) { MoveMainWindow(-1, 0); }
void TForm2::Button5Click(TObject*) { MoveMainWindow(+1, -1); }
void TForm2::Button6Click(TObject*) { MoveMainWindow(+1, +1); }
void TForm2::Button7Click(TObject*) { MoveMainWindow(-1, -1); }
void TForm2::Button8Click(TObject*) { MoveMainWindow(-1, +1); }

int TForm2::OpenWidth() const { return OpenWidthAt(Scaling(), Width() - ClientWidth()); }

int TForm2::OpenWidthAt(const TFormScaling& s, int frameWidth) const {
    // The buttons with the margin they have on the left, on the right too.
    int left = INT_MAX, right = 0;
    for (const TButton* b : {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8}) {
        if (!b) continue;  // a window made before the description was read
        const RECT r = b->BoundsAt(s);
        left = std::min(left, int(r.left));
        right = std::max(right, int(r.right));
    }
    if (right == 0) left = 0;
    return std::max(s.Scale(kOpenWidth), frameWidth + right + left);
}

SIZE TForm2::OuterSizeAt(const TFormScaling& s, int dpi) const {
    SIZE outer = TForm::OuterSizeAt(s, dpi);
    if (Visible()) outer.cx = OpenWidthAt(s, OuterSizeForClient(0, 0, dpi).cx);
    return outer;
}

void TForm2::WndProc(TMessage& m) {
    TForm::WndProc(m);
    if (m.Msg == WM_GETMINMAXINFO) {
        // The panel opens narrower than the system's smallest tracking width
        // for a captioned window; it is never sized by hand.
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        info->ptMinTrackSize.x = std::min<LONG>(info->ptMinTrackSize.x, Scaling().Scale(kOpenWidth));
    }
}

const ClassInfo& TForm2::StaticClassInfo() {
    static const ClassInfo info{"TForm2", &TForm::StaticClassInfo(), {}, {}};
    return info;
}
