#include "display_mode.h"

#include <algorithm>

#include "int32.h"

namespace trellane {
namespace {

// "%Nd" of a 32-bit field: signed reading of the bits, right-aligned in at least minWidth columns.
std::wstring FormatField(std::uint32_t bits, std::size_t minWidth) {
    std::wstring text = std::to_wstring(Int32FromBits(bits));
    if (text.size() < minWidth) text.insert(0, minWidth - text.size(), L' ');
    return text;
}

bool SameSize(const DisplayModeFacts& a, const DisplayModeFacts& b) {
    return a.width == b.width && a.height == b.height;
}

// Of two modes of one size: the one at the current refresh rate, else the faster.
bool BetterRate(const DisplayModeFacts& a, const DisplayModeFacts& b, std::uint32_t currentRate) {
    if (b.frequency == currentRate) return false;
    return a.frequency == currentRate || a.frequency > b.frequency;
}

std::uint64_t Area(const DisplayModeFacts& mode) {
    return std::uint64_t{mode.width} * mode.height;
}

} // namespace

std::vector<std::size_t> OfferedDisplayModes(const std::vector<DisplayModeFacts>& listed,
                                             const DisplayModeFacts& current) {
    std::vector<std::size_t> offered;
    for (std::size_t index = 0; index < listed.size(); ++index) {
        const DisplayModeFacts& mode = listed[index];
        if (mode.bitsPerPixel != current.bitsPerPixel) continue;
        const auto same = std::find_if(offered.begin(), offered.end(),
                                       [&](std::size_t other) { return SameSize(listed[other], mode); });
        if (same == offered.end()) {
            offered.push_back(index);
        } else if (BetterRate(mode, listed[*same], current.frequency)) {
            *same = index;
        }
    }
    std::stable_sort(offered.begin(), offered.end(), [&](std::size_t a, std::size_t b) {
        const DisplayModeFacts& left = listed[a];
        const DisplayModeFacts& right = listed[b];
        if (Area(left) != Area(right)) return Area(left) > Area(right);
        return left.width > right.width;
    });
    if (offered.size() <= static_cast<std::size_t>(kMaxDisplayModes)) return offered;
    const auto isCurrent = [&](std::size_t index) { return SameSize(listed[index], current); };
    const auto currentAt = std::find_if(offered.begin(), offered.end(), isCurrent);
    const bool currentCut = currentAt != offered.end() && currentAt - offered.begin() >= kMaxDisplayModes;
    // The current size, smaller than all that are kept, takes the last place.
    if (currentCut) offered[kMaxDisplayModes - 1] = *currentAt;
    offered.resize(kMaxDisplayModes);
    return offered;
}

std::wstring DisplayModeCaption(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel,
                                std::uint32_t frequency) {
    return FormatField(width, 4) + L" x " + FormatField(height, 4) + L" (" + FormatField(bitsPerPixel, 2) +
           L"Bit) " + FormatField(frequency, 2) + L"Hz";
}

std::wstring DisplayModeQuestion(std::wstring_view caption) {
    std::wstring question(caption);
    question += L" に変更しますか？";
    return question;
}

std::wstring KeepModeCountdown(int secondsLeft) {
    return std::to_wstring(secondsLeft) + L" 秒後に元に戻ります。";
}

std::wstring DisplayChangeFailureText(std::wstring_view caption, long result) {
    std::wstring reason;
    switch (static_cast<DisplayChangeResult>(result)) {
    case DisplayChangeResult::Restart:
        reason = L"この画面モードにするには Windows の再起動が必要です。";
        break;
    case DisplayChangeResult::Failed:
        reason = L"ディスプレイ ドライバーがこの画面モードに切り替えられませんでした。";
        break;
    case DisplayChangeResult::BadMode:
        reason = L"この画面モードはお使いのディスプレイでは使えません。";
        break;
    case DisplayChangeResult::NotUpdated:
        reason = L"画面モードの設定を保存できませんでした。";
        break;
    case DisplayChangeResult::BadFlags:
        reason = L"画面モードの変更方法の指定が正しくありません。";
        break;
    case DisplayChangeResult::BadParam:
        reason = L"画面モードの指定が正しくありません。";
        break;
    case DisplayChangeResult::BadDualView:
        reason = L"DualView が使われているため、この画面モードにできません。";
        break;
    default:
        reason = L"Windows が変更を受け付けませんでした（結果 " + std::to_wstring(result) + L"）。";
        break;
    }
    return std::wstring(caption) + L" に変更できませんでした。\r\n" + reason +
           L"\r\n画面モードは元のままです。";
}

} // namespace trellane
