#include "window_translucency.h"

#include "trace.h"
#include "window_calls.h"
#include "window_property.h"

namespace trellane {

namespace {

ATOM StateAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.TranslucentFrom");
    return atom;
}
ATOM KeyAtom() noexcept {
    static const ATOM atom = RecordAtom(L"jp.trellane.Trellane.TranslucentKey");
    return atom;
}

} // namespace

bool KeepTranslucencyRecord(HWND window, const TranslucencyRecord& record) noexcept {
    const KeptTranslucency kept = KeptValues(record);
    if (SetPropertyValue(window, StateAtom(), static_cast<std::uint32_t>(kept.state)) &&
        SetPropertyValue(window, KeyAtom(), static_cast<std::uint32_t>(kept.colorKey)))
        return true;
    wchar_t subject[24];
    LogFailure(L"SetPropW", WindowSubject(window, subject));
    DropTranslucencyRecord(window);
    return false;
}

void DropTranslucencyRecord(HWND window) noexcept {
    RemoveProperty(window, StateAtom());
    RemoveProperty(window, KeyAtom());
}

KeptTranslucency ReadTranslucencyRecord(HWND window) noexcept {
    return KeptTranslucency{PropertyValue(window, StateAtom()), PropertyValue(window, KeyAtom())};
}

std::vector<HWND> WindowsWithTranslucencyRecords() {
    return WindowsWithProperty({StateAtom(), KeyAtom()});
}

void SetTranslucency(HWND target, TranslucencyRequest request, std::int32_t level) noexcept {
    // The layered style is set and cleared with SetWindowLongA, which waits for the window's
    // program. A window that does not answer keeps its state, and its record.
    if (!AnswersMessages(target, L"SetTranslucency")) return;
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(target, GWL_EXSTYLE));
    LayeredState now;
    now.layered = (exStyle & WS_EX_LAYERED) != 0;
    if (now.layered) now.readable = ReadLayeredAttributes(target, now);

    const KeptTranslucency kept = ReadTranslucencyRecord(target);
    const KeptTranslucencyAction keptAction = DecideKeptTranslucency(kept, now);
    if (keptAction == KeptTranslucencyAction::Drop) DropTranslucencyRecord(target);
    if (keptAction == KeptTranslucencyAction::Ignore) {
        wchar_t subject[24];
        LogFailure(L"SetTranslucency", WindowSubject(target, subject), ERROR_INVALID_DATA);
    }
    const std::optional<TranslucencyRecord> made =
        keptAction == KeptTranslucencyAction::Applies ? RecordFromKept(kept) : std::nullopt;

    switch (DecideTranslucency(request, made.has_value(), now.layered, now.readable)) {
    case TranslucencyAction::Nothing:
        return;
    case TranslucencyAction::MakeTranslucent: {
        const LayeredAttributes attributes = TranslucentAttributes(now, level);
        // Recorded on the window first: whatever ends this program, the window can be given back.
        if (!KeepTranslucencyRecord(target, TranslucencyRecord{now, attributes.alpha})) return;
        if (!now.layered) SetWindowLongA(target, GWL_EXSTYLE, static_cast<LONG>(exStyle | WS_EX_LAYERED));
        SetLayeredWindowAttributes(target, attributes.colorKey, attributes.alpha, attributes.flags);
        return;
    }
    case TranslucencyAction::Restore: {
        const LayeredState& earlier = made->before;
        DropTranslucencyRecord(target);
        if (!earlier.layered) {
            SetWindowLongA(target, GWL_EXSTYLE,
                           static_cast<LONG>(exStyle & ~static_cast<DWORD>(WS_EX_LAYERED)));
            // The system drops what it kept of a layered window's image: the window must draw
            // itself again, or it shows stale pixels until something else makes it.
            RedrawWindow(target, nullptr, nullptr, kRepaintFlags);
            return;
        }
        SetLayeredWindowAttributes(target, earlier.colorKey, earlier.alpha, earlier.flags);
        return;
    }
    }
}

void GiveBackTranslucency() noexcept {
    try {
        // Putting a window back takes no level.
        for (const HWND window : WindowsWithTranslucencyRecords())
            SetTranslucency(window, TranslucencyRequest::Off, 0);
    } catch (...) {
        LogFailure(L"GiveBackTranslucency", L"translucent windows", ERROR_NOT_ENOUGH_MEMORY);
    }
}

} // namespace trellane
