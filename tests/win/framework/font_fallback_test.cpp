// The Japanese font fallback on a Windows without the Japanese supplemental
// fonts. Wine reads its font replacements when a process starts, so the
// runner starts itself again with the replacements changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Text.h"
#include "tests/win/win_test_util.h"

namespace {

constexpr wchar_t kChildFlag[] = L"--rastel-print-fallback-face";

// Started with kChildFlag, the runner prints the face the program's font
// resolves to and ends before any test runs.
const bool kIsChild = [] {
    if (!std::wcsstr(GetCommandLineW(), kChildFlag)) return false;
    std::printf("face=%s\n", ResolveFontFace("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET).c_str());
    std::fflush(stdout);
    ExitProcess(0);
}();

constexpr wchar_t kReplacements[] = L"Software\\Wine\\Fonts\\Replacements";

// Sets (or with nullopt removes) font replacements for this test and puts
// back the earlier values afterwards.
class ReplacementsOverride {
public:
    ReplacementsOverride() { RegCreateKeyExW(HKEY_CURRENT_USER, kReplacements, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr); }
    ~ReplacementsOverride() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Write(it->first, it->second);
        if (key_) RegCloseKey(key_);
    }
    void Set(const std::wstring& name, std::optional<std::wstring> value) {
        saved_.emplace_back(name, Read(name));
        Write(name, value);
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    std::optional<std::wstring> Read(const std::wstring& name) {
        wchar_t buf[256] = {};
        DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
        if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return std::nullopt;
        return std::wstring(buf);
    }
    void Write(const std::wstring& name, const std::optional<std::wstring>& value) {
        if (!value) {
            RegDeleteValueW(key_, name.c_str());
            return;
        }
        RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       DWORD((value->size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

// Runs this runner as a child and returns what it printed.
std::string RunChild() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" " + kChildFlag;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return "no pipe";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string out;
    if (started) {
        char buf[256];
        DWORD n = 0;
        while (ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    if (!started) return "not started";
    std::erase(out, '\r');
    return out;
}

}  // namespace

// As on an English Windows 10 or 11: no "ＭＳ Ｐゴシック", but "Yu Gothic UI"
// (here a stand-in for it). The program's font must land on it.
TEST(FontFallback, WithoutTheJapaneseSupplementalFontsYuGothicUiIsChosen) {
    RASTEL_ONLY_UNDER_WINE("it takes fonts away through Wine's font replacements, which Windows does not read");
    ASSERT_FALSE(kIsChild);
    ReplacementsOverride replacements;
    ASSERT_TRUE(replacements);
    replacements.Set(L"ＭＳ Ｐゴシック", std::nullopt);
    replacements.Set(L"MS PGothic", std::nullopt);
    replacements.Set(L"Yu Gothic UI", L"IPAPGothic");
    EXPECT_EQ(RunChild(), "face=Yu Gothic UI\n");
}

TEST(FontFallback, TheLastResortSkipsVerticalFaces) {
    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(JapaneseFallbackFace(none, [] { return std::vector<std::string>{"@ＭＳ ゴシック", "@Foo", "ＭＳ ゴシック"}; }),
              "ＭＳ ゴシック");
    EXPECT_EQ(JapaneseFallbackFace(none, [] { return std::vector<std::string>{"@ＭＳ ゴシック"}; }), "");
    // Yu Gothic alone, as some Windows 10 editions have it without the UI face.
    EXPECT_EQ(JapaneseFallbackFace([](const std::string& f) { return f == "Yu Gothic" || f == "IPAGothic"; },
                                   [] { return std::vector<std::string>{"@Yu Gothic", "IPAGothic"}; }),
              "Yu Gothic");
}
