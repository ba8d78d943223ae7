// Translucency of other programs' windows: the one routine that changes a window's layered style
// and opacity, and what a window made translucent carries on itself (see TranslucencyRecord), the
// layered state it had before and the opacity it was given, as two window properties.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "translucency.h"

namespace trellane {

// False (with a trace) when the window cannot carry the record, such as a window of a program with
// higher rights: such a window is not changed, since nothing could give it back.
bool KeepTranslucencyRecord(HWND window, const TranslucencyRecord& record) noexcept;
void DropTranslucencyRecord(HWND window) noexcept;
KeptTranslucency ReadTranslucencyRecord(HWND window) noexcept;
std::vector<HWND> WindowsWithTranslucencyRecords();

// A drag's start or end, or a middle click, at an opacity level in percent (see DecideTranslucency).
void SetTranslucency(HWND target, TranslucencyRequest request, std::int32_t level) noexcept;
// Every window made translucent by us (a middle click, a drag, or an earlier run that ended without
// giving it back) gets its look back; a window its program layered since stays as it is.
void GiveBackTranslucency() noexcept;

} // namespace trellane
