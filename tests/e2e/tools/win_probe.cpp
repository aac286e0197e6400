// rastel-e2e-probe.exe: reads the state of Rastel's windows from another
// process inside the same Wine session, for what X cannot tell (the client
// area, the window region as the program set it, control states, the text of
// a message box).
//
//   rastel-e2e-probe info WHICH       window and client rectangles (screen), band, state, region
//   rastel-e2e-probe region WHICH     the window region's rectangles (window coordinates)
//   rastel-e2e-probe children WHICH   direct child windows: class, id, rectangle (parent's client
//                                     coordinates), visibility, check or selection, text
//   rastel-e2e-probe boxes [CAPTION]  the message boxes captioned "Rastel" (or CAPTION): count and texts
//   rastel-e2e-probe click WHICH TEXT         posts a click to the button child whose text is TEXT
//   rastel-e2e-probe settext WHICH LABEL N TEXT   sets the text of the Nth edit (from 1) after the
//                                     child whose text is LABEL, as typing it would
//   rastel-e2e-probe close WHICH      asks the window to close (WM_CLOSE)
//   rastel-e2e-probe caret WHICH      the selection (start end) of the window's first Edit child
//
// WHICH: "main" (the top-level window whose title starts with "Rastel" and is
// not a message box), "panel" (the top-level window titled "微調整"), or
// "x:ID", the window whose X window id is ID.
// Output is UTF-8, one "key value" line each; exit 1 when the window is not there.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Newlines inside texts are shown as \n so each value stays on its line.
std::string OneLine(const std::wstring& w) {
    std::string s = Utf8(w), out;
    for (char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

// The text as the window itself answers it (WM_GETTEXT crosses processes).
std::wstring TextOf(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, 2000,
                             &got))
        return {};
    buf.resize(got);
    return buf;
}

struct Search {
    std::wstring which;
    unsigned long xid = 0;
    HWND found = nullptr;
};

BOOL CALLBACK FindTop(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    const std::wstring cls = ClassOf(h);
    if (s->xid) {
        // winex11 keeps each window's X window id in this property.
        HANDLE xw = GetPropW(h, L"__wine_x11_whole_window");
        if (reinterpret_cast<ULONG_PTR>(xw) == s->xid) s->found = h;
    } else if (!IsWindowVisible(h)) {
        return TRUE;
    } else {
        wchar_t title[512] = {};
        GetWindowTextW(h, title, 512);
        const std::wstring t = title;
        if (s->which == L"main" && cls != L"#32770" && t.rfind(L"Rastel ", 0) == 0) s->found = h;
        if (s->which == L"panel" && t == L"微調整") s->found = h;
    }
    return s->found ? FALSE : TRUE;
}

HWND FindWhich(const std::wstring& which) {
    Search s;
    s.which = which;
    if (which.rfind(L"x:", 0) == 0) {
        s.xid = std::wcstoul(which.c_str() + 2, nullptr, 0);
        if (!s.xid) return nullptr;
    } else if (which != L"main" && which != L"panel") {
        return nullptr;
    }
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::vector<RECT> RegionRects(HWND h, int* type) {
    std::vector<RECT> rects;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    *type = GetWindowRgn(h, rgn);
    if (*type != ERROR) {
        DWORD size = GetRegionData(rgn, 0, nullptr);
        std::vector<BYTE> data(size);
        auto* rd = reinterpret_cast<RGNDATA*>(data.data());
        if (size && GetRegionData(rgn, size, rd)) {
            auto* r = reinterpret_cast<RECT*>(rd->Buffer);
            rects.assign(r, r + rd->rdh.nCount);
        }
    }
    DeleteObject(rgn);
    return rects;
}

int Info(HWND h) {
    RECT wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    wchar_t title[512] = {};
    GetWindowTextW(h, title, 512);
    std::printf("hwnd 0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h)));
    std::printf("class %s\n", Utf8(ClassOf(h)).c_str());
    std::printf("title %s\n", OneLine(title).c_str());
    std::printf("window %ld %ld %ld %ld\n", wr.left, wr.top, wr.right, wr.bottom);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, cr.right - cr.left, cr.bottom - cr.top);
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    std::printf("topmost %d\n", (ex & WS_EX_TOPMOST) ? 1 : 0);
    // Layered: the whole window's alpha (or "key" for a colour key alone);
    // click-through: layered and WS_EX_TRANSPARENT.
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(ex & WS_EX_LAYERED)) std::printf("layered none\n");
    else if (GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) std::printf("layered %d\n", alpha);
    else std::printf("layered key\n");
    std::printf("clickthrough %d\n", (ex & WS_EX_LAYERED) && (ex & WS_EX_TRANSPARENT) ? 1 : 0);
    std::printf("visible %d\n", IsWindowVisible(h) ? 1 : 0);
    std::printf("zoomed %d\n", IsZoomed(h) ? 1 : 0);
    std::printf("iconic %d\n", IsIconic(h) ? 1 : 0);
    std::printf("screen %d %d\n", GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    int type = ERROR;
    auto rects = RegionRects(h, &type);
    if (type == ERROR) std::printf("region none\n");
    else std::printf("region %zu\n", rects.size());
    return 0;
}

int Caret(HWND parent) {
    HWND edit = FindWindowExW(parent, nullptr, L"Edit", nullptr);
    DWORD_PTR sel = 0;
    if (!edit || !SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &sel)) return 1;
    std::printf("caret %u %u\n", unsigned(LOWORD(sel)), unsigned(HIWORD(sel)));
    return 0;
}

int Region(HWND h) {
    int type = ERROR;
    auto rects = RegionRects(h, &type);
    if (type == ERROR) {
        std::printf("region none\n");
        return 0;
    }
    std::printf("region %zu\n", rects.size());
    for (const RECT& r : rects) std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

int Children(HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        const std::wstring cls = ClassOf(c);
        std::string state = "-";
        DWORD_PTR v = 0;
        if (_wcsicmp(cls.c_str(), L"Button") == 0 &&
            SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &v))
            state = "check=" + std::to_string(v);
        DWORD_PTR dropped = 0;
        if (_wcsicmp(cls.c_str(), L"ComboBox") == 0 &&
            SendMessageTimeoutW(c, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &v) &&
            SendMessageTimeoutW(c, CB_GETDROPPEDSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &dropped))
            state = "sel=" + std::to_string(static_cast<long long>(static_cast<LRESULT>(v))) +
                    ",dropped=" + std::to_string(dropped ? 1 : 0);
        std::printf("child %s %d %ld %ld %ld %ld %d %s %s\n", Utf8(cls).c_str(), GetDlgCtrlID(c), r.left, r.top,
                    r.right - r.left, r.bottom - r.top, IsWindowVisible(c) ? 1 : 0, state.c_str(),
                    OneLine(TextOf(c)).c_str());
    }
    return 0;
}

struct BoxSearch {
    std::wstring caption;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<BoxSearch*>(lp);
    if (!IsWindowVisible(h) || ClassOf(h) != L"#32770") return TRUE;
    wchar_t title[64] = {};
    GetWindowTextW(h, title, 64);
    if (title == s->caption) s->boxes.push_back(h);
    return TRUE;
}

int Boxes(const std::wstring& caption) {
    BoxSearch search{caption, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    const std::vector<HWND>& boxes = search.boxes;
    std::printf("boxes %zu\n", boxes.size());
    for (HWND b : boxes) {
        for (HWND c = GetWindow(b, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const std::wstring cls = ClassOf(c);
            const std::wstring text = TextOf(c);
            if (_wcsicmp(cls.c_str(), L"Static") == 0) {
                if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) std::printf("icon 1\n");
                else if (!text.empty()) std::printf("text %s\n", OneLine(text).c_str());
            } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(c)) {
                std::printf("button %s\n", OneLine(text).c_str());
            }
        }
    }
    return 0;
}

// The child whose text is `text` and, with `edits` > 0, the edits-th Edit
// after it in the children's order.
HWND ChildByText(HWND parent, const std::wstring& text, int edits) {
    HWND c = GetWindow(parent, GW_CHILD);
    while (c && TextOf(c) != text) c = GetWindow(c, GW_HWNDNEXT);
    while (c && edits > 0) {
        c = GetWindow(c, GW_HWNDNEXT);
        if (c && _wcsicmp(ClassOf(c).c_str(), L"Edit") == 0) --edits;
    }
    return c;
}

// Posted, not sent: a click that opens a message box would not return.
int Click(HWND parent, const std::wstring& text) {
    HWND button = ChildByText(parent, text, 0);
    if (!button) return 1;
    PostMessageW(button, BM_CLICK, 0, 0);
    return 0;
}

// WM_SETTEXT changes an edit as typing does: it sends EN_CHANGE to the parent.
int SetText(HWND parent, const std::wstring& label, int nth, const std::wstring& text) {
    HWND edit = nth > 0 ? ChildByText(parent, label, nth) : nullptr;
    DWORD_PTR done = 0;
    if (!edit || !SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                      2000, &done))
        return 1;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if ((argc == 2 || argc == 3) && std::wstring(argv[1]) == L"boxes") return Boxes(argc == 3 ? argv[2] : L"Rastel");
    const std::wstring cmd = argc > 1 ? argv[1] : L"";
    const int wanted = cmd == L"click" ? 4 : cmd == L"settext" ? 6 : 3;
    if (argc != wanted) {
        std::fprintf(stderr,
                     "usage: info|region|children|caret|close WHICH, click WHICH TEXT, settext WHICH LABEL N TEXT, or boxes "
                     "[CAPTION]\n");
        return 2;
    }
    HWND h = FindWhich(argv[2]);
    if (!h) {
        std::printf("missing\n");
        return 1;
    }
    if (cmd == L"info") return Info(h);
    if (cmd == L"region") return Region(h);
    if (cmd == L"children") return Children(h);
    if (cmd == L"click") return Click(h, argv[3]);
    if (cmd == L"settext") return SetText(h, argv[3], std::wcstol(argv[4], nullptr, 10), argv[5]);
    if (cmd == L"caret") return Caret(h);
    if (cmd == L"close") return PostMessageW(h, WM_CLOSE, 0, 0) ? 0 : 1;
    std::fprintf(stderr, "unknown command\n");
    return 2;
}
