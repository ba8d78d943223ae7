// The maker's web page, opened from the panel's address label and from the tray menu.
#pragma once

namespace trellane {

inline constexpr wchar_t kMakerPage[] = L"https://example.jp/trellane/";

} // namespace trellane
