// The image control.
#pragma once
#include <memory>

#include "framework/Bitmap.h"
#include "framework/Controls.h"

// Non-windowed: its parent paints the picture at the control's position.
// With AutoSize the control takes the picture's width and height whenever
// the picture changes (and when AutoSize is switched on).
class TImage : public TGraphicControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr bool AutoSize = false;
    };

    explicit TImage(TComponent* owner);
    ~TImage() override;

    // The owned picture; loading into it (Picture()->LoadFromFile) repaints.
    TPicture* Picture() const { return picture_.get(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);

    // Draws the picture at (0, 0) at its own size.
    void Paint() override;
    // The position scales; with AutoSize the size stays the picture's.
    void ChangeScale(const TFormScaling& s) override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool autoSize_ = Defaults::AutoSize;
};
