// One running copy per session. Two copies would both receive every notification from the hook,
// so every fold or toggle would happen twice and cancel out; a second start shows the running
// copy's panel instead and ends.
#pragma once

#include <windows.h>

#include "private_messages.h"
#include "raii.h"

namespace trellane {

constexpr wchar_t kInstanceMutexName[] = L"jp.trellane.Trellane.Instance";

class SingleInstance {
public:
    SingleInstance() noexcept
        : FMutex(CreateMutexW(nullptr, FALSE, kInstanceMutexName)),
          FFirst(GetLastError() != ERROR_ALREADY_EXISTS) {}
    bool IsFirst() const noexcept { return FFirst; }

private:
    UniqueHandle FMutex;
    bool FFirst;
};

// Asks the copy that runs already to show its panel; true when its window was found.
bool ShowRunningCopy() noexcept;

} // namespace trellane
