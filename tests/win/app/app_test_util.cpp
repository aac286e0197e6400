#include "app_test_util.h"

#include <cstring>
#include <span>

namespace app_test {

namespace {
rastel::Bgr ColourOf(char c) {
    switch (c) {
    case '.': return {255, 255, 255};
    case '#': return {0, 0, 0};
    case 'r': return {0, 0, 255};
    case 'b': return {255, 0, 0};
    default: throw std::invalid_argument(std::string("no colour for ") + c);
    }
}

std::vector<std::uint8_t> Encode24(int w, int h, const std::vector<rastel::Bgr>& px) {
    std::vector<std::uint8_t> bytes(std::size_t(w) * h * 3);
    for (std::size_t i = 0; i < px.size(); ++i) {
        bytes[i * 3] = px[i].b;
        bytes[i * 3 + 1] = px[i].g;
        bytes[i * 3 + 2] = px[i].r;
    }
    return rastel::EncodeBmp24(rastel::ConstBgrView(bytes.data(), w, h, std::ptrdiff_t(w) * 3));
}

int gDirCounter = 0;
}  // namespace

std::vector<std::uint8_t> BmpFromRows(const std::vector<std::string>& rows) {
    const int h = int(rows.size());
    const int w = h ? int(rows[0].size()) : 0;
    std::vector<rastel::Bgr> px;
    for (const std::string& row : rows)
        for (char c : row) px.push_back(ColourOf(c));
    return Encode24(w, h, px);
}

std::vector<std::uint8_t> SolidBmp(int w, int h, rastel::Bgr color) {
    std::vector<rastel::Bgr> px(std::size_t(w) * h, color);
    px[std::size_t(h - 1) * w] = {255, 255, 255};
    return Encode24(w, h, px);
}

std::vector<std::uint8_t> GridBmp(int w, int h, int step, rastel::Bgr color) {
    std::vector<rastel::Bgr> px(std::size_t(w) * h, rastel::Bgr{255, 255, 255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x % step == step - 1 || y % step == 0) && !(x == 0 && y == h - 1)) px[std::size_t(y) * w + x] = color;
    return Encode24(w, h, px);
}

std::vector<std::uint8_t> EmptyBmp() {
    const std::uint8_t one[3] = {0, 0, 0};
    std::vector<std::uint8_t> file = rastel::EncodeBmp24(rastel::ConstBgrView(one, 1, 1, 4));
    const std::uint8_t zero[4] = {0, 0, 0, 0};
    std::memcpy(&file[18], zero, 4);  // biWidth
    std::memcpy(&file[22], zero, 4);  // biHeight
    return file;
}

// ------------------------------------------------------------------ fixture

void AppTest::SetUp() {
    // Laid out at the design's resolution, whatever the display's scale on
    // the machine that runs the tests; tests of other scales set their own.
    Screen.SetPixelsPerInch(96);
    Application.Initialize();
    Application.SetTitle("Rastel");
    Application.ErrorBoxHook = [this](const std::string& caption, const std::string& text, UINT flags) {
        errors.push_back({caption, text, flags});
    };
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    oldDir_ = buffer;
    GetTempPathW(MAX_PATH, buffer);
    dir_ = std::wstring(buffer) + L"rastel-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++gDirCounter);
    CreateDirectoryW(dir_.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(dir_.c_str()));
}

void AppTest::TearDown() {
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
    Pump();
    Application.ErrorBoxHook = nullptr;
    Mouse.AsyncKeyState = nullptr;
    Mouse.ButtonsSwapped = nullptr;
    ShapePlatform::Current() = ShapePlatform::Detected();
    Screen.SetPixelsPerInch(0);
    SetCurrentDirectoryW(oldDir_.c_str());
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir_ + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((dir_ + L"\\" + fd.cFileName).c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(dir_.c_str());
}

void AppTest::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    HANDLE h = CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, bytes.size());
}

void AppTest::WriteDefaultImages() {
    for (const auto& f : DefaultImages()) WriteFile(f.name, f.bytes);
}

void AppTest::DeleteFile(const std::string& name) { ::DeleteFileW(Widen(name).c_str()); }

std::string AppTest::FullPath(const std::string& name) const {
    return Narrow(dir_) + "\\" + name;
}

void AppTest::CreateForms() {
    Application.CreateForm(Form1);
    Application.CreateForm(Form2);
}

void AppTest::ShowMain() {
    Application.ShowMainForm();
    Pump();
}

void AppTest::Pump() {
    for (int i = 0; i < 3; ++i) Application.ProcessMessages();
}

// ------------------------------------------------------------------ regions

UniqueRegion WindowRegion(HWND hwnd) {
    UniqueRegion r(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(hwnd, r.get()) == ERROR) r.reset();
    return r;
}

POINT ClientOffset(HWND hwnd) {
    RECT w{};
    GetWindowRect(hwnd, &w);
    POINT c{0, 0};
    ::ClientToScreen(hwnd, &c);
    return POINT{c.x - w.left, c.y - w.top};
}

UniqueRegion ExpectedRegion(const std::vector<std::uint8_t>& file, POINT offset) {
    const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(file));
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = img.pixels.data() + std::size_t(y) * img.stride + std::size_t(x) * 3;
        return rastel::Bgr{p[0], p[1], p[2]};
    };
    const rastel::Bgr hole = img.bitsPerPixel == 1 ? rastel::Bgr{255, 255, 255} : pixel(0, img.height - 1);
    std::vector<RECT> rects;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width;) {
            if (pixel(x, y) == hole) {
                ++x;
                continue;
            }
            int end = x;
            while (end < img.width && !(pixel(end, y) == hole)) ++end;
            rects.push_back(RECT{x + offset.x, y + offset.y, end + offset.x, y + 1 + offset.y});
            x = end;
        }
    }
    // The region data is laid out here, not by the program's builder.
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()), 0,
                         RECT{offset.x, offset.y, img.width + offset.x, img.height + offset.y}};
    std::memcpy(data.data(), &header, sizeof header);
    if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return UniqueRegion(::ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
}

UniqueRegion ExpectedShape(const std::vector<std::uint8_t>& file, const TForm1& form) {
    const POINT off = ClientOffset(form.Handle());
    UniqueRegion shape = ExpectedRegion(file, off);
    UniqueRegion client(CreateRectRgn(off.x, off.y, off.x + form.ClientWidth(), off.y + form.ClientHeight()));
    CombineRgn(shape.get(), shape.get(), client.get(), RGN_AND);
    RECT plate = form.PlateRect();
    OffsetRect(&plate, off.x, off.y);
    UniqueRegion plateRegion(CreateRectRgnIndirect(&plate));
    CombineRgn(shape.get(), shape.get(), plateRegion.get(), RGN_OR);
    return shape;
}

bool SameRegion(HRGN a, HRGN b) { return a && b && EqualRgn(a, b); }

std::vector<std::uint8_t> RegionBytes(HRGN region) {
    std::vector<std::uint8_t> bytes(region ? GetRegionData(region, 0, nullptr) : 0);
    if (!bytes.empty()) GetRegionData(region, DWORD(bytes.size()), reinterpret_cast<RGNDATA*>(bytes.data()));
    return bytes;
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND h = GetWindow(upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == lower) return true;
    return false;
}

// ------------------------------------------------------------------ controls

void Click(TWinControl* control) { SendMessageW(control->Handle(), BM_CLICK, 0, 0); }

void ChooseColour(TForm1* form, int itemIndex) {
    HWND combo = form->ComboBox1->Handle();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(combo, CB_SETCURSEL, WPARAM(itemIndex), 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

void ExpectWindowShowsLines(HWND window, const rastel::BmpImage& picture, int step, int count) {
    WindowDC dc(window);
    int checked = 0;
    for (int y = 200; y < picture.height && checked < count; y += step) {
        for (int x = 0; x < 400; ++x) {
            const std::uint8_t* p = picture.pixels.data() + std::size_t(y) * picture.stride + std::size_t(x) * 3;
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
            EXPECT_EQ(GetPixel(dc.get(), x, y), RGB(p[2], p[1], p[0])) << x << "," << y;
            ++checked;
            break;
        }
    }
    EXPECT_EQ(checked, count);
}

}  // namespace app_test
