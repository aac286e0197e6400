// rastel-gridgen.exe: the generator for Windows. The same options as the
// native one, with the same bytes for the same --dpi. Without --dpi it makes
// the set for this screen: it reads the resolution and measures the main
// window's font as the program does, so the plate fits the cluster exactly.
// Started with no arguments at all (a double click), it writes that set into
// its own folder and says what it did in a message box, since its console
// window closes with it.
#include <windows.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Text.h"
#include "tools/grid_images.h"
#include "tools/gridgen_cli.h"

namespace {

rastel::TFormScaling MeasureThisScreen(int& dpi) {
    dpi = Screen.PixelsPerInch();
    TFont font;  // the main window's font: "ＭＳ Ｐゴシック", Height -12
    font.SetCharset(SHIFTJIS_CHARSET);
    return rastel::MainWindowScaling(dpi, [&font](int height) { return MeasureTextHeight(font, height); });
}

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

// Writes the set for this screen beside the exe and tells the user.
int RunFromDoubleClick(const rastel::GridgenHost& host) {
    std::ostringstream out, err;
    rastel::GridgenReport report;
    const int status = rastel::RunGridgen({Narrow(OwnFolder())}, out, err, host, &report);
    std::cout << out.str();
    std::cerr << err.str();
    std::wstring text;
    if (status == 0) {
        const std::wstring dpi = std::to_wstring(report.dpi), files = std::to_wstring(report.files);
        const std::wstring size = std::to_wstring(report.width) + L" x " + std::to_wstring(report.height);
        const std::wstring folder = Widen(report.folder);
        text = L"この画面 (" + dpi + L" dpi) 用のグリッド画像 " + files + L" 枚 (" + size + L") を次のフォルダーに書きました。\n" +
               folder + L"\nこのツールが書いた同じ名前のファイルは置き換えました。Rastel をこのフォルダーから起動してください。\n\n" +
               L"Wrote the " + files + L" grid images for this screen (" + dpi + L" dpi, " + size + L") into\n" + folder +
               L"\nFiles of the same names that this tool wrote were replaced. Start Rastel from this folder.";
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
    host.measureScreen = MeasureThisScreen;
    host.defaultDpiText = "this screen's resolution";
    host.usageNote = "Started with no arguments (a double click), it writes the set for this screen into its own folder.";
    if (argc <= 1) return RunFromDoubleClick(host);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
    return rastel::RunGridgen(args, std::cout, std::cerr, host);
}
