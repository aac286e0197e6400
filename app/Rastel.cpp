// Program entry: the application titled "Rastel", the main window, the
// hidden fine-adjustment panel, then the message loop until the main window closes.
#include <windows.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Forms.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        Application.Initialize();
        Application.SetTitle("Rastel");
        Application.CreateForm(Form1);
        Application.CreateForm(Form2);
        Application.Run();
    } catch (...) {
        // A window that cannot be made at start: say so and end.
        Application.HandleException();
        Application.DestroyComponents();
        return 1;
    }
    // The windows go while everything they use still exists, not in the
    // destruction of statics at exit.
    Application.DestroyComponents();
    Form1 = nullptr;
    Form2 = nullptr;
    return 0;
}
