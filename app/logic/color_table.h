// The colours the panel's colour list offers: the sixteen standard colours, four extended ones and
// the system colours, as colour values (an RGB value 0x00BBGGRR, or a system-colour reference with the
// top bits set and the system colour index in the low byte).
#pragma once

#include <cstddef>
#include <cstdint>

namespace trellane {

struct NamedColor {
    std::int32_t value;
    const wchar_t* name;
};

constexpr std::int32_t kSystemColorFlag = static_cast<std::int32_t>(0xFF000000u);

constexpr bool IsSystemColor(std::int32_t value) noexcept {
    return value < 0;
}
constexpr int SystemColorIndex(std::int32_t value) noexcept {
    return static_cast<int>(value & 0xFF);
}
constexpr std::int32_t SystemColor(int index) noexcept {
    return kSystemColorFlag | index;
}

// A colour value as RGB; system colours are resolved by the given look-up (GetSysColor).
template <class SysColorLookup> std::uint32_t ColorToRgb(std::int32_t value, SysColorLookup lookup) {
    if (IsSystemColor(value)) return static_cast<std::uint32_t>(lookup(SystemColorIndex(value))) & 0xFFFFFFu;
    return static_cast<std::uint32_t>(value) & 0xFFFFFFu;
}

inline constexpr NamedColor kColorList[] = {
    {0x000000, L"黒"},
    {0x000080, L"栗色"},
    {0x008000, L"緑"},
    {0x008080, L"オリーブ"},
    {0x800000, L"濃紺"},
    {0x800080, L"紫"},
    {0x808000, L"青緑"},
    {0x808080, L"灰色"},
    {0xC0C0C0, L"銀色"},
    {0x0000FF, L"赤"},
    {0x00FF00, L"黄緑"},
    {0x00FFFF, L"黄"},
    {0xFF0000, L"青"},
    {0xFF00FF, L"赤紫"},
    {0xFFFF00, L"水色"},
    {0xFFFFFF, L"白"},
    {0xC0DCC0, L"マネーグリーン"},
    {0xF0CAA6, L"スカイブルー"},
    {0xF0FBFF, L"クリーム"},
    {0xA4A0A0, L"中間の灰色"},
    {SystemColor(0), L"スクロールバー"},
    {SystemColor(1), L"デスクトップ"},
    {SystemColor(2), L"アクティブなタイトルバー"},
    {SystemColor(3), L"非アクティブなタイトルバー"},
    {SystemColor(4), L"メニュー"},
    {SystemColor(5), L"ウィンドウの背景"},
    {SystemColor(6), L"ウィンドウの枠"},
    {SystemColor(7), L"メニューの文字"},
    {SystemColor(8), L"ウィンドウの文字"},
    {SystemColor(9), L"タイトルバーの文字"},
    {SystemColor(10), L"アクティブな境界"},
    {SystemColor(11), L"非アクティブな境界"},
    {SystemColor(12), L"アプリケーションの背景"},
    {SystemColor(13), L"選択項目"},
    {SystemColor(14), L"選択項目の文字"},
    {SystemColor(15), L"ボタンの表面"},
    {SystemColor(16), L"ボタンの影"},
    {SystemColor(17), L"淡色表示の文字"},
    {SystemColor(18), L"ボタンの文字"},
    {SystemColor(19), L"非アクティブなタイトルバーの文字"},
    {SystemColor(20), L"ボタンの明るい部分"},
    {SystemColor(21), L"立体表示の濃い影"},
    {SystemColor(22), L"立体表示の明るい部分"},
    {SystemColor(23), L"ヒントの文字"},
    {SystemColor(24), L"ヒントの背景"},
};

constexpr std::size_t kColorCount = sizeof(kColorList) / sizeof(kColorList[0]);

// The list index of a colour value, or -1 when the list does not offer it.
constexpr int ColorIndexOf(std::int32_t value) noexcept {
    for (std::size_t i = 0; i < kColorCount; ++i)
        if (kColorList[i].value == value) return static_cast<int>(i);
    return -1;
}

} // namespace trellane
