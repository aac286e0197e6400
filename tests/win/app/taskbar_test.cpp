// The program's taskbar entries by the system's own rule: a top-level
// window has one when it is visible, unowned or marked WS_EX_APPWINDOW, and
// not a tool window. The program has exactly one, the application's window,
// titled by the application title, whether or not the panel is open.
#include "tests/win/app/app_test_util.h"

namespace app_test {
namespace {

BOOL CALLBACK CollectEntry(HWND h, LPARAM lp) {
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    const bool unowned = GetWindow(h, GW_OWNER) == nullptr;
    if (IsWindowVisible(h) && (unowned || (ex & WS_EX_APPWINDOW)) && !(ex & WS_EX_TOOLWINDOW))
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> TaskbarEntries() {
    std::vector<HWND> entries;
    EnumThreadWindows(GetCurrentThreadId(), CollectEntry, reinterpret_cast<LPARAM>(&entries));
    return entries;
}

std::wstring WindowText(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

bool Topmost(HWND h) { return (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class TaskbarTest : public AppTest {};

TEST_F(TaskbarTest, OneEntryTitledByTheApplicationWithOrWithoutThePanel) {
    WriteDefaultImages();
    CreateForms();
    ShowMain();
    const HWND app = Application.Handle();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(TaskbarEntries(), std::vector<HWND>{app});
    EXPECT_EQ(WindowText(app), L"Rastel");
    EXPECT_EQ(GetWindow(Form1->Handle(), GW_OWNER), app);

    Click(Form1->Button2);  // "移" opens the panel
    Pump();
    ASSERT_TRUE(IsWindowVisible(Form2->Handle()));
    EXPECT_EQ(TaskbarEntries(), std::vector<HWND>{app});
    // Owned by the entry, each window keeps its own band.
    EXPECT_TRUE(Topmost(Form1->Handle()));
    EXPECT_FALSE(Topmost(Form2->Handle()));
    EXPECT_FALSE(Topmost(app));

    Application.SetTitle("Rastel 2");
    EXPECT_EQ(WindowText(app), L"Rastel 2");
    Application.SetTitle("Rastel");
}

TEST_F(TaskbarTest, TheEntryPassesActivationAndCloseToTheMainWindow) {
    WriteDefaultImages();
    CreateForms();
    ShowMain();
    const HWND app = Application.Handle();
    SetActiveWindow(app);
    Pump();
    EXPECT_EQ(GetActiveWindow(), Form1->Handle());

    // The entry's "close window" closes the main window, which ends the
    // program; the entry itself stays until the forms are gone.
    SendMessageW(app, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(IsWindow(app));
}

}  // namespace
}  // namespace app_test
