#include "tray_rules.h"

namespace trellane {

std::string CutTrayHint(std::string_view ansiHint, const std::function<bool(unsigned char)>& isLeadByte) {
    if (ansiHint.size() <= kMaxTrayHintBytes) return std::string(ansiHint);
    std::size_t end = 0;
    while (end < kMaxTrayHintBytes) {
        const std::size_t width = isLeadByte(static_cast<unsigned char>(ansiHint[end])) ? 2 : 1;
        if (end + width > kMaxTrayHintBytes) break;
        end += width;
    }
    return std::string(ansiHint.substr(0, end));
}

namespace {

constexpr TrayStep Step(TrayAction action, TMouseButton button = TMouseButton::mbLeft,
                        bool doubleClick = false) {
    return TrayStep{action, button, doubleClick};
}

template <class... Item> TraySteps Steps(Item... steps) noexcept {
    static_assert(sizeof...(steps) <= std::tuple_size_v<decltype(TraySteps::steps)>, "room for every step");
    return TraySteps{{{steps...}}, sizeof...(steps)};
}

} // namespace

TraySteps TrayStepsFor(std::uint32_t mouseMessage) noexcept {
    using A = TrayAction;
    using B = TMouseButton;
    switch (mouseMessage) {
    case 512: // WM_MOUSEMOVE
        return Steps(Step(A::MouseMove));
    case 513: // WM_LBUTTONDOWN
        return Steps(Step(A::MouseDown, B::mbLeft));
    case 514: // WM_LBUTTONUP
        return Steps(Step(A::Click), Step(A::MouseUp, B::mbLeft), Step(A::PopupLeftMenu));
    case 515: // WM_LBUTTONDBLCLK
        return Steps(Step(A::DblClick), Step(A::MouseDown, B::mbLeft, true));
    case 516: // WM_RBUTTONDOWN
        return Steps(Step(A::MouseDown, B::mbRight));
    case 517: // WM_RBUTTONUP
        return Steps(Step(A::MouseUp, B::mbRight), Step(A::PopupRightMenu));
    case 518: // WM_RBUTTONDBLCLK
        return Steps(Step(A::MouseDown, B::mbRight, true));
    case 519: // WM_MBUTTONDOWN
        return Steps(Step(A::MouseDown, B::mbMiddle));
    case 520: // WM_MBUTTONUP
        return Steps(Step(A::MouseUp, B::mbMiddle));
    case 521: // WM_MBUTTONDBLCLK
        return Steps(Step(A::MouseDown, B::mbMiddle, true));
    default:
        return TraySteps{};
    }
}

std::array<KeyStroke, 3> WindowsKeyShortcut(std::uint8_t letterKey) noexcept {
    return {{{kLeftWindowsKey, 0}, {letterKey, 0}, {kLeftWindowsKey, kKeyUpFlag}}};
}

} // namespace trellane
