#include "framework/Application.h"

#include <commctrl.h>

#include "core/error_text.h"
#include "framework/Classes.h"
#include "framework/Dpi.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/Text.h"

TApplication Application;
TScreen Screen;

// --------------------------------------------------------------- TApplication

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    mainForm_ = nullptr;
    if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    LoadSystemColors();
    RegisterStandardControls();
    CreateHandle();
}

HICON ProgramIcon() {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

namespace {
// Posted to the application's window when it is activated: the main form
// takes the activation once the activation in progress is over.
constexpr UINT kActivateMainForm = WM_APP + 1;
}  // namespace

void TApplication::CreateHandle() {
    if (handle_) return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t* className = L"TApplication";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hIcon = ProgramIcon();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc))
            throw EFrameworkError("the application's window class cannot be registered: " +
                                  SystemErrorMessage(GetLastError()));
    }
    // A captioned popup with a system menu and a minimise box, as a taskbar
    // entry wants, but of no size: nothing of it is ever drawn.
    handle_ = CreateWindowExW(0, className, wideTitle_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, instance, nullptr);
    if (!handle_)
        throw EFrameworkError("the application's window cannot be made: " + SystemErrorMessage(GetLastError()));
}

void TApplication::DestroyComponents() {
    TComponent::DestroyComponents();
    mainForm_ = nullptr;
    if (handle_) DestroyWindow(handle_);
    handle_ = nullptr;
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd != Application.handle_) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return Application.HandleMessage(msg, wParam, lParam);
    } catch (...) {
        Application.HandleException();
        return 0;
    }
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(handle_, kActivateMainForm, 0, 0);
        return 0;
    case kActivateMainForm:
        ActivateMainForm();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            // Restoring the entry brings back the forms it hid; a main form
            // that started minimised comes back with them.
            DefWindowProcW(handle_, msg, wParam, lParam);
            if (mainForm_ && mainForm_->WindowState() == wsMinimized) mainForm_->SetWindowState(wsNormal);
            ActivateMainForm();
            return 0;
        }
        // The program's own commands on the entry's menu (below the
        // system's) are the main form's.
        if ((wParam & 0xFFF0) < 0xF000 && mainForm_ && mainForm_->HandleAllocated())
            return SendMessageW(mainForm_->Handle(), WM_SYSCOMMAND, wParam, lParam);
        break;
    case WM_CLOSE:
        // The entry's "close window" is the main form's close.
        if (mainForm_) mainForm_->Close();
        return 0;
    }
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

void TApplication::ActivateMainForm() {
    if (!mainForm_ || !mainForm_->HandleAllocated() || IsIconic(handle_)) return;
    HWND form = mainForm_->Handle();
    if (GetActiveWindow() != handle_ || !IsWindowVisible(form) || !IsWindowEnabled(form)) return;
    SetActiveWindow(form);
}

void TApplication::ShowMainForm() {
    if (!mainForm_) return;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const TWindowState state = StartupWindowState((si.dwFlags & STARTF_USESHOWWINDOW) != 0, si.wShowWindow);
    if (state != wsNormal) mainForm_->SetWindowState(state);
    if (handle_) {
        // The taskbar entry appears, minimised when the program starts so.
        // SetWindowPos leaves the start-up show state to the main form.
        if (state == wsMinimized)
            ShowWindow(handle_, SW_SHOWMINNOACTIVE);
        else
            SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
    mainForm_->Show();
}

void TApplication::Run() {
    if (!mainForm_) return;
    running_ = true;
    terminated_ = false;
    struct Stop {
        bool& running;
        ~Stop() { running = false; }
    } stop{running_};
    ShowMainForm();
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
    if (handle_) SetWindowTextW(handle_, wideTitle_.c_str());
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

int TScreen::PixelsPerInch() const { return PretendedLayoutDpi() > 0 ? PretendedLayoutDpi() : ScreenDpi(); }

int TScreen::PixelsPerInchOf(HWND window) const { return LayoutDpi(window); }

void TScreen::SetPixelsPerInch(int ppi) { PretendLayoutDpi(ppi); }

// --------------------------------------------------------------------- TMouse

TMouse Mouse;

bool TMouse::PrimaryButtonDown() const { return KeyState(Swapped() ? VK_RBUTTON : VK_LBUTTON) < 0; }
