// Many mixed gestures over several windows of another program, two of which close on the way:
// afterwards the program must leave nothing behind when it quits.
#include "program_driver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace programtest;
using namespace std::chrono_literals;

namespace {

constexpr int kOperations = 200;
constexpr int kBatch = 10;
const POINT kSentinel{1010, 755};

bool IsLayered(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

std::wstring Number(long value) { return std::to_wstring(value); }

std::wstring MoveCommand(long x, long y) { return L" mousemove " + Number(x) + L" " + Number(y); }

// One gesture on the window's caption, as xdotool commands.
std::wstring Gesture(int kind, const RECT& rect, int variant) {
    const long x = rect.left + 60 + (variant % 5) * 20;
    const long y = rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    switch (kind) {
    case 0: // a short drag that comes back; the pauses let the window's move loop start and end
        return MoveCommand(x, y) + L" mousedown 1 sleep 0.1" + MoveCommand(x + 12, y + 7) +
               MoveCommand(x + 6, y + 3) + L" sleep 0.1 mouseup 1 sleep 0.1";
    case 1: // right click: fold or unfold
        return MoveCommand(x, y) + L" click 3";
    case 2: // middle click: translucency on or off
        return MoveCommand(x, y) + L" click 2";
    default: // Shift + right click: flash and topmost on or off
        return MoveCommand(x, y) + L" keydown shift click 3 keyup shift";
    }
}

struct GuiCounts {
    DWORD gdi;
    DWORD user;
};

GuiCounts CountsOf(HANDLE process) {
    return GuiCounts{GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS)};
}

} // namespace

TEST(Stress, MixedGesturesOverSixWindowsLeaveNothingBehind) {
    DistCopy copy;
    const std::string settings = "[setting]\r\nchkGraphicLine=1\r\nGridWidth=32\r\ncolor=255\r\ntoumei=70\r\n"
                                 "chkAutoHide=0\r\nchkUseGrid=1\r\nchkMoveToumei=1\r\nchkOritatami=1\r\n";
    copy.WriteIni(settings);
    Program program(copy);
    const HWND form = program.WaitForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(winkit::WaitFor([&] { return IsWindowVisible(form) != FALSE; }, 60s));
    ClickControl(program.Control(L"Button", L"常駐する(&O)"));
    ASSERT_TRUE(winkit::WaitFor([&] { return IsWindowVisible(form) == FALSE; }, 30s));
    ASSERT_TRUE(program.Settle());

    winkit::ChildProcess targets(L"\"" + winkit::BuildPath(L"app\\tests\\wine\\target_windows.exe") + L"\"" +
                                 L" Stress0:resizable:40:40:280:220 Stress1:fixed:360:40:280:220"
                                 L" Stress2:resizable:680:40:280:220 Stress3:resizable:40:400:280:220"
                                 L" Stress4:fixed:360:400:280:220 Stress5:resizable:680:400:280:220");
    std::vector<HWND> windows;
    for (int i = 0; i < 6; ++i) {
        const std::wstring name = L"Stress" + std::to_wstring(i);
        windows.push_back(winkit::WaitProcessWindow(targets.Id(), name.c_str()));
        ASSERT_NE(windows.back(), nullptr) << i;
    }

    const HANDLE programProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, program.Id());
    const GuiCounts start = CountsOf(programProcess);

    std::mt19937 random(20261208);
    std::vector<bool> open(6, true);
    for (int done = 0; done < kOperations; done += kBatch) {
        if (done == kOperations / 2) {
            // Two windows go away in the middle, perhaps while folded.
            PostMessageW(windows[1], WM_CLOSE, 0, 0);
            PostMessageW(windows[4], WM_CLOSE, 0, 0);
            open[1] = open[4] = false;
            ASSERT_TRUE(winkit::WaitFor([&] { return !IsWindow(windows[1]) && !IsWindow(windows[4]); }, 20s));
        }
        std::wstring commands;
        int previous = -1;
        for (int i = 0; i < kBatch; ++i) {
            int index = static_cast<int>(random() % 6);
            while (!open[static_cast<size_t>(index)]) index = (index + 1) % 6;
            // Two clicks on one window in quick succession would join into a double click.
            if (index == previous) commands += L" sleep 0.6";
            previous = index;
            commands += Gesture(static_cast<int>(random() % 4), winkit::WindowRect(windows[static_cast<size_t>(index)]),
                                static_cast<int>(random() % 5));
        }
        commands += MoveCommand(kSentinel.x, kSentinel.y);
        ASSERT_TRUE(winkit::xserver::Run(commands));
        ASSERT_TRUE(winkit::WaitFor(
            [&] {
                POINT cursor{};
                return GetCursorPos(&cursor) && cursor.x == kSentinel.x && cursor.y == kSentinel.y;
            },
            120s))
            << "batch at " << done;
        ASSERT_TRUE(program.Settle());
    }
    // Under this much input a window's move loop can miss its release and keep the pointer; Escape
    // ends such a loop (and any menu) the way a user would.
    ASSERT_TRUE(winkit::xserver::Run(L"mouseup 1 key Escape"));
    ASSERT_TRUE(winkit::xserver::MoveTo(kSentinel, 30s));
    ASSERT_TRUE(program.Settle());
    // Middle clicks leave windows translucent or not (the hook may report one click twice when a
    // program peeks at its messages); a last drag on every window must leave each one opaque.
    for (size_t i = 0; i < windows.size(); ++i) {
        if (!open[i]) continue;
        const RECT rect = winkit::WindowRect(windows[i]);
        const POINT grab{rect.left + 60, rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
        ASSERT_TRUE(winkit::xserver::MoveTo(grab));
        ASSERT_TRUE(winkit::xserver::Button(1, true));
        ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 12, grab.y + 7}));
        ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 6, grab.y + 3}));
        ASSERT_TRUE(winkit::xserver::Button(1, false));
    }
    ASSERT_TRUE(program.Settle());
    for (size_t i = 0; i < windows.size(); ++i) {
        if (!open[i]) continue;
        EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(windows[i]); }, 20s))
            << "window " << i << " stayed translucent after a drag";
    }
    const GuiCounts end = CountsOf(programProcess);

    EXPECT_EQ(program.Quit(), 0u);
    const int foldedHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    for (size_t i = 0; i < windows.size(); ++i) {
        if (!open[i]) continue;
        const RECT rect = winkit::WindowRect(windows[i]);
        EXPECT_GT(rect.bottom - rect.top, foldedHeight + 64) << "window " << i << " stayed folded";
    }
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(*ini, settings) << "the settings file comes back exactly as it was";

    // Wine does not count a process's GDI and USER objects (it answers 0); Windows does.
    if (start.gdi != 0 || end.gdi != 0) {
        EXPECT_LE(end.gdi, start.gdi + 8) << "GDI objects leak";
        EXPECT_LE(end.user, start.user + 8) << "USER objects leak";
    }
    CloseHandle(programProcess);
}
