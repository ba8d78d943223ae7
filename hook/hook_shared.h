// The record that every copy of the hook library shares through one named section, and the
// notification messages the hook posts to the program. Platform-free so that its layout and the
// hook's decisions can be checked on any machine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

// One fixed name in every process; no "Local\" or "Global\" prefix, so the section lives in the
// session namespace like any unprefixed name.
#define VELLUM_HOOK_MAPPING_NAME "jp.trellane.Vellum.Hook.mmf"

#pragma pack(push, 1)
struct HookShared {
    std::uint32_t NotifyWnd;    // window that receives every notification
    std::uint32_t Reserved4;    // never written or read
    std::uint32_t HookHandle;   // handle of the installed global mouse hook
    std::uint32_t Reserved12;   // never written or read
    std::uint8_t GridOn;        // 0 or 1; kept for the program only
    std::uint8_t RightButtonOn; // 0 or 1
    std::int32_t GridWidth;     // unaligned on purpose: the layout is shared with every copy
    std::uint8_t Dragging;      // 0 or 1; a caption or border drag is in progress somewhere
};
#pragma pack(pop)

static_assert(sizeof(HookShared) == 23, "every copy of the library maps exactly 23 bytes");
static_assert(offsetof(HookShared, NotifyWnd) == 0, "layout is binding across processes");
static_assert(offsetof(HookShared, HookHandle) == 8, "layout is binding across processes");
static_assert(offsetof(HookShared, GridOn) == 16, "layout is binding across processes");
static_assert(offsetof(HookShared, RightButtonOn) == 17, "layout is binding across processes");
static_assert(offsetof(HookShared, GridWidth) == 18, "layout is binding across processes");
static_assert(offsetof(HookShared, Dragging) == 22, "layout is binding across processes");

constexpr std::uint32_t kHookSharedSize = sizeof(HookShared);

// The notification messages the hook posts, with the target window as wParam and 0 as lParam:
// each name with its number, once. The numbers are not contiguous (0x085E is none of them), so
// a message is recognised by this list, never by a span of numbers. A new notification is one
// line here, a case in WindowCommands::OnMessage (app/window_commands.cpp) and its handler.
#define VELLUM_NOTIFICATIONS(X)                                                                              \
    X(HM_MOUSEMOVE, 0x085A)                                                                                  \
    X(HM_DRAGSTART, 0x085B)                                                                                  \
    X(HM_DRAGEND, 0x085C)                                                                                    \
    X(HM_RCLICK, 0x085D)                                                                                     \
    X(HM_MCLICK, 0x085F)                                                                                     \
    X(HM_SHIFT_RCLICK, 0x0860)                                                                               \
    X(HM_RDBLCLK, 0x0861)

#define VELLUM_NOTIFICATION_CONSTANT(name, number) constexpr unsigned name = number;
VELLUM_NOTIFICATIONS(VELLUM_NOTIFICATION_CONSTANT)
#undef VELLUM_NOTIFICATION_CONSTANT

struct HookNotification {
    unsigned message;
    const char* name;
};

inline constexpr HookNotification kHookNotifications[] = {
#define VELLUM_NOTIFICATION_ROW(name, number) {name, #name},
    VELLUM_NOTIFICATIONS(VELLUM_NOTIFICATION_ROW)
#undef VELLUM_NOTIFICATION_ROW
};

constexpr bool IsNotification(unsigned message) noexcept {
    for (const HookNotification& notification : kHookNotifications)
        if (notification.message == message) return true;
    return false;
}

// The constant's name ("HM_DRAGSTART"), for reports.
constexpr const char* NotificationName(unsigned message) noexcept {
    for (const HookNotification& notification : kHookNotifications)
        if (notification.message == message) return notification.name;
    return "not a notification";
}

// The lowest and the highest notification number: a message-queue filter (PeekMessage) takes one
// span, and this one holds every notification whatever numbers are added.
constexpr unsigned LowestNotification() noexcept {
    unsigned lowest = kHookNotifications[0].message;
    for (const HookNotification& notification : kHookNotifications)
        if (notification.message < lowest) lowest = notification.message;
    return lowest;
}
constexpr unsigned HighestNotification() noexcept {
    unsigned highest = kHookNotifications[0].message;
    for (const HookNotification& notification : kHookNotifications)
        if (notification.message > highest) highest = notification.message;
    return highest;
}

// Truth values at the library boundary: any nonzero argument is true, results are 0 or 1.
constexpr std::uint8_t ToFlag(std::int32_t value) noexcept {
    return value != 0 ? 1 : 0;
}

} // namespace vellum
