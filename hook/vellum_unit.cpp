#include "vellum_unit.h"

namespace vellum {

HANDLE MappingCreated = nullptr;
HANDLE MappingOpened = nullptr;
HookShared* SharedView = nullptr;

void InitializeUnit() noexcept {
    // The first process creates the section; later ones get a handle to the existing one.
    MappingCreated = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHookSharedSize,
                                        VELLUM_HOOK_MAPPING_NAME);
    OpenSharedView();
}

void OpenSharedView() noexcept {
    // The view is always taken from a handle opened by name: if the name is held by an object of
    // another type, or this process may not open it, there is no view and the hook stays inert.
    MappingOpened = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, VELLUM_HOOK_MAPPING_NAME);
    if (!MappingOpened) return;
    SharedView = static_cast<HookShared*>(MapViewOfFile(MappingOpened, FILE_MAP_ALL_ACCESS, 0, 0, 0));
}

void CloseSharedView() noexcept {
    // Null handles are skipped: closing a null handle raises an exception in a process that runs
    // under a debugger with strict handle checks, and this code runs inside other people's programs.
    if (SharedView) UnmapViewOfFile(SharedView);
    SharedView = nullptr;
    if (MappingOpened) CloseHandle(MappingOpened);
    MappingOpened = nullptr;
}

void FinalizeUnit() noexcept {
    CloseSharedView();
    if (MappingCreated) CloseHandle(MappingCreated);
    MappingCreated = nullptr;
}

} // namespace vellum
