#include "framework/Application.h"

#include <commctrl.h>

#include "core/error_text.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Text.h"

TApplication Application;
TScreen Screen;

// --------------------------------------------------------------- TApplication

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() { mainForm_ = nullptr; }

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    LoadSystemColors();
    RegisterStandardControls();
}

void TApplication::Run() {
    if (!mainForm_) return;
    running_ = true;
    terminated_ = false;
    struct Stop {
        bool& running;
        ~Stop() { running = false; }
    } stop{running_};
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const TWindowState state = StartupWindowState((si.dwFlags & STARTF_USESHOWWINDOW) != 0, si.wShowWindow);
    if (state != wsNormal) mainForm_->SetWindowState(state);
    mainForm_->Show();
    MSG msg;
    for (;;) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        ProcessMessage(msg);
        FreeDeviceContexts();
    }
    terminated_ = true;
}

void TApplication::Terminate() {
    terminated_ = true;
    if (running_) PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        ProcessMessage(msg);
    }
    FreeDeviceContexts();
}

bool TApplication::ProcessMessage(MSG& msg) {
    // Tab moves the focus through the form's controls in Tab order.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        TWinControl* control = nullptr;
        for (HWND h = msg.hwnd; h && !control; h = GetParent(h)) control = TWinControl::FromHandle(h);
        if (TForm* form = GetParentForm(control)) {
            form->SelectNext(form->ActiveControl(), GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::SetTitle(const std::string& title) {
    std::wstring wide = Widen(title);
    title_ = title;
    wideTitle_ = std::move(wide);
}

void TApplication::HandleException() noexcept {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowErrorText("Unknown error");
    }
}

void TApplication::ShowException(const std::exception& e) noexcept { ShowErrorText(e.what()); }

void TApplication::ShowErrorText(const char* what) noexcept {
    const UINT flags = MB_ICONERROR | MB_OK;
    const wchar_t* caption = wideTitle_.empty() ? nullptr : wideTitle_.c_str();
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
    try {
        const std::string text = rastel::WithFullStop(what);
        if (ErrorBoxHook) {
            ErrorBoxHook(title_, text, flags);
            return;
        }
        MessageBoxW(owner, Widen(text).c_str(), caption, flags);
    } catch (...) {
        // No memory for the text: the box still comes, with a fixed one. A
        // hook that throws has had the error; nothing more is shown then.
        if (!ErrorBoxHook) MessageBoxW(owner, L"エラーが発生しました.", caption, flags);
    }
}

const ClassInfo& TApplication::StaticClassInfo() {
    static const ClassInfo info{"TApplication", &TComponent::StaticClassInfo(), {}, {}};
    return info;
}

// -------------------------------------------------------------------- TScreen

int TScreen::PixelsPerInch() const { return override_ > 0 ? override_ : ScreenPixelsPerInch(); }
