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
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::IsValid(value_); }
    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) noexcept {
        if (Traits::IsValid(value_)) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
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

// A device context obtained from a window (GetDC or GetWindowDC), released to that window. The
// pending GDI batch is flushed first so that drawing reaches the screen before the release.
class WindowDc {
public:
    enum class Area { Client, Whole };
    WindowDc(HWND window, Area area) noexcept
        : window_(window), dc_(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc() {
        if (!dc_) return;
        GdiFlush();
        ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context for the lifetime of this object.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A COM interface pointer released on every path.
template <class Interface> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }
    Interface** put() noexcept {
        reset();
        return &pointer_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// COM for the calling thread, apartment-threaded, for as long as this object lives.
class ComApartment {
public:
    ComApartment() noexcept : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

} // namespace trellane
