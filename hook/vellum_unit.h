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
// The thread that installed the hook, in the installing process only (0 everywhere else). In the
// x64 edition each bitness has its own library and installer, and Windows runs a hook for processes
// of the other bitness on the installing thread; those calls are left to the other library, so that
// no mouse message is reported twice.
extern DWORD InstallerThread;

void InitializeUnit() noexcept;
void FinalizeUnit() noexcept;
void OpenSharedView() noexcept;
void CloseSharedView() noexcept;

} // namespace vellum
