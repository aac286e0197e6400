// The framework's scoped owners of system handles: move-only owners of GDI
// handles, one type per kind, and of a file; a scoped SelectObject that puts
// the previous object back; the paint DC of one WM_PAINT; a saved DC state;
// a flag and a counter held for a scope. Logic never calls DeleteObject /
// DeleteDC / ReleaseDC / EndPaint / RestoreDC / CloseHandle itself. (A
// canvas put over a DC for a scope is the canvas's own: CanvasOnDC in
// Graphics.h.)
#pragma once
#include <windows.h>

#include <utility>

template <class H, class Deleter>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(H h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }
    // Gives up ownership (e.g. a region handed to SetWindowRgn).
    H release() noexcept { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) noexcept {
        H old = std::exchange(h_, h);
        if (old) Deleter{}(old);
    }

private:
    H h_ = nullptr;
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};
struct MemoryDCDeleter {
    void operator()(HDC dc) const noexcept { ::DeleteDC(dc); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectDeleter>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiObjectDeleter>;
// A DC from CreateCompatibleDC / CreateDC (DeleteDC frees it).
using UniqueDC = UniqueHandle<HDC, MemoryDCDeleter>;

struct FileDeleter {
    void operator()(HANDLE h) const noexcept { ::CloseHandle(h); }
};
// A file from CreateFileW; hold it only when it is not INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<HANDLE, FileDeleter>;

// A window's DC from GetDC (or GetWindowDC), released with ReleaseDC.
class WindowDC {
public:
    WindowDC() noexcept = default;
    // hwnd may be null: the screen's DC.
    explicit WindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDC() { reset(); }
    WindowDC(WindowDC&& o) noexcept : hwnd_(std::exchange(o.hwnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& o) noexcept {
        if (this != &o) {
            reset();
            hwnd_ = std::exchange(o.hwnd_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const noexcept { return dc_; }
    HWND window() const noexcept { return hwnd_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
        dc_ = nullptr;
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a DC for the guard's lifetime and restores the
// previous one, so the object is never left selected when it is freed.
class SelectGuard {
public:
    SelectGuard() noexcept = default;
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(dc && obj ? ::SelectObject(dc, obj) : nullptr) {
        if (!old_) dc_ = nullptr;
    }
    ~SelectGuard() { reset(); }
    SelectGuard(SelectGuard&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&& o) noexcept {
        if (this != &o) {
            reset();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    // Puts the previous object back now.
    void reset() noexcept {
        if (dc_ && old_) ::SelectObject(dc_, old_);
        dc_ = nullptr;
        old_ = nullptr;
    }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// BeginPaint now, EndPaint at the end of the scope.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const noexcept { return dc_; }
    // The area to paint.
    const RECT& PaintRect() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SaveDC now, RestoreDC at the end of the scope: origin, clipping and the
// selected objects come back as they were.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDC() {
        if (saved_) ::RestoreDC(dc_, saved_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Sets a flag for a scope and puts the old value back, also on exceptions.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) noexcept : flag_(flag), old_(std::exchange(flag, value)) {}
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// Counts one level up for a scope and down again on every way out.
class CountScope {
public:
    explicit CountScope(int& counter) noexcept : counter_(counter) { ++counter_; }
    ~CountScope() { --counter_; }
    CountScope(const CountScope&) = delete;
    CountScope& operator=(const CountScope&) = delete;

private:
    int& counter_;
};
