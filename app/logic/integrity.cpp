#include "integrity.h"

namespace trellane {

namespace {

constexpr std::wstring_view kBalloonBefore = L"「";
constexpr std::wstring_view kBalloonAfter =
    L"」は管理者として実行されているため、Trellane は操作できません。Trellane を管理者として実行すると操作できます。";
constexpr std::wstring_view kEllipsis = L"…";

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// "S-1-" followed by numbers, each after one "-".
bool IsSidText(std::wstring_view text) {
    constexpr std::wstring_view kPrefix = L"S-1-";
    if (text.substr(0, kPrefix.size()) != kPrefix) return false;
    bool digitBefore = false;
    for (const wchar_t c : text.substr(kPrefix.size())) {
        if (IsDigit(c)) {
            digitBefore = true;
        } else if (c == L'-' && digitBefore) {
            digitBefore = false;
        } else {
            return false;
        }
    }
    return digitBefore;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

bool HookCannotReach(std::optional<std::uint32_t> own, std::optional<std::uint32_t> windows) noexcept {
    if (!own) return false;
    if (!windows) return true;
    return *windows > *own;
}

std::wstring SharedSectionSddl(std::wstring_view userSid) {
    if (!IsSidText(userSid)) return {};
    // P: no entries inherited; GA: everything; ML;;NW;;;ME: medium label, no write from below it.
    std::wstring sddl = L"D:P(A;;GA;;;";
    sddl += userSid;
    sddl += L")(A;;GA;;;SY)S:(ML;;NW;;;ME)";
    return sddl;
}

std::wstring UnreachableBalloonText(std::wstring_view windowTitle, std::size_t capacity) {
    const std::size_t fixed = kBalloonBefore.size() + kBalloonAfter.size();
    if (capacity <= fixed + kEllipsis.size()) return {};
    const std::size_t room = capacity - 1 - fixed;
    std::wstring_view title = windowTitle;
    bool cut = false;
    if (title.size() > room) {
        title = title.substr(0, room - kEllipsis.size());
        if (!title.empty() && IsHighSurrogate(title.back())) title.remove_suffix(1);
        cut = true;
    }
    std::wstring text(kBalloonBefore);
    text += title;
    if (cut) text += kEllipsis;
    text += kBalloonAfter;
    return text;
}

} // namespace trellane
