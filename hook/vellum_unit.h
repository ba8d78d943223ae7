// The shared section: created or opened once per process at attach, released at detach.
#pragma once

#include <windows.h>

#include "hook_shared.h"

namespace vellum {

// Per-process state. These are plain globals released explicitly at detach, not RAII objects:
// the library runs without a C runtime, so it has no static constructors or destructors.
extern HANDLE MappingCreated;
extern HANDLE MappingOpened;
extern HookShared* SharedView;

void InitializeUnit() noexcept;
void FinalizeUnit() noexcept;
void OpenSharedView() noexcept;
void CloseSharedView() noexcept;

} // namespace vellum
