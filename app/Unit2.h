// The fine-adjustment panel: eight buttons that move the main window by one pixel.
#pragma once
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TForm2 : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TForm2(TComponent* owner);

    TButton* Button1 = nullptr;  // ↑
    TButton* Button2 = nullptr;  // →
    TButton* Button3 = nullptr;  // ↓
    TButton* Button4 = nullptr;  // ←
    TButton* Button5 = nullptr;  // up and right
    TButton* Button6 = nullptr;  // down and right
    TButton* Button7 = nullptr;  // up and left
    TButton* Button8 = nullptr;  // down and left

    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void Button3Click(TObject* sender);
    void Button4Click(TObject* sender);
    void Button5Click(TObject* sender);
    void Button6Click(TObject* sender);
    void Button7Click(TObject* sender);
    void Button8Click(TObject* sender);
    // The arrow keys, while the panel is active: the grid moves as the
    // buttons move it, a pixel a press, ten with Shift. A key it takes is
    // set to 0.
    void ArrowKeyDown(TObject* sender, WORD& key, TShiftState shift);

    // The outer width the panel opens with: 88 at 96 dpi, scaled as the
    // form is, and never so narrow that a button is cut off.
    int OpenWidth() const;

    void WndProc(TMessage& m) override;

protected:
    // Scaling gives the panel its description's size; an open one keeps its
    // own width rule.
    SIZE OuterSizeAt(const TFormScaling& s, int dpi) const override;

private:
    int OpenWidthAt(const TFormScaling& s, int frameWidth) const;
};

extern TForm2* Form2;
