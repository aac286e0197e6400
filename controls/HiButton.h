// The translucent button family: a see-through control base with captions
// and groups, the bevelled push / toggle button, the face blended over a
// snapshot of the form behind it, image blending and three-font captions.
//
// A button's state, look, press and pointer are one ButtonBehavior (no
// Win32 in it) that THiButtonBase drives from the mouse and the setters.
// Painting only reads: Compose is const, and what a paint needs first (the
// background snapshot) is taken before it; the minimum size is kept where
// the bounds, the bevel, the frame or the scale change, never by a paint.
//
// Painting never needs a window: PaintTo(canvas) runs the whole paint of a
// control onto any canvas (the window's paint calls it with the control's
// own canvas), so tests paint into memory bitmaps and read the pixels back.
// The unit's one public header. Where the code is: HiButtonTypes.h (the
// enumerations), ButtonBehavior (the behaviour), HiBase.cpp (THiBase),
// HiButtonBase.cpp (TMouseOverColor, THiButtonBase), HiSukeSuke.cpp
// (THiSukeSuke), HiSukeSukeImg.cpp (THiSukeSukeImg, THiSukeSukeImgEx),
// HiButtonProps.cpp (published properties, registration).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/ButtonBehavior.h"
#include "controls/HiBitmap.h"
#include "controls/HiButtonTypes.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

// A rectangle in the order the paint uses: top, bottom, left, right.
struct THiArea {
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
    friend bool operator==(const THiArea&, const THiArea&) = default;
};

// Mouse buttons and modifier keys held right now (GetKeyState).
TShiftState CurrentShiftState();

// Registers every class of the family for form descriptions (once).
void RegisterHiButtonClasses();

// ------------------------------------------------------------------ THiBase

// Windowed and owner-painted, see-through: a transparent window that never
// erases its background and takes the clip-children style off its parent, so
// the parent paints underneath it. Paints nothing itself.
class THiBase : public TCustomControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr TColor OnFrameColor = clBtnShadow;
        static constexpr TColor OffFrameColor = clBtnFace;
        static constexpr int FrameWidth = 0;
        static constexpr TNHAlignment CapAlignH = haCenter;
        static constexpr TNVAlignment CapAlignV = vaCenter;
        static constexpr int GroupID = 0;
    };

    explicit THiBase(TComponent* owner);
    ~THiBase() override;

    TColor OnFrameColor() const { return onFrameColor_; }
    void SetOnFrameColor(TColor c);
    TColor OffFrameColor() const { return offFrameColor_; }
    void SetOffFrameColor(TColor c);
    int FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(int w);
    // The control's own lists. Changing them in place repaints nothing; the
    // setters copy the lines and always repaint.
    TStringList* OnCaption() const { return onCaption_.get(); }
    void SetOnCaption(const TStringList& lines);
    TStringList* OffCaption() const { return offCaption_.get(); }
    void SetOffCaption(const TStringList& lines);
    TNHAlignment CapAlignH() const { return capAlignH_; }
    void SetCapAlignH(TNHAlignment a);
    TNVAlignment CapAlignV() const { return capAlignV_; }
    void SetCapAlignV(TNVAlignment a);
    int GroupID() const { return groupID_; }
    void SetGroupID(int id);

    // The client rectangle, and the face inside bevel and margins as the
    // current size and look place it (none for a control that draws no face).
    THiArea ClientArea() const;
    virtual THiArea FaceArea() const { return THiArea{}; }
    // 1 once the background snapshot of the first run-time paint was taken.
    int FirstPaintDone() const { return firstPaintDone_; }

    // Becoming a child strips the parent's WS_CLIPCHILDREN.
    void SetParent(TWinControl* parent) override;
    void WndProc(TMessage& m) override;
    // The frame width scales with the form, and the background snapshot is
    // taken again at the next paint, since what lies behind has changed.
    void ChangeScale(const TFormScaling& s) override;

    // Runs the control's whole paint onto `canvas` instead of its window.
    void PaintTo(TCanvas& canvas) {
        BeforePaint();
        Compose(canvas);
    }
    void Paint() override {
        BeforePaint();
        Compose(*Canvas());
    }

protected:
    void CreateParams(TCreateParams& params) override;
    // Before every paint, outside its drawing: what the paint needs taken
    // first (the first run-time paint's background snapshot).
    virtual void BeforePaint() {}
    // The paint itself; it draws and changes nothing of the control.
    virtual void Compose(TCanvas& canvas) const { (void)canvas; }
    // FrameWidth or BevelWidth changed: a control with a minimum size keeps it.
    virtual void KeepMinimumSize() {}
    void ClearParentClipChildren();

    TColor onFrameColor_ = Defaults::OnFrameColor;
    TColor offFrameColor_ = Defaults::OffFrameColor;
    int frameWidth_ = Defaults::FrameWidth;
    std::unique_ptr<TStringList> onCaption_;
    std::unique_ptr<TStringList> offCaption_;
    TNHAlignment capAlignH_ = Defaults::CapAlignH;
    TNVAlignment capAlignV_ = Defaults::CapAlignV;
    int groupID_ = Defaults::GroupID;
    int firstPaintDone_ = 0;
};

// ---------------------------------------------------------- TMouseOverColor

// The colours a button uses while the mouse is over it. Its setters only
// store; the button sees a change at its next repaint.
class TMouseOverColor : public TPersistent {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr bool Enabled = false;
        static constexpr TColor OffFontColor = clYellow;
        static constexpr TColor OffFaceColor = clBtnFace;
        static constexpr TColor OffFrameColor = clYellow;
        static constexpr TColor OnFontColor = clYellow;
        static constexpr TColor OnFaceColor = clBtnFace;
        static constexpr TColor OnFrameColor = clYellow;
    };

    TMouseOverColor();

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    TColor OffFontColor() const { return offFontColor_; }
    void SetOffFontColor(TColor c) { offFontColor_ = c; }
    TColor OffFaceColor() const { return offFaceColor_; }
    void SetOffFaceColor(TColor c) { offFaceColor_ = c; }
    TColor OffFrameColor() const { return offFrameColor_; }
    void SetOffFrameColor(TColor c) { offFrameColor_ = c; }
    TColor OnFontColor() const { return onFontColor_; }
    void SetOnFontColor(TColor c) { onFontColor_ = c; }
    TColor OnFaceColor() const { return onFaceColor_; }
    void SetOnFaceColor(TColor c) { onFaceColor_ = c; }
    TColor OnFrameColor() const { return onFrameColor_; }
    void SetOnFrameColor(TColor c) { onFrameColor_ = c; }

    // The seven values of another set.
    void Assign(const TPersistent& source) override;
    // The six colours only.
    bool SameColors(const TMouseOverColor& other) const;

private:
    bool enabled_ = Defaults::Enabled;
    TColor offFontColor_ = Defaults::OffFontColor;
    TColor offFaceColor_ = Defaults::OffFaceColor;
    TColor offFrameColor_ = Defaults::OffFrameColor;
    TColor onFontColor_ = Defaults::OnFontColor;
    TColor onFaceColor_ = Defaults::OnFaceColor;
    TColor onFrameColor_ = Defaults::OnFrameColor;
};

// ------------------------------------------------------------ THiButtonBase

// Push or toggle button with a raised (off) and a sunken (on) look. Its
// state, look, press and pointer are its ButtonBehavior; mouse messages and
// the state setters are steps of it.
class THiButtonBase : public THiBase {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr int BevelWidth = 5;
        static constexpr TColor OnFaceColor = clBtnFace;
        static constexpr TColor OffFaceColor = clBtnFace;
        static constexpr TColor HighlightColor = clBtnHighlight;
        static constexpr TColor ShadowColor = clBtnShadow;
        static constexpr TColor OnHighlightColor = clBtnHighlight;
        static constexpr TColor OnShadowColor = clBtnShadow;
        static constexpr TColor OnFontColor = clBtnText;
        static constexpr TColor EdgeColor = clBlack;
        static constexpr int BevelWidthMargin = 0;
        static constexpr int BevelHeightMargin = 0;
        static constexpr int BevelTopMargin = 0;
        static constexpr int BevelLeftMargin = 0;
        static constexpr bool EdgeDraw = false;
        static constexpr int OnSlideSize = 0;
        static constexpr TButtonStyle ButtonStyle = bsNormal;
        static constexpr TButtonState ButtonState = bstOff;
    };

    explicit THiButtonBase(TComponent* owner);
    ~THiButtonBase() override;

    // The focus mark is shown (kept by the focus handling of the translucent buttons).
    bool FocusMark() const { return focused_; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    // True: raised, off colours; false: sunken, on colours.
    bool Raised() const { return behavior_.Raised; }
    void SetRaised(bool raised);
    TColor OnFaceColor() const { return onFaceColor_; }
    void SetOnFaceColor(TColor c);
    TColor OffFaceColor() const { return offFaceColor_; }
    void SetOffFaceColor(TColor c);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor c);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    TColor OnHighlightColor() const { return onHighlightColor_; }
    void SetOnHighlightColor(TColor c);
    TColor OnShadowColor() const { return onShadowColor_; }
    void SetOnShadowColor(TColor c);
    TColor OnFontColor() const { return onFontColor_; }
    void SetOnFontColor(TColor c);
    TColor EdgeColor() const { return edgeColor_; }
    void SetEdgeColor(TColor c);
    // The button's own set; the setter copies the values (nullptr is ignored).
    TMouseOverColor* MouseOverColor() const { return mouseOverColor_.get(); }
    void SetMouseOverColor(const TMouseOverColor* colors);
    int BevelWidthMargin() const { return bevelWidthMargin_; }
    void SetBevelWidthMargin(int v);
    int BevelHeightMargin() const { return bevelHeightMargin_; }
    void SetBevelHeightMargin(int v);
    int BevelTopMargin() const { return bevelTopMargin_; }
    void SetBevelTopMargin(int v);
    int BevelLeftMargin() const { return bevelLeftMargin_; }
    void SetBevelLeftMargin(int v);
    bool EdgeDraw() const { return edgeDraw_; }
    void SetEdgeDraw(bool v);
    // Kept below BevelWidth as it is when the slide is set.
    int OnSlideSize() const { return onSlideSize_; }
    void SetOnSlideSize(int v);
    TButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TButtonStyle s);
    // Never touches the other members of a group.
    TButtonState ButtonState() const { return behavior_.State; }
    void SetButtonState(TButtonState s);
    // A press was taken and its release is still due.
    bool Pressed() const { return behavior_.Pressed; }
    // 1 while the mouse is over the control. The framework's enter and leave
    // tracking asks this too (PointerInside), so there is one such fact.
    int MouseInside() const { return behavior_.Inside ? 1 : 0; }

    // After every release that ends a press this button took, inside or
    // outside, once the state is what the press leaves: the press switched
    // it, or a release outside took it back. A press not taken (a grouped
    // toggle that is on) ends in no such event, nor does a state set from code.
    TNotifyEvent OnStateSettled;

    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    virtual void MouseEnter(TShiftState shift, int x, int y);
    virtual void MouseLeave(TShiftState shift, int x, int y);

    void WndProc(TMessage& m) override;
    // The bevel, its margins and the pressed face's slide scale with the form.
    void ChangeScale(const TFormScaling& s) override;

    // The caption block: `text` (lines joined by CR LF) in the control's Font
    // and fontColor, aligned by CapAlignH / CapAlignV in rect.
    void DrawCaption(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                     int lineCount) const;

protected:
    // Fills the client rectangle white.
    void Compose(TCanvas& canvas) const override;
    bool PointerInside() const override { return behavior_.Inside; }
    // The class's own rule for the behaviour: the image button's raised means off.
    virtual bool RaisedMeansOff() const { return false; }
    // The lines shown in the current look: the off caption when raised, else
    // the on caption unless its text is empty.
    const TStringList& CaptionList() const;
    // The block of blockHeight placed in rect by CapAlignV.
    RECT CaptionBlockRect(const RECT& rect, int blockHeight) const;
    // Caption text in the current look (disabled: embossed, drawn twice).
    void DrawCaptionText(TCanvas& canvas, const std::string& text, const RECT& r, UINT format) const;

    bool focused_ = false;
    int bevelWidth_ = Defaults::BevelWidth;
    TColor onFaceColor_ = Defaults::OnFaceColor;
    TColor offFaceColor_ = Defaults::OffFaceColor;
    TColor highlightColor_ = Defaults::HighlightColor;
    TColor shadowColor_ = Defaults::ShadowColor;
    TColor onHighlightColor_ = Defaults::OnHighlightColor;
    TColor onShadowColor_ = Defaults::OnShadowColor;
    TColor onFontColor_ = Defaults::OnFontColor;
    TColor edgeColor_ = Defaults::EdgeColor;
    std::unique_ptr<TMouseOverColor> mouseOverColor_;
    int bevelWidthMargin_ = Defaults::BevelWidthMargin;
    int bevelHeightMargin_ = Defaults::BevelHeightMargin;
    int bevelTopMargin_ = Defaults::BevelTopMargin;
    int bevelLeftMargin_ = Defaults::BevelLeftMargin;
    bool edgeDraw_ = Defaults::EdgeDraw;
    int onSlideSize_ = Defaults::OnSlideSize;
    TButtonStyle buttonStyle_ = Defaults::ButtonStyle;

private:
    ButtonRules Rules() const;
    // Takes the step's button and does what the step says; `mouseEvent`
    // raises the handler's own OnMouseDown or OnMouseUp.
    void Follow(const ButtonStep& step, const std::function<void()>& mouseEvent = {});
    void SwitchOffGroup();
    void TakeFocus();
    ButtonBehavior behavior_;
};

// --------------------------------------------------------------- THiSukeSuke

// Colours of the current look.
struct TFaceColors {
    TColor TopLeft = 0;
    TColor BottomRight = 0;
    TColor Font = 0;
    TColor Face = 0;
    TColor Frame = 0;
};

// The bevelled button drawn see-through: bevel, frame and face are blended
// at BlendRitu over a snapshot of the form behind the control, taken once at
// its first run-time paint. Each paint composes the control off screen and
// copies it in one go; the caption goes under the face (dlInner) or on top.
class THiSukeSuke : public THiButtonBase {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr std::uint8_t BlendRitu = 127;
        static constexpr TCapDrawLayer CapDrawLayer = dlTop;
    };

    explicit THiSukeSuke(TComponent* owner);
    ~THiSukeSuke() override;

    std::uint8_t BlendRitu() const { return blendRitu_; }
    void SetBlendRitu(std::uint8_t v);
    TCapDrawLayer CapDrawLayer() const { return capDrawLayer_; }
    void SetCapDrawLayer(TCapDrawLayer v);

    // The snapshot of what lies behind the control.
    THiBitmap& Background() { return *background_; }

    // The newly focused control (any class, or none) decides the focus mark.
    void FocusChanged(TWinControl* focused);
    void WndProc(TMessage& m) override;

    TFaceColors SelectFaceColors() const;
    // Bevel at BlendRitu, then the edge lines and the slide shadow.
    void DrawBevel(TColor topLeft, TColor bottomRight, THiBitmap& buffer) const;
    // Focus rectangle on the client edge and the dots inside the face.
    void DrawFocusMark(THiBitmap& buffer) const;
    void DrawFocusDots(THiBitmap& buffer) const;

    THiArea FaceArea() const override;
    // Never smaller than BevelWidth + FrameWidth (+ 10 for the image
    // buttons): the size asked for, grown while the minimum is above it.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    // The first paint at run time takes the background snapshot.
    void BeforePaint() override;
    void Compose(TCanvas& canvas) const override;
    void KeepMinimumSize() override;
    // Copies what the form shows behind the control into Background, once.
    void CaptureBackground();

    // Hooks of the paint pipeline for the image buttons.
    virtual int MinimumSizeExtra() const { return 0; }
    virtual void DrawImage(THiBitmap& work, const RECT& face) const {
        (void)work;
        (void)face;
    }
    virtual void DrawCaptionBlock(TCanvas& canvas, const std::string& text, const RECT& face, TColor fontColor,
                                  int lineCount) const {
        DrawCaption(canvas, text, face, fontColor, lineCount);
    }

private:
    // The face inside the client rectangle c, for the current look.
    RECT FaceRect(const RECT& c) const;
    void DrawFrame(const RECT& face, TColor color, THiBitmap& buffer) const;

    std::uint8_t blendRitu_ = Defaults::BlendRitu;
    TCapDrawLayer capDrawLayer_ = Defaults::CapDrawLayer;
    std::unique_ptr<THiBitmap> background_;
    // The size last asked for; SetLeft and the like pass the grown size on,
    // which asks for nothing new.
    SIZE asked_{};
};

// ------------------------------------------------------------ THiSukeSukeImg

// The translucent button with one picture per look, blended over the face at
// ImageBlendRitu. Drawn raised means off: whatever leaves it raised (the
// mouse, SetRaised) brings ButtonState to bstOff at once.
class THiSukeSukeImg : public THiSukeSuke {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr std::uint8_t ImageBlendRitu = 127;
        static constexpr bool ImageStretch = false;
        static constexpr TNHAlignment OffImgAlignH = haCenter;
        static constexpr TNVAlignment OffImgAlignV = vaCenter;
        static constexpr TNHAlignment OnImgAlignH = haCenter;
        static constexpr TNVAlignment OnImgAlignV = vaCenter;
    };

    explicit THiSukeSukeImg(TComponent* owner);
    ~THiSukeSukeImg() override;

    std::uint8_t ImageBlendRitu() const { return imageBlendRitu_; }
    void SetImageBlendRitu(std::uint8_t v);
    bool ImageStretch() const { return imageStretch_; }
    void SetImageStretch(bool v);
    // The control's own pictures; loading into them repaints nothing. The
    // setters copy the graphic (nullptr is ignored) and repaint.
    TPicture* OffImagePict() const { return offImagePict_.get(); }
    void SetOffImagePict(const TPicture* picture);
    TPicture* OnImagePict() const { return onImagePict_.get(); }
    void SetOnImagePict(const TPicture* picture);
    TNHAlignment OffImgAlignH() const { return offImgAlignH_; }
    void SetOffImgAlignH(TNHAlignment a);
    TNVAlignment OffImgAlignV() const { return offImgAlignV_; }
    void SetOffImgAlignV(TNVAlignment a);
    TNHAlignment OnImgAlignH() const { return onImgAlignH_; }
    void SetOnImgAlignH(TNHAlignment a);
    TNVAlignment OnImgAlignV() const { return onImgAlignV_; }
    void SetOnImgAlignV(TNVAlignment a);

protected:
    int MinimumSizeExtra() const override { return 10; }
    bool RaisedMeansOff() const override { return true; }
    void DrawImage(THiBitmap& work, const RECT& face) const override;

private:
    std::uint8_t imageBlendRitu_ = Defaults::ImageBlendRitu;
    bool imageStretch_ = Defaults::ImageStretch;
    std::unique_ptr<TPicture> offImagePict_;
    std::unique_ptr<TPicture> onImagePict_;
    TNHAlignment offImgAlignH_ = Defaults::OffImgAlignH;
    TNVAlignment offImgAlignV_ = Defaults::OffImgAlignV;
    TNHAlignment onImgAlignH_ = Defaults::OnImgAlignH;
    TNVAlignment onImgAlignV_ = Defaults::OnImgAlignV;
};

// ---------------------------------------------------------- THiSukeSukeImgEx

// The image button whose caption lines each take their own font and
// alignment: line 1 Font / CapAlignH, line 2 Font2 / CapAlignH2, line 3
// Font3 / CapAlignH3, later lines Font3 / CapAlignH, FontLinePitch pixels
// between lines. Unlike its base, raised may show bstOn (a held toggle
// dragged off keeps its state).
class THiSukeSukeImgEx : public THiSukeSukeImg {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the member initialisers, the constructor and the
    // property table all take them from here.
    struct Defaults {
        static constexpr int FontLinePitch = 0;
        static constexpr TNHAlignment CapAlignH2 = haCenter;
        static constexpr TNHAlignment CapAlignH3 = haCenter;
    };

    explicit THiSukeSukeImgEx(TComponent* owner);
    ~THiSukeSukeImgEx() override;

    int FontLinePitch() const { return fontLinePitch_; }
    void SetFontLinePitch(int v);
    // The control's own fonts, independent of Font and of the parent. A change
    // of either repaints; the setters copy the attributes (nullptr is ignored).
    TFont* Font2() const { return font2_.get(); }
    void SetFont2(const TFont* font);
    TFont* Font3() const { return font3_.get(); }
    void SetFont3(const TFont* font);
    TNHAlignment CapAlignH2() const { return capAlignH2_; }
    void SetCapAlignH2(TNHAlignment a);
    TNHAlignment CapAlignH3() const { return capAlignH3_; }
    void SetCapAlignH3(TNHAlignment a);

    void WndProc(TMessage& m) override;
    // Font2 and Font3 scale as the form's font does, the line pitch as its pixels.
    void ChangeScale(const TFormScaling& s) override;

    // The three-font caption block (same arguments as DrawCaption).
    void DrawCaptionLines(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                          int lineCount) const;

protected:
    bool RaisedMeansOff() const override { return false; }
    void DrawCaptionBlock(TCanvas& canvas, const std::string& text, const RECT& face, TColor fontColor,
                          int lineCount) const override {
        DrawCaptionLines(canvas, text, face, fontColor, lineCount);
    }

private:
    int fontLinePitch_ = Defaults::FontLinePitch;
    std::unique_ptr<TFont> font2_;
    std::unique_ptr<TFont> font3_;
    TNHAlignment capAlignH2_ = Defaults::CapAlignH2;
    TNHAlignment capAlignH3_ = Defaults::CapAlignH3;
};
