#include "elevation.h"

#include <sddl.h>

#include <iterator>
#include <string>

#include "hook_shared.h"
#include "integrity.h"
#include "private_messages.h"
#include "trace.h"

namespace trellane {

namespace {

using UniqueLocal = UniqueResource<NullInvalidTraits<HLOCAL, &LocalFree>>;

// Where the system's callback posts the windows that start a move (there is one notice per process).
HWND NoticeMailbox = nullptr;

constexpr wchar_t kNoticeClassName[] = L"TrellaneUnreachableWindowNotice";
// What the shell's balloon record holds, the terminating zero included.
constexpr std::size_t kBalloonTextCapacity = 256;

void CALLBACK OnMoveSizeStart(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                              DWORD) noexcept {
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !NoticeMailbox) return;
    PostMessageW(NoticeMailbox, WM_UNREACHABLE_MOVESTART, reinterpret_cast<WPARAM>(window), 0);
}

// The SID of this program's user as text, or empty.
std::wstring CurrentUserSid() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) {
        LogFailure(L"OpenProcessToken", L"user");
        return {};
    }
    const UniqueHandle token(raw);
    // A token's user is one SID: room for the largest there is.
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size)) {
        LogFailure(L"GetTokenInformation", L"user");
        return {};
    }
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid, &text)) {
        LogFailure(L"ConvertSidToStringSidW", L"user");
        return {};
    }
    const UniqueLocal owned(text);
    return text;
}

} // namespace

bool ShareHookSectionWithUser() {
    const std::wstring sddl = SharedSectionSddl(CurrentUserSid());
    if (sddl.empty()) return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        LogFailure(L"ConvertStringSecurityDescriptorToSecurityDescriptorW", sddl);
        return false;
    }
    const UniqueLocal owned(descriptor);
    // Writing the label takes the right to change the owner.
    const UniqueHandle section(OpenFileMappingA(WRITE_DAC | WRITE_OWNER, FALSE, VELLUM_HOOK_MAPPING_NAME));
    if (!section) {
        LogFailure(L"OpenFileMappingA", L"hook section");
        return false;
    }
    if (!SetKernelObjectSecurity(section.get(), DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION,
                                 descriptor)) {
        LogFailure(L"SetKernelObjectSecurity", sddl);
        return false;
    }
    return true;
}

void LetHookNotificationsThrough(HWND window) noexcept {
    for (const vellum::HookNotification& notification : vellum::kHookNotifications)
        LetThroughFromLowerRights(window, notification.message);
}

void LetThroughFromLowerRights(HWND window, UINT message) noexcept {
    if (ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr)) return;
    wchar_t subject[24];
    LogFailure(L"ChangeWindowMessageFilterEx", WindowSubject(window, subject));
}

std::optional<std::uint32_t> IntegrityLevelOf(HANDLE process) noexcept {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) {
        LogFailure(L"OpenProcessToken", L"integrity level");
        return std::nullopt;
    }
    const UniqueHandle token(raw);
    // A label is one SID: room for the largest there is.
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
        LogFailure(L"GetTokenInformation", L"integrity level");
        return std::nullopt;
    }
    const PSID label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(label);
    if (count == 0) return std::nullopt;
    return *GetSidSubAuthority(label, count - 1);
}

UnreachableWindowNotice::UnreachableWindowNotice(ShowBalloon show)
    : BoundWindow(L"UnreachableWindowNotice::WndProc"), FShow(std::move(show)),
      FOwnLevel(IntegrityLevelOf(GetCurrentProcess())) {
    if (!RegisterBoundClass(kNoticeClassName) ||
        !CreateBoundWindow(0, kNoticeClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                           GetModuleHandleW(nullptr))) {
        LogFailure(L"CreateWindowExW", kNoticeClassName);
        return;
    }
    NoticeMailbox = FMailbox.get();
    FHook = SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZESTART, nullptr, OnMoveSizeStart,
                            0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!FHook) LogFailure(L"SetWinEventHook", L"move starts");
}

UnreachableWindowNotice::~UnreachableWindowNotice() {
    if (FHook) UnhookWinEvent(FHook);
    NoticeMailbox = nullptr;
    FMailbox.reset();
}

LRESULT UnreachableWindowNotice::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_UNREACHABLE_MOVESTART) return DefWindowProcW(window, message, wParam, lParam);
    OnMoveStart(reinterpret_cast<HWND>(wParam));
    return 0;
}

void UnreachableWindowNotice::OnMoveStart(HWND window) {
    if (FShown || !FShow || !IsWindow(window)) return;
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId) || processId == 0) return;
    // A process that cannot even be queried is one with higher rights (or protected): out of reach.
    std::optional<std::uint32_t> level;
    if (const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)); process)
        level = IntegrityLevelOf(process.get());
    else
        LogFailure(L"OpenProcess", L"window starting a move");
    if (!HookCannotReach(FOwnLevel, level)) return;
    // Read from the system's copy: a window of a program with higher rights is never sent a message,
    // which could wait for as long as that program is busy.
    wchar_t title[kBalloonTextCapacity] = {};
    InternalGetWindowText(window, title, static_cast<int>(std::size(title)));
    FShown = FShow(kUnreachableBalloonTitle, UnreachableBalloonText(title, kBalloonTextCapacity));
}

} // namespace trellane
