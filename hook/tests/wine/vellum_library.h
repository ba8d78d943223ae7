// The hook library as the tests see it: loaded from the dist folder by path, as the program loads
// it, with its four exports looked up by name; the shared section through a view of its own; and a
// window to name as the receiver of the notifications.
#pragma once

#include <windows.h>

#include "hook_shared.h"
#include "vellum_exports.h"
#include "winkit.h"

struct Library {
    HMODULE module = LoadLibraryW(winkit::DistPath(L"tools\\Vellum.dll").c_str());
    vellum::InstallHookFunction InstallHook =
        vellum::ExportOf<vellum::InstallHookFunction>(module, "InstallHook");
    vellum::UninstallHookFunction UninstallHook =
        vellum::ExportOf<vellum::UninstallHookFunction>(module, "UninstallHook");
    vellum::SetGridFunction SetGrid = vellum::ExportOf<vellum::SetGridFunction>(module, "SetGrid");
    vellum::UseRightButtonFunction UseRightButton =
        vellum::ExportOf<vellum::UseRightButtonFunction>(module, "UseRightButton");

    bool Complete() const { return module && InstallHook && UninstallHook && SetGrid && UseRightButton; }
};

// A view of the section opened by name, as another process's copy of the library holds it.
class SectionView {
public:
    SectionView() : mapping_(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, VELLUM_HOOK_MAPPING_NAME)) {
        if (mapping_)
            view_ = static_cast<vellum::HookShared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    ~SectionView() {
        if (view_) UnmapViewOfFile(view_);
        if (mapping_) CloseHandle(mapping_);
    }
    SectionView(const SectionView&) = delete;
    SectionView& operator=(const SectionView&) = delete;
    vellum::HookShared* operator->() const { return view_; }
    vellum::HookShared* get() const { return view_; }

private:
    HANDLE mapping_;
    vellum::HookShared* view_ = nullptr;
};

// A message-only window that takes the notifications and does nothing with them.
inline HWND MessageWindow() {
    return CreateWindowExW(0, L"STATIC", L"receiver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}
