// rastel-gridgen.exe: the generator for Windows, with the same options and
// the same bytes as the native one. Started with no arguments at all (a
// double click) it opens a window that makes a grid for one place, or
// writes the default set, beside itself, where rastel.exe reads.
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "tools/gridgen_cli.h"
#include "tools/gridgen_window.h"

namespace {

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return L".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    rastel::GridgenHost host;
    host.usageNote =
        "Started with no arguments (a double click), it opens a window that makes a grid, or the set, in its own "
        "folder.";
    if (argc <= 1) {
        // A console made for this double click alone would only stand behind the window.
        DWORD processes[2];
        if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
        return RunGridgenWindow(GetModuleHandleW(nullptr), OwnFolder(), host);
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
    return rastel::RunGridgen(args, std::cout, std::cerr, host);
}
