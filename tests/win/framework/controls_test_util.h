// Helpers for the windowing tests: an error-box catcher, message pumping,
// and a custom control that logs what the framework calls on it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Controls.h"
#include "framework/Forms.h"

namespace framework_test {

struct ErrorBox {
    std::string caption;
    std::string text;
    UINT flags;
};

// Every windowing test: the application initialised, error boxes caught
// instead of shown (a box nobody answers would hang the run).
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.ErrorBoxHook = [this](const std::string& caption, const std::string& text, UINT flags) {
            errors.push_back({caption, text, flags});
        };
    }
    void TearDown() override {
        Pump();
        Application.ErrorBoxHook = nullptr;
    }
    static void Pump() {
        for (int i = 0; i < 3; ++i) Application.ProcessMessages();
    }
    std::vector<ErrorBox> errors;
};

// Moves the real cursor through the system's input queue (as a mouse would).
inline void MoveMouse(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = LONG((screen.x * 65536LL + cx / 2) / cx);
    in.mi.dy = LONG((screen.y * 65536LL + cy / 2) / cy);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline LPARAM Pos(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }

// Logs the framework's calls: "Down L 3,4", "Down L dbl 3,4", "Up R 1,2",
// "Click", "DblClick", "Enter", "Leave", "Enabled", "Font", "Focus <name>", "Size".
class LogControl : public TCustomControl {
public:
    explicit LogControl(TComponent* owner, std::vector<std::string>* sharedLog = nullptr)
        : TCustomControl(owner), log_(sharedLog ? sharedLog : &ownLog) {}
    std::vector<std::string> ownLog;
    void Clear() { log_->clear(); }
    const std::vector<std::string>& Log() const { return *log_; }

    void Click() override {
        Add("Click");
        TCustomControl::Click();
    }
    void DblClick() override {
        Add("DblClick");
        TCustomControl::DblClick();
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Add("Down " + Button(b) + (s.Contains(ssDouble) ? " dbl " : " ") + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        Add("Up " + Button(b) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseUp(b, s, x, y);
    }
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case CM_MOUSEENTER: Add("Enter"); break;
        case CM_MOUSELEAVE: Add("Leave"); break;
        case CM_ENABLEDCHANGED: Add("Enabled"); break;
        case CM_FONTCHANGED: Add("Font"); break;
        case CM_FOCUSCHANGED: {
            auto* c = reinterpret_cast<TWinControl*>(m.LParam);
            Add("Focus " + (c ? c->Name() : std::string("none")));
            break;
        }
        case WM_SIZE: Add("Size"); break;
        default: break;
        }
        TCustomControl::WndProc(m);
    }

private:
    static std::string Button(TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; }
    void Add(const std::string& s) { log_->push_back(s); }
    std::vector<std::string>* log_;
};

using Log = std::vector<std::string>;

}  // namespace framework_test
