// The application object: COM for the interface thread, the common controls, a hidden top-level
// window that owns shell dialogs, and the message loop.
#pragma once

#include <windows.h>

#include <string>

#include "raii.h"

namespace trellane {

class TfrmTrellane;

class TApplication {
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    bool Initialize();
    // Shows the main form unless told otherwise, then runs the message loop until the form closes.
    int Run(TfrmTrellane& mainForm);

    HINSTANCE Instance() const { return FInstance; }
    HWND Handle() const { return FHandle.get(); }
    // The caption of the program's message boxes: the executable's name, "Trellane" for TRELLANE.EXE.
    const std::wstring& Title() const { return FTitle; }

    // Cleared when the main form is to stay hidden as the message loop starts.
    bool ShowMainForm = true;

private:
    HINSTANCE FInstance;
    ComApartment FCom;
    UniqueWindow FHandle;
    std::wstring FTitle;
};

} // namespace trellane
