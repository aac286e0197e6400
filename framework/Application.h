// The application object (message loop, error box), the screen and the mouse.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "framework/Component.h"

class TForm;

// --------------------------------------------------------------- TApplication

class TApplication : public TComponent {
    RASTEL_CLASS_INFO
public:
    TApplication();
    ~TApplication() override;

    // Loads the common controls and the system colours, and makes the
    // application's window.
    void Initialize();
    // The text of the program's taskbar entry and the caption of the error boxes.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The application's window: it has no size and is never seen, yet it is
    // the program's one taskbar entry (titled Title, with the program's
    // icon) and owns every form, so no form has an entry of its own. Its
    // activation passes to the main form; closing it closes the main form.
    // Null until Initialize.
    HWND Handle() const { return handle_; }
    // Frees the forms, then the application's window.
    void DestroyComponents();

    // Creates a form owned by the application: the reference is set before
    // the form's OnCreate runs; the first form created is the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = nullptr;
        T* form = new T(this);
        reference = form;
        if (!mainForm_) mainForm_ = form;
        form->AfterConstruction();
    }
    TForm* MainForm() const { return mainForm_; }
    // Shows the taskbar entry and the main form, maximised or minimised as
    // the start-up information asks.
    void ShowMainForm();
    // ShowMainForm, then dispatches messages until the main form closes.
    void Run();
    // Ends the message loop (PostQuitMessage).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches the messages waiting in the queue, then returns.
    void ProcessMessages();

    // Call inside a catch block: shows the current exception's text in the
    // error box (caption Title, error icon, OK) with a full stop added.
    // Never throws, so a window procedure can call it from its catch: when
    // the text cannot be made the box shows a fixed text, and an exception
    // from ErrorBoxHook ends there.
    void HandleException() noexcept;
    void ShowException(const std::exception& e) noexcept;
    // Tests install this to receive the error box instead of seeing it:
    // (caption, text, MessageBox flags).
    std::function<void(const std::string& caption, const std::string& text, UINT flags)> ErrorBoxHook;

private:
    friend class TForm;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateHandle();
    void ActivateMainForm();
    bool ProcessMessage(MSG& msg);
    void ShowErrorText(const char* text) noexcept;
    std::string title_;
    std::wstring wideTitle_;  // ready for the error box, which must not allocate
    TForm* mainForm_ = nullptr;
    HWND handle_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
};

extern TApplication Application;

// The program's icon (its resource "MAINICON"), or the system's application icon.
HICON ProgramIcon();

// ---------------------------------------------------------------- TScreen

// The resolutions forms lay themselves out for, as framework/Dpi answers them.
class TScreen {
public:
    // The screen's (or the value a test set).
    int PixelsPerInch() const;
    // The resolution `window` is drawn at: its monitor's (the screen's when
    // the system cannot tell, or without a window), or the value a test set.
    int PixelsPerInchOf(HWND window) const;
    // Tests: pretend another resolution; 0 goes back to the real one.
    void SetPixelsPerInch(int ppi);
};

extern TScreen Screen;

// ----------------------------------------------------------------- TMouse

// The mouse buttons as they are at this moment, not as the message being
// handled saw them.
class TMouse {
public:
    // The primary button is down now: the left one, or the right one where
    // the user swapped them. GetAsyncKeyState reads the physical buttons,
    // so the swap is looked up (SM_SWAPBUTTON) at every call.
    bool PrimaryButtonDown() const;
    // Tests: answer GetAsyncKeyState and the swap for the program; empty:
    // the system's.
    std::function<SHORT(int key)> AsyncKeyState;
    std::function<bool()> ButtonsSwapped;

private:
    SHORT KeyState(int key) const { return AsyncKeyState ? AsyncKeyState(key) : ::GetAsyncKeyState(key); }
    bool Swapped() const { return ButtonsSwapped ? ButtonsSwapped() : GetSystemMetrics(SM_SWAPBUTTON) != 0; }
};

extern TMouse Mouse;
