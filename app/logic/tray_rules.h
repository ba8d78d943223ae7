// What the tray icon and its menu decide without asking the system: how long a tooltip may be,
// which shift state a shell callback carries, which events each mouse message of the shell raises,
// and which key strokes make a Windows-key shortcut.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace trellane {

// ---- Tooltip --------------------------------------------------------------------------------------

// The shell's first tray record has 64 tooltip bytes, one of them the terminating zero.
constexpr std::size_t kMaxTrayHintBytes = 63;

// The tooltip as the component keeps it: at most the first 63 bytes of a longer text, cut on a
// character boundary of the ANSI code page. isLeadByte tells the first byte of a double-byte
// character, as the system's IsDBCSLeadByte does; a pair that would straddle the limit is left out.
std::string CutTrayHint(std::string_view ansiHint, const std::function<bool(unsigned char)>& isLeadByte);

// ---- Shift state and buttons of the mouse events ---------------------------------------------------

// Elements of a shift state with their bit values.
enum class TShift : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

// A set of TShift elements, held in one byte.
class TShiftState {
public:
    constexpr TShiftState() noexcept = default;
    constexpr explicit TShiftState(std::uint8_t bits) noexcept : FBits(bits) {}
    constexpr TShiftState operator+(TShift element) const noexcept {
        return TShiftState(static_cast<std::uint8_t>(FBits | static_cast<std::uint8_t>(element)));
    }
    constexpr bool Contains(TShift element) const noexcept {
        return (FBits & static_cast<std::uint8_t>(element)) != 0;
    }
    constexpr std::uint8_t Bits() const noexcept { return FBits; }
    friend constexpr bool operator==(TShiftState a, TShiftState b) noexcept { return a.FBits == b.FBits; }
    friend constexpr bool operator!=(TShiftState a, TShiftState b) noexcept { return a.FBits != b.FBits; }

private:
    std::uint8_t FBits = 0;
};

enum class TMouseButton : std::uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// A key is down when the high bit of its GetKeyState value is set.
constexpr bool IsKeyDown(std::int16_t keyState) noexcept {
    return keyState < 0;
}

// The keys that make up a shift state, in the order they are asked about: Shift, Ctrl, Alt, then the
// left, right and middle mouse buttons (virtual-key codes).
constexpr std::array<std::pair<int, TShift>, 6> kShiftStateKeys{{
    {0x10, TShift::ssShift},
    {0x11, TShift::ssCtrl},
    {0x12, TShift::ssAlt},
    {0x01, TShift::ssLeft},
    {0x02, TShift::ssRight},
    {0x04, TShift::ssMiddle},
}};

// The shift state from a key-state reader (GetKeyState in the program): every key whose state has
// the high bit set adds its element.
template <class KeyStateReader> TShiftState ShiftStateFrom(KeyStateReader&& keyState) {
    TShiftState shift;
    for (const auto& [virtualKey, element] : kShiftStateKeys) {
        if (IsKeyDown(keyState(virtualKey))) shift = shift + element;
    }
    return shift;
}

// ---- The shell's callback ---------------------------------------------------------------------------

// The message number the shell sends to the component's window for its icon (WM_USER).
constexpr std::uint32_t kTrayCallbackMessage = 1024;

// One thing a callback does. PopupLeftMenu and PopupRightMenu open the menu of that button's
// property at the cursor.
enum class TrayAction : std::uint8_t {
    MouseMove,
    MouseDown,
    MouseUp,
    Click,
    DblClick,
    PopupLeftMenu,
    PopupRightMenu
};

struct TrayStep {
    TrayAction action;
    TMouseButton button; // for the mouse events
    bool doubleClick;    // the shift state also gets ssDouble
};

// The steps of one callback in the order they run; empty for messages the component ignores.
struct TraySteps {
    std::array<TrayStep, 3> steps{};
    std::size_t count = 0;
    const TrayStep* begin() const noexcept { return steps.data(); }
    const TrayStep* end() const noexcept { return steps.data() + count; }
};

// The steps for the mouse message the shell reports in the callback's LParam (WM_MOUSEMOVE 512 to
// WM_MBUTTONDBLCLK 521). Right and middle buttons raise no click event, and only the left and right
// releases open a menu.
TraySteps TrayStepsFor(std::uint32_t mouseMessage) noexcept;

// ---- Windows-key shortcuts of the tray menu ----------------------------------------------------------

constexpr std::uint8_t kLeftWindowsKey = 0x5B; // VK_LWIN
constexpr std::uint32_t kKeyUpFlag = 2;        // KEYEVENTF_KEYUP
constexpr std::uint8_t kMinimizeAllKey = 0x4D; // M
constexpr std::uint8_t kShowDesktopKey = 0x44; // D
constexpr std::uint8_t kExplorerKey = 0x45;    // E

struct KeyStroke {
    std::uint8_t virtualKey;
    std::uint32_t flags;
};

// Windows key down, the letter down, Windows key up. The letter is never released: the shell acts on
// the key-down already.
std::array<KeyStroke, 3> WindowsKeyShortcut(std::uint8_t letterKey) noexcept;

} // namespace trellane
