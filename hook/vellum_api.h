// The four functions the hook library exports (stdcall, undecorated names). Truth values are
// 32-bit: any nonzero argument is true; results are 1 or 0. The program passes -1 for true.
#pragma once

#include <windows.h>

#ifdef VELLUM_BUILDING_LIBRARY
#define VELLUM_API
#else
#define VELLUM_API __declspec(dllimport)
#endif

extern "C" {
VELLUM_API int WINAPI UseRightButton(int use);
VELLUM_API int WINAPI SetGrid(int useGrid, int width);
VELLUM_API int WINAPI UninstallHook();
VELLUM_API int WINAPI InstallHook(HWND notifyWindow);
}
