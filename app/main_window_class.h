// The class name of the main form's window: the running copy is found by it (a second start asks
// it to show its panel), so the form and the single-instance check share it without either
// including the other.
#pragma once

namespace trellane {

constexpr wchar_t kMainWindowClassName[] = L"TfrmTrellane";

} // namespace trellane
