// rastel-gridgen.exe: the generator for Windows, with the same options and
// the same bytes as the native one. Started with no arguments at all (a
// double click) it writes the set into its own folder and says what it did
// in a message box, since its console window closes with it.
#include <windows.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "tools/gridgen_cli.h"

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

// Writes the set beside the exe and tells the user.
int RunFromDoubleClick(const rastel::GridgenHost& host) {
    std::ostringstream out, err;
    rastel::GridgenReport report;
    const int status = rastel::RunGridgen({Narrow(OwnFolder())}, out, err, host, &report);
    std::cout << out.str();
    std::cerr << err.str();
    std::wstring text;
    if (status == 0) {
        const std::wstring files = std::to_wstring(report.files);
        const std::wstring folder = Widen(report.folder);
        text = L"グリッド画像 " + files + L" 枚を次のフォルダーに書きました。\n" + folder +
               L"\nこの 1 組で、100 % から 300 % までのどの表示スケールでも使えます。"
               L"このツールが書いた同じ名前のファイルは置き換えました。Rastel をこのフォルダーから起動してください。\n\n" +
               L"Wrote the " + files + L" grid images into\n" + folder +
               L"\nThis one set serves every display scale from 100 % to 300 %. Files of the same names that this "
               L"tool wrote were replaced. Start Rastel from this folder.";
        if (!report.kept.empty()) {
            std::wstring names;
            for (const std::string& name : report.kept) names += L"\n  " + Widen(name);
            text += L"\n\n次の " + std::to_wstring(report.kept.size()) +
                    L" 枚はご自分の画像なので、そのままにしました (消すと次に書きます)。\n" +
                    L"These pictures of your own were kept (delete one to have it written):" + names;
        }
    } else {
        text = L"グリッド画像を書けませんでした。\nThe grid images could not be written.\n\n" + Widen(err.str());
    }
    MessageBoxW(nullptr, text.c_str(), L"rastel-gridgen", MB_OK | (status == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    rastel::GridgenHost host;
    host.usageNote = "Started with no arguments (a double click), it writes the set into its own folder.";
    if (argc <= 1) return RunFromDoubleClick(host);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
    return rastel::RunGridgen(args, std::cout, std::cerr, host);
}
