// What the mouse hook costs: the real hook procedure against a pass-through hook that only calls
// CallNextHookEx, over the same recorded-style mouse traffic, in interleaved rounds so that drift of
// the machine (other processes, frequency changes, an emulator's translation caches) hits both alike.
// Prints figures; never fails on them.
//
//   hook_bench.exe [--rounds N]
#include "hook_shared.h"
#include "mouse_decision.h"
#include "vellum_callback.h"
#include "vellum_unit.h"

#include <windows.h>

#include "bench_common.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The least any hook can do: hand the message on.
LRESULT CALLBACK PassThroughProc(int code, WPARAM message, LPARAM info) noexcept {
    return CallNextHookEx(nullptr, code, message, info);
}

struct HookCall {
    int code;
    UINT message;
    MOUSEHOOKSTRUCT info;
};

// A small deterministic generator, so every run replays exactly the same traffic.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    std::uint32_t Below(std::uint32_t limit) { return Next() % limit; }

private:
    std::uint32_t state_;
};

// Traffic as a user produces it while working, not dragging: the pointer wanders over client areas
// and now and then over captions and borders, with the occasional click, wheel turn or press on a
// menu bar or caption button. About one call in ten is a peek (HC_NOREMOVE) before the removal.
std::vector<HookCall> EverydayTraffic(HWND target, size_t count) {
    Lcg random(20261208);
    std::vector<HookCall> calls;
    calls.reserve(count);
    auto add = [&](UINT message, UINT hitTest) {
        HookCall call{};
        call.code = random.Below(10) == 0 ? HC_NOREMOVE : HC_ACTION;
        call.message = message;
        call.info.pt = POINT{static_cast<LONG>(random.Below(1024)), static_cast<LONG>(random.Below(768))};
        call.info.hwnd = target;
        call.info.wHitTestCode = hitTest;
        calls.push_back(call);
    };
    static const UINT nonClientParts[] = {HTCAPTION, HTCAPTION,   HTCAPTION,     HTLEFT,
                                          HTRIGHT,   HTBOTTOM,    HTBOTTOMRIGHT, HTMENU,
                                          HTVSCROLL, HTMINBUTTON, HTCLOSE,       HTSYSMENU};
    while (calls.size() < count) {
        const std::uint32_t roll = random.Below(1000);
        if (roll < 620) {
            add(WM_MOUSEMOVE, HTCLIENT);
        } else if (roll < 930) {
            add(WM_NCMOUSEMOVE,
                nonClientParts[random.Below(sizeof nonClientParts / sizeof nonClientParts[0])]);
        } else if (roll < 955) {
            add(WM_LBUTTONDOWN, HTCLIENT);
            add(WM_LBUTTONUP, HTCLIENT);
        } else if (roll < 965) {
            add(WM_RBUTTONDOWN, HTCLIENT);
            add(WM_RBUTTONUP, HTCLIENT);
        } else if (roll < 985) {
            add(WM_MOUSEWHEEL, HTCLIENT);
        } else if (roll < 993) {
            add(WM_NCLBUTTONDOWN, HTMENU);
            add(WM_LBUTTONUP, HTCLIENT);
        } else {
            // A press on a caption button: passed on, no drag.
            add(WM_NCLBUTTONDOWN, random.Below(2) == 0 ? HTMINBUTTON : HTCLOSE);
            add(WM_NCLBUTTONUP, HTMINBUTTON);
        }
    }
    calls.resize(count);
    return calls;
}

// One caption drag: a press, moves that each post HM_MOUSEMOVE, a release.
std::vector<HookCall> CaptionDrag(HWND target, size_t moves) {
    std::vector<HookCall> calls;
    auto add = [&](UINT message, UINT hitTest) {
        HookCall call{};
        call.code = HC_ACTION;
        call.message = message;
        call.info.hwnd = target;
        call.info.wHitTestCode = hitTest;
        calls.push_back(call);
    };
    add(WM_NCLBUTTONDOWN, HTCAPTION);
    for (size_t i = 0; i < moves; ++i)
        add(WM_MOUSEMOVE, HTCLIENT);
    add(WM_LBUTTONUP, HTCLIENT);
    return calls;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Through a volatile pointer, so the compiler cannot inline either procedure into the loop and
// both are called exactly as the system calls a hook.
HOOKPROC volatile g_proc = nullptr;
volatile LRESULT g_sink = 0;

double NanosecondsPerCall(HOOKPROC proc, std::vector<HookCall>& calls, const LARGE_INTEGER& frequency) {
    g_proc = proc;
    LRESULT sink = 0;
    LARGE_INTEGER start{};
    LARGE_INTEGER stop{};
    QueryPerformanceCounter(&start);
    for (HookCall& call : calls)
        sink += g_proc(call.code, call.message, reinterpret_cast<LPARAM>(&call.info));
    QueryPerformanceCounter(&stop);
    g_sink = g_sink + sink;
    return Seconds(start, stop, frequency) * 1e9 / static_cast<double>(calls.size());
}

// The decision alone, without the record, the key state, the post or the chain call: what the hook
// adds on a machine where handing a message on costs next to nothing.
double DecisionNanoseconds(const std::vector<HookCall>& calls, const LARGE_INTEGER& frequency) {
    volatile unsigned sink = 0;
    volatile bool dragging = false;
    LARGE_INTEGER start{};
    LARGE_INTEGER stop{};
    QueryPerformanceCounter(&start);
    for (const HookCall& call : calls) {
        const vellum::MouseVerdict verdict =
            vellum::ClassifyMouse(call.code, call.message, call.info.wHitTestCode, dragging, true, false);
        sink = sink + verdict.post + (verdict.swallow ? 1u : 0u);
    }
    QueryPerformanceCounter(&stop);
    return Seconds(start, stop, frequency) * 1e9 / static_cast<double>(calls.size());
}

void DrainPosted() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

struct Comparison {
    double passThroughNs;
    double hookNs;
    double ratio;   // median of the per-round ratios
    double addedNs; // median of the per-round differences
};

// Rounds alternate which procedure goes first; each round's pair gives one ratio.
Comparison Compare(std::vector<HookCall>& calls, int rounds, const LARGE_INTEGER& frequency) {
    std::vector<double> passThrough;
    std::vector<double> hook;
    std::vector<double> ratios;
    std::vector<double> differences;
    // One untimed pass each: page in the code, warm the caches and the emulator's translations.
    NanosecondsPerCall(PassThroughProc, calls, frequency);
    NanosecondsPerCall(vellum::MouseHookProc, calls, frequency);
    vellum::SharedView->Dragging = 0;
    DrainPosted();
    for (int round = 0; round < rounds; ++round) {
        double hookTime = 0.0;
        double passTime = 0.0;
        if (round % 2 == 0) {
            passTime = NanosecondsPerCall(PassThroughProc, calls, frequency);
            hookTime = NanosecondsPerCall(vellum::MouseHookProc, calls, frequency);
        } else {
            hookTime = NanosecondsPerCall(vellum::MouseHookProc, calls, frequency);
            passTime = NanosecondsPerCall(PassThroughProc, calls, frequency);
        }
        vellum::SharedView->Dragging = 0;
        DrainPosted();
        passThrough.push_back(passTime);
        hook.push_back(hookTime);
        ratios.push_back(hookTime / passTime);
        differences.push_back(hookTime - passTime);
    }
    return Comparison{Median(passThrough), Median(hook), Median(ratios), Median(differences)};
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = ParseBenchOptions(argc, argv, 31).rounds;

    vellum::InitializeUnit();
    if (!vellum::SharedView) {
        std::printf("hook: no view of the shared section; nothing measured\n");
        return 1;
    }
    const unsigned char zeros[sizeof(vellum::HookShared)] = {};
    if (std::memcmp(vellum::SharedView, zeros, sizeof zeros) != 0) {
        // Another process has the library loaded: its program would receive our notifications.
        std::printf("hook: the shared section is in use by another process; run on a bench of its own\n");
        vellum::FinalizeUnit();
        return 1;
    }
    const HWND receiver = MessageWindow();
    const HWND target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x00010042));
    vellum::SharedView->NotifyWnd = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(receiver));
    vellum::SharedView->RightButtonOn = 1;
    vellum::SharedView->Dragging = 0;

    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);

    std::vector<HookCall> everyday = EverydayTraffic(target, 4096);
    const Comparison ordinary = Compare(everyday, rounds, frequency);
    std::printf("hook procedure, %zu everyday mouse messages (no drag), %d interleaved rounds, medians:\n",
                everyday.size(), rounds);
    std::printf("  pass-through hook (CallNextHookEx only): %9.1f ns per message\n", ordinary.passThroughNs);
    std::printf("  MouseHookProc:                           %9.1f ns per message\n", ordinary.hookNs);
    std::printf("  added by the hook (paired rounds):       %9.1f ns per message\n", ordinary.addedNs);
    std::printf("  ratio hook / pass-through:               %9.3f (target <= 1.05: %s)\n", ordinary.ratio,
                ordinary.ratio <= 1.05 ? "met" : "NOT met");

    std::vector<double> decisions;
    for (int round = 0; round < rounds; ++round)
        decisions.push_back(DecisionNanoseconds(everyday, frequency));
    std::printf("  the decision alone (ClassifyMouse):      %9.1f ns per message\n", Median(decisions));

    std::vector<HookCall> drag = CaptionDrag(target, 254);
    const Comparison dragging = Compare(drag, rounds, frequency);
    std::printf("during a caption drag (%zu messages, every move posts HM_MOUSEMOVE; for information):\n",
                drag.size());
    std::printf("  pass-through hook: %9.1f ns, MouseHookProc: %9.1f ns per message, ratio %.2f\n",
                dragging.passThroughNs, dragging.hookNs, dragging.ratio);

    vellum::FinalizeUnit();
    DestroyWindow(receiver);
    return 0;
}
