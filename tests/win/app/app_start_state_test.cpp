// The show state the program was started with decides how the main window
// first appears. Only a new process has start-up information of its own, so
// the runner starts itself again with a show state; in that child the global
// environment below runs the start sequence and reports, as its exit code,
// whether the main window was shown and which minimise or maximise the
// program asked the system for first (the window manager may still answer a
// request for a frame without a maximise box with a restore of its own).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Forms.h"

namespace {

const wchar_t kChildVariable[] = L"RASTEL_START_STATE_CHILD";

// Exit code of the child: kReported + 16 * first SW_ command of a minimise
// or maximise (0: none) + 1 when the window is visible.
constexpr DWORD kReported = 0x1000, kVisible = 1;
constexpr DWORD Asked(int showCommand) { return DWORD(showCommand) * 16; }

int firstMinMax = 0;

LRESULT CALLBACK WatchMinMax(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_MINMAX && firstMinMax == 0 && Form1 && Form1->HandleAllocated() &&
        reinterpret_cast<HWND>(wParam) == Form1->Handle())
        firstMinMax = LOWORD(lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD RunMainWindowAndReportState() {
    Application.Initialize();
    Application.SetTitle("Rastel");
    // No grid images here: the uncut window is enough, and no box may wait for a key.
    Application.ErrorBoxHook = [](const std::string&, const std::string&, UINT) {};
    Application.CreateForm(Form1);
    Application.CreateForm(Form2);
    SetWindowsHookExW(WH_CBT, WatchMinMax, nullptr, GetCurrentThreadId());
    static DWORD state = 0;
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        state = kReported + Asked(firstMinMax) + (IsWindowVisible(Form1->Handle()) ? kVisible : 0);
        Form1->Close();
    });
    Application.Run();
    return state;
}

class StartStateChild : public ::testing::Environment {
public:
    void SetUp() override {
        wchar_t value[8];
        if (GetEnvironmentVariableW(kChildVariable, value, 8) == 0) return;
        ExitProcess(RunMainWindowAndReportState());
    }
};
::testing::Environment* const kStartStateChild = ::testing::AddGlobalTestEnvironment(new StartStateChild);

// Starts this runner again with the given start-up show state and returns the child's report.
DWORD StartedWith(bool useShowWindow, WORD showWindow) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\" --gtest_filter=StartShowState.*";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (useShowWindow) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = showWindow;
    }
    PROCESS_INFORMATION pi{};
    SetEnvironmentVariableW(kChildVariable, L"1");
    const BOOL started = CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                                        nullptr, &si, &pi);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started) return 0;
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

TEST(StartShowState, MaximisedMinimisedOrNormalAsStarted) {
    EXPECT_EQ(StartedWith(true, SW_SHOWMAXIMIZED), kReported + Asked(SW_SHOWMAXIMIZED) + kVisible);
    EXPECT_EQ(StartedWith(true, SW_SHOWMINNOACTIVE), kReported + Asked(SW_SHOWMINNOACTIVE) + kVisible);
    // Every other show state, and none at all, shows the window normally.
    EXPECT_EQ(StartedWith(true, SW_SHOWMINIMIZED), kReported + kVisible);
    EXPECT_EQ(StartedWith(false, 0), kReported + kVisible);
}

}  // namespace
