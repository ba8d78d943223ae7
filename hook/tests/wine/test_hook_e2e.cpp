// The hook library end to end: the library from the dist folder installed in this process with a
// receiver window, a victim window in a process of its own (hook_victim.exe), and real mouse input:
// pointer and buttons driven at the X server under Wine's display, which Wine turns into hardware
// messages as it does for a user. The victim logs every mouse message its window procedure gets, so
// a test sees both sides: what the hook reported and what it let through.
//
// The system may call the hook twice for one mouse message (once while a thread only peeks at it,
// once when it removes it), so notifications are counted as "at least one" where that is allowed.
// Nothing is asserted after a fixed delay: every negative check follows a later event that the same
// victim thread must have handled after the one in question (see Barrier).
#include "hook_shared.h"
#include "vellum_library.h"
#include "winkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace std::chrono_literals;
using namespace vellum;

namespace {

constexpr wchar_t kVictimClass[] = L"TrellaneHookVictim";
constexpr wchar_t kReceiverClass[] = L"TrellaneHookE2EReceiver";

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

size_t CountIn(const std::vector<Notification>& notifications, UINT message) {
    return static_cast<size_t>(std::count_if(notifications.begin(), notifications.end(),
                                             [&](const Notification& n) { return n.message == message; }));
}

// The program's side: a message-only window that records every private message posted to it.
class Receiver {
public:
    Receiver() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kReceiverClass;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, kReceiverClass, L"receiver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), this);
    }
    ~Receiver() {
        if (window_) DestroyWindow(window_);
    }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<Notification>& All() const { return received_; }
    size_t Count(UINT message) const { return CountIn(received_, message); }
    std::string Describe() const {
        std::string text;
        for (const Notification& n : received_)
            text += std::string(NotificationName(n.message)) + " ";
        return text.empty() ? "(none)" : text;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        // Everything in the private range is kept, so a stray number would show up as "unexpected".
        if (self && message >= WM_USER && message < 0x8000) {
            self->received_.push_back({message, wParam, lParam});
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::vector<Notification> received_;
    HWND window_ = nullptr;
};

struct VictimMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The victim's log: one "message wParam lParam" line (hex) per message its window procedure got.
class VictimLog {
public:
    VictimLog()
        : path_(winkit::TempFolder() + L"hook_victim_" + std::to_wstring(GetCurrentProcessId()) + L".log") {
        DeleteFileW(path_.c_str());
    }
    ~VictimLog() { DeleteFileW(path_.c_str()); }
    VictimLog(const VictimLog&) = delete;
    VictimLog& operator=(const VictimLog&) = delete;

    const std::wstring& Path() const { return path_; }

    std::vector<VictimMessage> Read() const {
        std::vector<VictimMessage> messages;
        const std::string text = winkit::ReadFileBytes(path_).value_or(std::string());
        // Only whole lines: the victim may be half-way through writing the last one.
        size_t start = 0;
        for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
            unsigned message = 0;
            unsigned long wParam = 0;
            unsigned long lParam = 0;
            if (std::sscanf(text.c_str() + start, "%x %lx %lx", &message, &wParam, &lParam) == 3)
                messages.push_back({message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)});
            start = end + 1;
        }
        return messages;
    }

    // Messages of that number, with that wParam when one is given.
    size_t Count(UINT message, std::optional<WPARAM> wParam = std::nullopt) const {
        const auto messages = Read();
        return static_cast<size_t>(
            std::count_if(messages.begin(), messages.end(), [&](const VictimMessage& m) {
                return m.message == message && (!wParam || m.wParam == *wParam);
            }));
    }

private:
    std::wstring path_;
};

// The mouse and Shift are driven through the X server under Wine's display (see winkit::xserver
// for why not SendInput), and every step waits until Wine has taken it in.
constexpr int kLeft = 1;
constexpr int kMiddle = 2;
constexpr int kRight = 3;

[[nodiscard]] bool MoveTo(POINT at) {
    return winkit::xserver::MoveTo(at);
}
[[nodiscard]] bool MoveTo(int x, int y) {
    return MoveTo(POINT{x, y});
}
[[nodiscard]] bool Press(int button) {
    return winkit::xserver::Button(button, true);
}
[[nodiscard]] bool Release(int button) {
    return winkit::xserver::Button(button, false);
}
[[nodiscard]] bool ClickAt(POINT at, int button) {
    return MoveTo(at) && Press(button) && Release(button);
}

// Both clicks go to the X server from one command, so they are close enough in time to make a
// double click however slow this machine is; the caller waits for their effect.
[[nodiscard]] bool DoubleClickAt(POINT at, int button) {
    const std::wstring b = std::to_wstring(button);
    return MoveTo(at) &&
           winkit::xserver::Run(L"mousedown " + b + L" mouseup " + b + L" mousedown " + b + L" mouseup " + b);
}

[[nodiscard]] bool ShiftClickAt(POINT at, int button) {
    if (!MoveTo(at)) return false;
    const winkit::xserver::Held shift(L"shift", VK_SHIFT);
    return shift.Down() && Press(button) && Release(button);
}

enum class VictimKind { Plain, WithSizeBox };

class HookEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { Start(VictimKind::Plain); }

    void Start(VictimKind kind) {
        ASSERT_TRUE(library_.Complete()) << "tools\\Vellum.dll not found in the dist folder";
        ASSERT_NE(receiver_.Handle(), nullptr);
        ASSERT_EQ(library_.InstallHook(receiver_.Handle()), 1);
        installed_ = true;
        // As the program does at start-up: snapping on with pitch 32 (which also ends any drag
        // left in a section that outlived an earlier run), then the right-button commands on.
        library_.SetGrid(-1, 32);
        ASSERT_EQ(library_.UseRightButton(-1), 1);

        std::wstring commandLine =
            L"\"" + winkit::FromUnixPath(HOOK_VICTIM_EXE) + L"\" \"" + log_.Path() + L"\"";
        if (kind == VictimKind::WithSizeBox) commandLine += L" --size-box";
        victim_ = winkit::ChildProcess(commandLine);
        ASSERT_TRUE(victim_.Started());
        victimWindow_ = winkit::WaitProcessWindow(victim_.Id(), kVictimClass);
        ASSERT_NE(victimWindow_, nullptr) << "the victim's window did not appear";

        // Real input reaches the victim, and the hook library is loaded there: its first mouse
        // message went through the hook before the window procedure logged it.
        ASSERT_TRUE(winkit::xserver::Available()) << "xdotool is needed to drive the X server's pointer";
        const POINT inside = ClientCentre();
        ASSERT_TRUE(MoveTo(inside)) << "the X pointer does not move Wine's cursor to the same place";
        ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_MOUSEMOVE) > 0; }))
            << "no mouse input reached the victim";
    }

    void TearDown() override {
        winkit::PumpQueued();
        if (HasFailure()) DumpForDiagnosis();
        // A test that stopped half-way must not leave a button down in the X server for the next.
        const std::pair<int, int> buttons[] = {
            {kLeft, VK_LBUTTON}, {kMiddle, VK_MBUTTON}, {kRight, VK_RBUTTON}};
        for (const auto& [button, key] : buttons) {
            if (winkit::KeyIsDown(key)) {
                EXPECT_TRUE(Release(button));
            }
        }
        for (const Notification& n : receiver_.All()) {
            EXPECT_TRUE(IsNotification(n.message)) << "message " << std::hex << n.message;
            EXPECT_EQ(n.wParam, reinterpret_cast<WPARAM>(victimWindow_))
                << NotificationName(n.message) << " names another window";
            EXPECT_EQ(n.lParam, 0) << NotificationName(n.message);
        }
        // Removed before the victim goes, so no other process (the desktop under the cursor)
        // loads the library afterwards and keeps the section alive for the next test.
        if (installed_) library_.UninstallHook();
        victim_.Terminate();
    }

    // What both sides saw, for a failure that only happens now and then.
    void DumpForDiagnosis() const {
        std::printf("notifications: %s\n", receiver_.Describe().c_str());
        POINT cursor{};
        GetCursorPos(&cursor);
        const RECT rect = Rect();
        std::printf("cursor %ld,%ld; victim window %ld,%ld-%ld,%ld; victim log (message wParam lParam):\n",
                    cursor.x, cursor.y, rect.left, rect.top, rect.right, rect.bottom);
        const auto messages = log_.Read();
        const size_t first = messages.size() > 60 ? messages.size() - 60 : 0;
        for (size_t i = first; i < messages.size(); ++i)
            std::printf("  %04X %08lX %08lX\n", messages[i].message,
                        static_cast<unsigned long>(messages[i].wParam),
                        static_cast<unsigned long>(messages[i].lParam));
    }

    int HitTest(POINT at) const {
        DWORD_PTR result = HTNOWHERE;
        SendMessageTimeoutW(victimWindow_, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 5000,
                            &result);
        return static_cast<int>(static_cast<LRESULT>(result));
    }

    // Walks from one point to another a pixel at a time and returns the middle of the first run of
    // points where the victim's window answers the given hit-test code.
    std::optional<POINT> FindHit(POINT from, POINT to, int code) const {
        const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
        int runStart = -1;
        for (int i = 0; i <= steps; ++i) {
            const bool hit = HitTest(Along(from, to, steps, i)) == code;
            if (hit && runStart < 0) runStart = i;
            if (!hit && runStart >= 0) return Along(from, to, steps, (runStart + i - 1) / 2);
        }
        if (runStart >= 0) return Along(from, to, steps, (runStart + steps) / 2);
        return std::nullopt;
    }

    static POINT Along(POINT from, POINT to, int steps, int i) {
        return POINT{from.x + (to.x - from.x) * i / std::max(steps, 1),
                     from.y + (to.y - from.y) * i / std::max(steps, 1)};
    }

    RECT Rect() const { return winkit::WindowRect(victimWindow_); }

    POINT Middle() const {
        const RECT rect = Rect();
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // A point on the outermost pixels of the window: sx and sy are -1, 0 or 1 for the left, middle or
    // right column and the top, middle or bottom row.
    POINT Edge(int sx, int sy) const {
        const RECT rect = Rect();
        const POINT middle = Middle();
        return POINT{sx < 0   ? rect.left
                     : sx > 0 ? rect.right - 1
                              : middle.x,
                     sy < 0   ? rect.top
                     : sy > 0 ? rect.bottom - 1
                              : middle.y};
    }

    POINT ClientCentre() const {
        RECT client{};
        GetClientRect(victimWindow_, &client);
        POINT centre{client.right / 2, client.bottom / 2};
        ClientToScreen(victimWindow_, &centre);
        return centre;
    }

    // A point on the caption, left of the caption buttons; `slot` picks one of several points far
    // enough apart that two presses on different slots never make a double click.
    POINT CaptionSlot(int slot) const {
        return POINT{Rect().left + 60 + 30 * slot, winkit::CaptionRow(victimWindow_)};
    }

    bool WaitCount(UINT notification, size_t atLeast) {
        return winkit::WaitFor([&] { return receiver_.Count(notification) >= atLeast; });
    }

    // A middle click on the caption: the hook always reports and swallows it, and the victim gets
    // the release. Once both are seen, every input sent before has been through the hook in the
    // victim's thread, and whatever it posted for it is already in this thread's queue.
    void Barrier() {
        const size_t clicksBefore = receiver_.Count(HM_MCLICK);
        const size_t releasesBefore = log_.Count(WM_NCMBUTTONUP);
        const POINT at = CaptionSlot(4 + static_cast<int>(barriers_++ % 2));
        ASSERT_EQ(HitTest(at), HTCAPTION);
        ASSERT_TRUE(ClickAt(at, kMiddle));
        ASSERT_TRUE(winkit::WaitFor([&] {
            return receiver_.Count(HM_MCLICK) > clicksBefore && log_.Count(WM_NCMBUTTONUP) > releasesBefore;
        })) << "the barrier click was not seen; got "
            << receiver_.Describe();
    }

    // Everything from the barrier's own notification on is the barrier's.
    std::vector<Notification> BeforeLastBarrier() const {
        std::vector<Notification> before = receiver_.All();
        const auto last = std::find_if(before.rbegin(), before.rend(),
                                       [](const Notification& n) { return n.message == HM_MCLICK; });
        if (last != before.rend()) before.erase(std::prev(last.base()), before.end());
        return before;
    }

    Library library_;
    Receiver receiver_;
    VictimLog log_;
    winkit::ChildProcess victim_;
    HWND victimWindow_ = nullptr;
    bool installed_ = false;
    unsigned barriers_ = 0;
};

class HookEndToEndSizeBox : public HookEndToEnd {
protected:
    void SetUp() override { Start(VictimKind::WithSizeBox); }
};

} // namespace

TEST_F(HookEndToEnd, CaptionDragReportsStartMovesAndOneEndThenNothing) {
    const POINT grab = CaptionSlot(0);
    ASSERT_EQ(HitTest(grab), HTCAPTION);
    const RECT before = Rect();

    ASSERT_TRUE(MoveTo(grab));
    ASSERT_TRUE(Press(kLeft));
    ASSERT_TRUE(WaitCount(HM_DRAGSTART, 1)) << "got " << receiver_.Describe();

    constexpr int kMoves = 4;
    for (int i = 1; i <= kMoves; ++i) {
        const size_t movesBefore = receiver_.Count(HM_MOUSEMOVE);
        ASSERT_TRUE(MoveTo(grab.x + 12 * i, grab.y + 8 * i));
        ASSERT_TRUE(WaitCount(HM_MOUSEMOVE, movesBefore + 1))
            << "move " << i << "; got " << receiver_.Describe();
    }
    ASSERT_TRUE(Release(kLeft));
    ASSERT_TRUE(WaitCount(HM_DRAGEND, 1)) << "got " << receiver_.Describe();
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_EXITSIZEMOVE) > 0; }))
        << "the move loop did not end";

    // The input really moved the window: the hook passed the press and the moves on.
    const RECT after = Rect();
    EXPECT_EQ(after.left - before.left, 12 * kMoves);
    EXPECT_EQ(after.top - before.top, 8 * kMoves);

    // Moves after the release, over the client area, where the victim gets WM_MOUSEMOVE.
    const size_t afterRelease = receiver_.All().size();
    const size_t victimMovesBefore = log_.Count(WM_MOUSEMOVE);
    const POINT inside = ClientCentre();
    ASSERT_TRUE(MoveTo(inside));
    ASSERT_TRUE(MoveTo(inside.x + 10, inside.y + 5));
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_MOUSEMOVE) >= victimMovesBefore + 2; }));
    ASSERT_NO_FATAL_FAILURE(Barrier());

    const std::vector<Notification> seen = BeforeLastBarrier();
    EXPECT_EQ(seen.size(), afterRelease) << "moves after the release were reported: " << receiver_.Describe();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().message, HM_DRAGSTART);
    EXPECT_EQ(seen.back().message, HM_DRAGEND);
    EXPECT_EQ(CountIn(seen, HM_DRAGEND), 1u) << receiver_.Describe();
    EXPECT_GE(CountIn(seen, HM_MOUSEMOVE), static_cast<size_t>(kMoves));
    for (const Notification& n : seen) {
        EXPECT_TRUE(n.message == HM_DRAGSTART || n.message == HM_MOUSEMOVE || n.message == HM_DRAGEND)
            << NotificationName(n.message);
    }
    const SectionView section;
    ASSERT_NE(section.get(), nullptr);
    EXPECT_EQ(section.get()->Dragging, 0);
}

TEST_F(HookEndToEnd, EverySizingBorderStartsADrag) {
    // sx and sy: the side of the window the border is on, as Edge takes them.
    struct Border {
        int code;
        const char* name;
        int sx;
        int sy;
    };
    const Border borders[] = {{HTLEFT, "left", -1, 0},
                              {HTRIGHT, "right", 1, 0},
                              {HTTOP, "top", 0, -1},
                              {HTTOPLEFT, "top left", -1, -1},
                              {HTTOPRIGHT, "top right", 1, -1},
                              {HTBOTTOM, "bottom", 0, 1},
                              {HTBOTTOMLEFT, "bottom left", -1, 1},
                              {HTBOTTOMRIGHT, "bottom right", 1, 1}};
    for (const Border& border : borders) {
        SCOPED_TRACE(border.name);
        const POINT middle = Middle();
        const std::optional<POINT> at = FindHit(Edge(border.sx, border.sy), middle, border.code);
        ASSERT_TRUE(at.has_value()) << "no such border on the victim's window";

        const size_t startsBefore = receiver_.Count(HM_DRAGSTART);
        const size_t endsBefore = receiver_.Count(HM_DRAGEND);
        const size_t movesBefore = receiver_.Count(HM_MOUSEMOVE);
        // Outwards, so the window grows and the next border is still where the rectangle says.
        const POINT outwards{at->x + (at->x < middle.x ? -6 : 6), at->y + (at->y < middle.y ? -6 : 6)};
        ASSERT_TRUE(MoveTo(*at));
        ASSERT_TRUE(Press(kLeft));
        ASSERT_TRUE(WaitCount(HM_DRAGSTART, startsBefore + 1)) << "got " << receiver_.Describe();
        ASSERT_TRUE(MoveTo(outwards));
        ASSERT_TRUE(WaitCount(HM_MOUSEMOVE, movesBefore + 1)) << "got " << receiver_.Describe();
        ASSERT_TRUE(Release(kLeft));
        ASSERT_TRUE(WaitCount(HM_DRAGEND, endsBefore + 1)) << "got " << receiver_.Describe();
        ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_EXITSIZEMOVE) > endsBefore; }));
    }
    ASSERT_NO_FATAL_FAILURE(Barrier());
    EXPECT_EQ(CountIn(BeforeLastBarrier(), HM_DRAGEND), 8u) << "exactly one end for each drag";
}

TEST_F(HookEndToEndSizeBox, SizeBoxAndCaptionButtonsStartNoDrag) {
    const RECT rect = Rect();
    const int captionRow = winkit::CaptionRow(victimWindow_);
    const POINT captionRight{rect.right - 1, captionRow};
    const POINT captionLeft{rect.left, captionRow};

    struct Target {
        int code;
        const char* name;
        std::optional<POINT> at;
    };
    const Target targets[] = {
        {HTSIZE, "size box", FindHit(Edge(1, 1), Middle(), HTSIZE)},
        {HTMINBUTTON, "minimize button", FindHit(captionRight, captionLeft, HTMINBUTTON)},
        {HTMAXBUTTON, "maximize button", FindHit(captionRight, captionLeft, HTMAXBUTTON)},
        {HTCLOSE, "close button", FindHit(captionRight, captionLeft, HTCLOSE)},
    };
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        ASSERT_TRUE(target.at.has_value()) << "not found on the victim's window";
        const size_t pressesBefore = log_.Count(WM_NCLBUTTONDOWN, static_cast<WPARAM>(target.code));
        ASSERT_TRUE(ClickAt(*target.at, kLeft));
        // The press was passed on: the window got it, with the hit-test code of this target.
        ASSERT_TRUE(winkit::WaitFor(
            [&] { return log_.Count(WM_NCLBUTTONDOWN, static_cast<WPARAM>(target.code)) > pressesBefore; }));
        ASSERT_NO_FATAL_FAILURE(Barrier());
        EXPECT_EQ(receiver_.Count(HM_DRAGSTART), 0u) << "got " << receiver_.Describe();
        EXPECT_EQ(receiver_.Count(HM_DRAGEND), 0u) << "got " << receiver_.Describe();
        const SectionView section;
        ASSERT_NE(section.get(), nullptr);
        EXPECT_EQ(section.get()->Dragging, 0);
    }
    EXPECT_EQ(receiver_.Count(HM_MOUSEMOVE), 0u);
}

TEST_F(HookEndToEnd, MiddlePressIsReportedAndNeverReachesTheWindow) {
    // On the caption, with the right-button commands on and then off: the switch does not govern it.
    ASSERT_TRUE(ClickAt(CaptionSlot(0), kMiddle));
    ASSERT_TRUE(WaitCount(HM_MCLICK, 1));
    ASSERT_EQ(library_.UseRightButton(0), 0);
    ASSERT_TRUE(ClickAt(CaptionSlot(1), kMiddle));
    ASSERT_TRUE(WaitCount(HM_MCLICK, 2));

    // On a sizing border: any non-client part counts.
    const std::optional<POINT> border = FindHit(Edge(1, 0), Middle(), HTRIGHT);
    ASSERT_TRUE(border.has_value());
    ASSERT_TRUE(ClickAt(*border, kMiddle));
    ASSERT_TRUE(WaitCount(HM_MCLICK, 3));

    // The releases reached the window after the presses would have: the presses were swallowed.
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCMBUTTONUP) >= 3; }));
    EXPECT_EQ(log_.Count(WM_NCMBUTTONDOWN), 0u);
    EXPECT_EQ(log_.Count(WM_NCMBUTTONDBLCLK), 0u);
    EXPECT_EQ(log_.Count(WM_MBUTTONDOWN), 0u);
    ASSERT_NO_FATAL_FAILURE(Barrier());
    EXPECT_EQ(receiver_.All().size(), receiver_.Count(HM_MCLICK)) << "got " << receiver_.Describe();
}

TEST_F(HookEndToEnd, RightPressesAreReportedAndSwallowed) {
    ASSERT_TRUE(ClickAt(CaptionSlot(0), kRight));
    ASSERT_TRUE(WaitCount(HM_RCLICK, 1)) << "got " << receiver_.Describe();
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONUP) >= 1; }));
    EXPECT_EQ(receiver_.Count(HM_SHIFT_RCLICK), 0u);

    ASSERT_TRUE(ShiftClickAt(CaptionSlot(1), kRight));
    ASSERT_TRUE(WaitCount(HM_SHIFT_RCLICK, 1)) << "got " << receiver_.Describe();
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONUP) >= 2; }));

    // A double click: its first press is an ordinary press, its second the double click itself,
    // which is reported on its own, never as a press as well.
    ASSERT_NO_FATAL_FAILURE(Barrier());
    const size_t pressesBefore = receiver_.Count(HM_RCLICK);
    const size_t shiftPressesBefore = receiver_.Count(HM_SHIFT_RCLICK);
    ASSERT_TRUE(DoubleClickAt(CaptionSlot(2), kRight));
    ASSERT_TRUE(WaitCount(HM_RDBLCLK, 1)) << "got " << receiver_.Describe();
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONUP) >= 4; }));
    ASSERT_NO_FATAL_FAILURE(Barrier());
    const std::vector<Notification> seen = BeforeLastBarrier();
    EXPECT_GE(CountIn(seen, HM_RCLICK), pressesBefore + 1) << "the double click's first press";
    EXPECT_EQ(CountIn(seen, HM_SHIFT_RCLICK), shiftPressesBefore);
    const auto doubleClick =
        std::find_if(seen.begin(), seen.end(), [](const Notification& n) { return n.message == HM_RDBLCLK; });
    ASSERT_NE(doubleClick, seen.end());
    EXPECT_TRUE(
        std::all_of(doubleClick, seen.end(), [](const Notification& n) { return n.message == HM_RDBLCLK; }))
        << "nothing but the double click after it: " << receiver_.Describe();

    // With Shift held the first press is a Shift press, and the double click is still just that.
    const size_t beforeShifted = receiver_.All().size();
    {
        const winkit::xserver::Held shift(L"shift", VK_SHIFT);
        ASSERT_TRUE(shift.Down());
        ASSERT_TRUE(DoubleClickAt(CaptionSlot(3), kRight));
        ASSERT_TRUE(WaitCount(HM_RDBLCLK, 2)) << "got " << receiver_.Describe();
        ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONUP) >= 6; }));
    }
    ASSERT_NO_FATAL_FAILURE(Barrier());
    const std::vector<Notification> upToBarrier = BeforeLastBarrier();
    ASSERT_GT(upToBarrier.size(), beforeShifted);
    const std::vector<Notification> shifted(upToBarrier.begin() + static_cast<std::ptrdiff_t>(beforeShifted),
                                            upToBarrier.end());
    EXPECT_EQ(shifted.front().message, HM_SHIFT_RCLICK) << "the double click's first press";
    EXPECT_EQ(CountIn(shifted, HM_RCLICK), 0u) << receiver_.Describe();
    const auto shiftedDoubleClick = std::find_if(
        shifted.begin(), shifted.end(), [](const Notification& n) { return n.message == HM_RDBLCLK; });
    ASSERT_NE(shiftedDoubleClick, shifted.end());
    EXPECT_TRUE(std::all_of(shiftedDoubleClick, shifted.end(),
                            [](const Notification& n) { return n.message == HM_RDBLCLK; }))
        << "nothing but the double click after it: " << receiver_.Describe();

    // The window never saw a right press or double click on its frame, nor one in its client area.
    EXPECT_EQ(log_.Count(WM_NCRBUTTONDOWN), 0u);
    EXPECT_EQ(log_.Count(WM_NCRBUTTONDBLCLK), 0u);
    EXPECT_EQ(log_.Count(WM_RBUTTONDOWN), 0u);
    EXPECT_EQ(log_.Count(WM_RBUTTONDBLCLK), 0u);
    EXPECT_EQ(receiver_.Count(HM_DRAGSTART), 0u);
}

TEST_F(HookEndToEnd, RightPressesPassUntouchedWhenTheCommandsAreOff) {
    ASSERT_EQ(library_.UseRightButton(0), 0);

    ASSERT_TRUE(ClickAt(CaptionSlot(0), kRight));
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONDOWN) >= 1; }));
    ASSERT_TRUE(ShiftClickAt(CaptionSlot(1), kRight));
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONDOWN) >= 2; }));
    ASSERT_TRUE(DoubleClickAt(CaptionSlot(2), kRight));
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONDBLCLK) >= 1; }));
    ASSERT_TRUE(winkit::WaitFor([&] { return log_.Count(WM_NCRBUTTONUP) >= 4; }));
    EXPECT_EQ(log_.Count(WM_NCRBUTTONDOWN), 3u);
    ASSERT_NO_FATAL_FAILURE(Barrier());

    const std::vector<Notification> seen = BeforeLastBarrier();
    EXPECT_TRUE(seen.empty()) << "got " << receiver_.Describe();
}
