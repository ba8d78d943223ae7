// One small family of owners for the system's resources: each releases exactly once, on every
// path, and none can be copied.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace trellane {

template <class Traits> class UniqueResource {
public:
    using Type = typename Traits::Type;
    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : FValue(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : FValue(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const noexcept { return FValue; }
    explicit operator bool() const noexcept { return Traits::IsValid(FValue); }
    Type release() noexcept { return std::exchange(FValue, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) noexcept {
        if (Traits::IsValid(FValue)) Traits::Close(FValue);
        FValue = value;
    }

private:
    Type FValue = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// Traits of the many handle types whose null value means "none" and that go back to the system
// through one function of their own (DeleteObject, DeleteDC, DestroyIcon, ...).
template <class Handle, auto Release> struct NullInvalidTraits {
    using Type = Handle;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { Release(h); }
};
using UniquePen = UniqueResource<NullInvalidTraits<HPEN, &DeleteObject>>;
using UniqueBitmap = UniqueResource<NullInvalidTraits<HBITMAP, &DeleteObject>>;
using UniqueFont = UniqueResource<NullInvalidTraits<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueResource<NullInvalidTraits<HBRUSH, &DeleteObject>>;
using UniqueMemoryDc = UniqueResource<NullInvalidTraits<HDC, &DeleteDC>>;
using UniqueIcon = UniqueResource<NullInvalidTraits<HICON, &DestroyIcon>>;
using UniqueMenu = UniqueResource<NullInvalidTraits<HMENU, &DestroyMenu>>;
// A window this program made. Its procedure releases the owner at WM_NCDESTROY, so a window the
// system has already destroyed is never destroyed twice.
using UniqueWindow = UniqueResource<NullInvalidTraits<HWND, &DestroyWindow>>;

// A device context obtained from a window (GetDC or GetWindowDC), released to that window. The
// pending GDI batch is flushed first so that drawing reaches the screen before the release.
class WindowDc {
public:
    enum class Area { Client, Whole };
    WindowDc(HWND window, Area area) noexcept
        : FWindow(window), FDc(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc() {
        if (!FDc) return;
        GdiFlush();
        ReleaseDC(FWindow, FDc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return FDc; }
    explicit operator bool() const noexcept { return FDc != nullptr; }

private:
    HWND FWindow;
    HDC FDc;
};

// The device context of one WM_PAINT: BeginPaint when made, EndPaint on every path.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : FWindow(window), FDc(BeginPaint(window, &FPaint)) {}
    ~PaintDc() {
        if (FDc) EndPaint(FWindow, &FPaint);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const noexcept { return FDc; }
    explicit operator bool() const noexcept { return FDc != nullptr; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDc;
};

// Selects a GDI object into a device context for the lifetime of this object.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : FDc(dc), FPrevious(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (FPrevious && FPrevious != HGDI_ERROR) SelectObject(FDc, FPrevious);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};

// Runs a cleanup step when the scope ends, however it ends; for state that is not a handle.
template <class Cleanup> class ScopeExit {
public:
    explicit ScopeExit(Cleanup cleanup) noexcept : FCleanup(std::move(cleanup)) {}
    ~ScopeExit() { FCleanup(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Cleanup FCleanup;
};

// A COM interface pointer released on every path.
template <class Interface> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* get() const noexcept { return FPointer; }
    Interface* operator->() const noexcept { return FPointer; }
    explicit operator bool() const noexcept { return FPointer != nullptr; }
    Interface** put() noexcept {
        reset();
        return &FPointer;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (FPointer) std::exchange(FPointer, nullptr)->Release();
    }

private:
    Interface* FPointer = nullptr;
};

// COM for the calling thread, apartment-threaded, for as long as this object lives.
class ComApartment {
public:
    ComApartment() noexcept : FInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (FInitialized) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool FInitialized;
};

} // namespace trellane
