// The real program acting on windows of another process under real mouse input: snapping at the
// end of a drag, the grid painted during it, translucency, folding, and the topmost toggle.
#include "hook_shared.h"
#include "private_messages.h"
#include "program_driver.h"
#include "raii.h"
#include "target_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

using namespace programtest;
using namespace std::chrono_literals;

namespace {

using targetwindows::kAnswerAgainEvent;
using targetwindows::kNotAnsweringEvent;
using targetwindows::kQueryAlpha;
using targetwindows::kQueryCloseCommand;
using targetwindows::kStopAnswering;

constexpr int kPitch = 32;
constexpr int kLeft = 1;
constexpr int kMiddle = 2;
constexpr int kRight = 3;

// Nearest multiple of the pitch, halves upward, for negative coordinates too.
DWORD WINAPI EndAtOnce(void*) {
    return 0;
}

int Snapped(int value, long long pitch = kPitch) {
    long long shifted = static_cast<long long>(value) + pitch / 2;
    long long quotient = shifted / pitch;
    if (shifted % pitch != 0 && shifted < 0) --quotient;
    return static_cast<int>(quotient * pitch);
}

RECT Snapped(const RECT& r, int pitch = kPitch) {
    return RECT{Snapped(r.left, pitch), Snapped(r.top, pitch), Snapped(r.right, pitch),
                Snapped(r.bottom, pitch)};
}

RECT Offset(RECT rect, int dx, int dy) {
    OffsetRect(&rect, dx, dy);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

using winkit::IsLayered;
using winkit::IsTopmost;

bool HasCloseCommand(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, kQueryCloseCommand, 0, 0, SMTO_BLOCK, 10000, &answer);
    return answer == 1;
}

// The layered opacity as the window's own process reads it (another process cannot), or -1.
int LayeredAlpha(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, kQueryAlpha, 0, 0, SMTO_BLOCK, 10000, &answer);
    return (answer & 0x100) ? static_cast<int>(answer & 0xFF) : -1;
}

// The window's caption band as seen from outside, measured before it folds: its frame and caption
// above the client area (and the menu bar there, if any, left out) and its frame below it.
int CaptionBand(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT outer = winkit::WindowRect(window);
    const int menuBar = GetMenu(window) ? GetSystemMetrics(SM_CYMENU) : 0;
    return client.top - outer.top - menuBar + outer.bottom - client.bottom;
}

// The height a window folds to: its caption band, unless it is held higher: by its own program
// (its answer to WM_GETMINMAXINFO), or by Wine, which keeps an overlapped or sizable window at least
// at its least tracking height.
int FoldedHeight(HWND window) {
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const bool held = (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));
    MINMAXINFO limits{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    return std::max({CaptionBand(window), held ? GetSystemMetrics(SM_CYMINTRACK) : 0,
                     static_cast<int>(limits.ptMinTrackSize.y)});
}

// Everything posted to the program before this call has been handled: a middle click reported for
// `observer` (a window of a program that answers) is handled after it, and toggles its translucency.
::testing::AssertionResult PostedHandled(HWND form, HWND observer) {
    const bool was = IsLayered(observer);
    PostMessageW(form, vellum::HM_MCLICK, reinterpret_cast<WPARAM>(observer), 0);
    if (winkit::WaitFor([&] { return IsLayered(observer) != was; }, 20s))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program did not handle what was posted to it";
}

class WindowOpsTest : public ::testing::Test {
protected:
    // Starts the program with these settings and puts its panel away (no notice: the file exists).
    void StartProgram(const std::string& settings, const std::string& exclusionList = "",
                      bool resident = true) {
        copy_ = std::make_unique<DistCopy>();
        copy_->WriteIni(settings);
        if (!exclusionList.empty()) winkit::WriteFileBytes(copy_->ExclusionList(), exclusionList);
        program_ = std::make_unique<Program>(*copy_);
        form_ = program_->WaitPanel();
        ASSERT_NE(form_, nullptr);
        if (resident) {
            ASSERT_TRUE(program_->StayResident());
        }
    }

    // Starts target windows ("Class:resizable:left:top:width:height") and waits for each.
    std::vector<HWND> StartTargets(const std::vector<std::wstring>& layouts) {
        return StartTargetWindows(targets_.emplace_back(), layouts);
    }

    void TearDown() override {
        if (program_) program_->Quit();
        program_.reset();
        targets_.clear();
        copy_.reset();
    }

    // Press on the caption, move in steps, release; waits for the program to have handled the press
    // (the window turns translucent while it moves) and the release (opaque again).
    // `ownWindow`: a window of target_windows.exe, which can tell its opacity.
    void DragCaption(HWND window, int dx, int dy, bool ownWindow = true) {
        Drag(window, winkit::CaptionPoint(window), dx, dy, ownWindow);
    }

    // A window its own program made layered is dragged as it is: the caller waits for the effect.
    void Drag(HWND window, POINT from, int dx, int dy, bool ownWindow = true) {
        const bool layeredByItsProgram = IsLayered(window);
        ASSERT_TRUE(winkit::xserver::MoveTo(from));
        winkit::xserver::Held button(kLeft);
        ASSERT_TRUE(button.Down());
        for (int i = 1; i <= 4; ++i)
            ASSERT_TRUE(winkit::xserver::MoveTo(POINT{from.x + dx * i / 4, from.y + dy * i / 4}));
        ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(window); }, 20s))
            << "no translucency while moving";
        // Every drag test runs at the default level, 70, which is alpha 178.
        if (ownWindow && !layeredByItsProgram) {
            EXPECT_TRUE(winkit::WaitFor([&] { return LayeredAlpha(window) == 178; }, 20s))
                << LayeredAlpha(window);
        }
        ASSERT_TRUE(button.Release());
        if (layeredByItsProgram) return;
        ASSERT_TRUE(winkit::WaitFor([&] { return !IsLayered(window); }, 20s))
            << "still translucent after the drag";
        ASSERT_TRUE(program_->Settle());
    }

    // A click on the caption that returns once the system has seen it, so the next input comes
    // after it; its effect is the caller's to wait for. `along` moves the click along the caption,
    // so that two clicks in a row are not taken for a double click.
    void Click(HWND window, int button, int along = 0) {
        const POINT caption = winkit::CaptionPoint(window);
        ASSERT_TRUE(winkit::xserver::MoveTo(POINT{caption.x + along, caption.y}));
        ASSERT_TRUE(winkit::xserver::Click(button));
    }

    // A right click on each window's caption, then a wait until every one is folded.
    void FoldEach(const std::vector<HWND>& windows) {
        std::vector<LONG> tops;
        std::vector<int> heights;
        for (const HWND window : windows) {
            tops.push_back(winkit::WindowRect(window).top);
            heights.push_back(FoldedHeight(window));
            Click(window, kRight);
        }
        const auto allFolded = [&] {
            for (size_t i = 0; i < windows.size(); ++i)
                if (winkit::WindowRect(windows[i]).bottom - tops[i] != heights[i]) return false;
            return true;
        };
        ASSERT_TRUE(winkit::WaitFor(allFolded, 20s)) << "not folded";
        ASSERT_TRUE(program_->Settle());
    }

    // Notepad started from this command line, its window placed at 150,130 with 420x300; null if
    // it did not come there.
    HWND StartNotepad(const std::wstring& commandLine) {
        const HWND notepad =
            winkit::WaitProcessWindow(targets_.emplace_back(commandLine).Id(), L"Notepad", 60s);
        if (!notepad) return nullptr;
        SetWindowPos(notepad, nullptr, 150, 130, 420, 300, SWP_NOZORDER);
        const bool placed = winkit::WaitFor(
            [&] {
                return SameRect(winkit::WindowRect(notepad), RECT{150, 130, 570, 430});
            },
            20s);
        return placed ? notepad : nullptr;
    }
    void EveryCommandOnNotepad(const std::wstring& commandLine);
    // Wine's file manager, its frame at 40,40, and one of its document windows (with lists that
    // scroll) restored at 13,17 in its frame with the given size; null if none came.
    HWND OpenFileManagerDocument(int width, int height, HWND* client = nullptr);

    std::unique_ptr<DistCopy> copy_;
    std::unique_ptr<Program> program_;
    HWND form_ = nullptr;
    std::vector<winkit::ChildProcess> targets_;
};

} // namespace

TEST_F(WindowOpsTest, CaptionDragSnapsEveryEdgeOfAResizableWindowAndOnlyTheCornerOfAFixedOne) {
    StartProgram(SettingsText());
    const auto windows =
        StartTargets({L"SnapSizable:resizable:100:90:300:200", L"SnapFixed:fixed:500:330:250:150"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_NE(windows[1], nullptr);

    const RECT sizable = winkit::WindowRect(windows[0]);
    DragCaption(windows[0], 37, 21);
    const RECT moved = Offset(sizable, 37, 21);
    const RECT expected{Snapped(moved.left), Snapped(moved.top), Snapped(moved.right), Snapped(moved.bottom)};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), expected); }, 20s))
        << Describe(winkit::WindowRect(windows[0])) << " instead of " << Describe(expected);

    const RECT fixed = winkit::WindowRect(windows[1]);
    DragCaption(windows[1], -45, 30);
    const RECT fixedMoved = Offset(fixed, -45, 30);
    const int left = Snapped(fixedMoved.left);
    const int top = Snapped(fixedMoved.top);
    const RECT fixedExpected{left, top, left + fixed.right - fixed.left, top + fixed.bottom - fixed.top};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[1]), fixedExpected); }, 20s))
        << Describe(winkit::WindowRect(windows[1])) << " instead of " << Describe(fixedExpected);
}

TEST_F(WindowOpsTest, APlainCaptionClickAndABorderResizeSnapToo) {
    StartProgram(SettingsText());
    const auto windows =
        StartTargets({L"SnapClicked:resizable:70:75:300:200", L"SnapResized:resizable:512:384:300:200"});
    ASSERT_NE(windows[0], nullptr);

    const RECT clicked = winkit::WindowRect(windows[0]);
    Drag(windows[0], winkit::CaptionPoint(windows[0]), 0, 0);
    const RECT clickedExpected{Snapped(clicked.left), Snapped(clicked.top), Snapped(clicked.right),
                               Snapped(clicked.bottom)};
    EXPECT_TRUE(
        winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), clickedExpected); }, 20s))
        << Describe(winkit::WindowRect(windows[0]));

    // Widen by the right border: the left edge stays put, the right edge lands on the grid.
    const RECT resized = winkit::WindowRect(windows[1]);
    const POINT border{resized.right - 2, (resized.top + resized.bottom) / 2};
    Drag(windows[1], border, 30, 0);
    const RECT resizedExpected{Snapped(resized.left), Snapped(resized.top), Snapped(resized.right + 30),
                               Snapped(resized.bottom)};
    EXPECT_TRUE(
        winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[1]), resizedExpected); }, 20s))
        << Describe(winkit::WindowRect(windows[1])) << " instead of " << Describe(resizedExpected);
}

TEST_F(WindowOpsTest, ExcludedClassesAreNotSnappedWhateverTheirLetterCase) {
    // The second line matches the class in another letter case; the third has a trailing blank and
    // so does not match "SnapTrailing".
    StartProgram(SettingsText(), "NotThisOne\r\nsnapEXCLUDED\r\nSnapTrailing \r\n");
    const auto windows =
        StartTargets({L"SnapExcluded:resizable:100:100:300:200", L"SnapTrailing:resizable:520:300:300:200"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_NE(windows[1], nullptr);

    const RECT excluded = winkit::WindowRect(windows[0]);
    DragCaption(windows[0], 37, 21);
    // The window's own move loop places it last; it then stays where the user left it.
    ASSERT_TRUE(GestureSettled(*program_, windows[0]));
    EXPECT_TRUE(SameRect(winkit::WindowRect(windows[0]), Offset(excluded, 37, 21)))
        << Describe(winkit::WindowRect(windows[0]));

    const RECT trailing = winkit::WindowRect(windows[1]);
    DragCaption(windows[1], -37, 21);
    const RECT moved = Offset(trailing, -37, 21);
    const RECT snapped{Snapped(moved.left), Snapped(moved.top), Snapped(moved.right), Snapped(moved.bottom)};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[1]), snapped); }, 20s))
        << Describe(winkit::WindowRect(windows[1]));
}

TEST_F(WindowOpsTest, AProgramOnTheListAndAListEditedWhileRunningTakeEffectAtTheNextDrag) {
    StartProgram(SettingsText(), "NOTEPAD.EXE\r\n");
    const auto windows = StartTargets({L"EditedIn:resizable:520:400:300:200"});
    ASSERT_NE(windows[0], nullptr);
    const HWND notepad = StartNotepad(L"notepad.exe");
    ASSERT_NE(notepad, nullptr);
    const auto dragSettled = [&](HWND window, int dx, int dy, bool ownWindow) {
        const RECT before = winkit::WindowRect(window);
        DragCaption(window, dx, dy, ownWindow);
        EXPECT_TRUE(GestureSettled(*program_, window));
        return std::make_pair(Offset(before, dx, dy), winkit::WindowRect(window));
    };

    // Excluded by its program's name, in another letter case: left where the drag put it.
    const auto [movedNotepad, notepadNow] = dragSettled(notepad, 50, 19, false);
    EXPECT_TRUE(SameRect(notepadNow, movedNotepad)) << Describe(notepadNow);

    // Edited while the program runs: with a trailing blank the line names a class, and a class
    // comes in.
    ASSERT_TRUE(winkit::WriteFileBytes(copy_->ExclusionList(), "NOTEPAD.EXE \r\nEditedIn\r\n"));
    const auto [movedIn, inNow] = dragSettled(windows[0], -37, 21, true);
    EXPECT_TRUE(SameRect(inNow, movedIn)) << Describe(inNow);
    const auto [movedAgain, notepadAgain] = dragSettled(notepad, 30, 10, false);
    const RECT snapped{Snapped(movedAgain.left), Snapped(movedAgain.top), Snapped(movedAgain.right),
                       Snapped(movedAgain.bottom)};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), snapped); }, 20s))
        << Describe(winkit::WindowRect(notepad));
}

// The window's program hangs for 3 s at the drop: the drop is placed but the probe goes unanswered,
// and after 2 s the drag is given up; its late answer snaps nothing.
TEST_F(WindowOpsTest, ADraggedWindowWhoseProgramHangsAtTheDropIsGivenUpAndNeverSnappedLater) {
    StartProgram(SettingsText());
    const auto windows = StartTargets({L"HangsAtDrop:hangsatdrop:100:90:300:200"});
    const auto observer = StartTargets({L"Observer:resizable:600:40:200:150"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_NE(observer[0], nullptr);
    const trellane::UniqueHandle hanging(CreateEventW(nullptr, TRUE, FALSE, kNotAnsweringEvent));
    ASSERT_TRUE(hanging);
    const RECT dropped = Offset(winkit::WindowRect(windows[0]), 37, 21);
    DragCaption(windows[0], 37, 21);
    ASSERT_EQ(WaitForSingleObject(hanging.get(), 0), WAIT_OBJECT_0) << "the window's program did not hang";
    // Answered again, the window's program has answered the probe too; once the program has handled
    // what that answer brought, any snap it asked for has been applied.
    ASSERT_TRUE(GestureSettled(*program_, windows[0]));
    ASSERT_TRUE(PostedHandled(form_, observer[0]));
    ASSERT_TRUE(GestureSettled(*program_, windows[0]));
    EXPECT_TRUE(SameRect(winkit::WindowRect(windows[0]), dropped))
        << Describe(winkit::WindowRect(windows[0]));
    EXPECT_FALSE(IsLayered(windows[0]));
}

TEST_F(WindowOpsTest, WithSnappingOffNothingMoves) {
    StartProgram(SettingsText([](Settings& s) { s.useGrid = false; }));
    const auto windows = StartTargets({L"SnapOff:resizable:100:100:300:200"});
    ASSERT_NE(windows[0], nullptr);
    const RECT before = winkit::WindowRect(windows[0]);
    DragCaption(windows[0], 37, 21);
    ASSERT_TRUE(GestureSettled(*program_, windows[0]));
    EXPECT_TRUE(SameRect(winkit::WindowRect(windows[0]), Offset(before, 37, 21)))
        << Describe(winkit::WindowRect(windows[0]));
}

TEST_F(WindowOpsTest, MiddleClickTogglesTranslucencyAtTheConfiguredLevel) {
    StartProgram(SettingsText([](Settings& s) { s.toumei = 20; }));
    const auto windows = StartTargets({L"Translucent:resizable:200:150:300:200"});
    ASSERT_NE(windows[0], nullptr);
    Click(windows[0], kMiddle);
    ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(windows[0]); }, 20s));
    // The style is set first, the opacity right after it: level 20 is alpha 51.
    EXPECT_TRUE(winkit::WaitFor([&] { return LayeredAlpha(windows[0]) == 51; }, 20s))
        << LayeredAlpha(windows[0]);
    Click(windows[0], kMiddle, 40);
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(windows[0]); }, 20s));
}

TEST_F(WindowOpsTest, RightClickFoldsToTheCaptionAndASecondOneRestoresHeightAndMenu) {
    StartProgram(SettingsText());
    const auto windows = StartTargets({L"Foldable:resizable:160:96:320:400"});
    ASSERT_NE(windows[0], nullptr);
    const RECT before = winkit::WindowRect(windows[0]);
    const int folded = FoldedHeight(windows[0]);

    Click(windows[0], kRight);
    ASSERT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(windows[0]).bottom - before.top == folded; }, 20s))
        << Describe(winkit::WindowRect(windows[0])) << " folded height " << folded << " min track "
        << GetSystemMetrics(SM_CYMINTRACK);
    ASSERT_TRUE(program_->Settle());
    // Wine cannot edit another process's system menu (GetSystemMenu answers null there); Windows can.
    if (GetSystemMenu(windows[0], FALSE)) {
        EXPECT_FALSE(HasCloseCommand(windows[0])) << "a folded window offers no Close";
    }

    // The user moves and widens the folded window; unfolding keeps that and gives back the height.
    SetWindowPos(windows[0], nullptr, 224, 160, 400, folded, SWP_NOZORDER | SWP_NOACTIVATE);
    Click(windows[0], kRight);
    const RECT expected{224, 160, 624, 160 + (before.bottom - before.top)};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), expected); }, 20s))
        << Describe(winkit::WindowRect(windows[0]));
    ASSERT_TRUE(program_->Settle());
    if (GetSystemMenu(windows[0], FALSE)) {
        EXPECT_TRUE(HasCloseCommand(windows[0]));
    }
}

TEST_F(WindowOpsTest, QuittingUnfoldsEveryFoldedWindow) {
    StartProgram(SettingsText());
    // Each folds to its own caption band: under Wine a dialog frame's is 25 pixels and a tool window's
    // small caption's 22, where an ordinary caption with a sizing frame is 23.
    const auto windows =
        StartTargets({L"FoldA:resizable:100:100:300:300", L"FoldB:fixed:500:200:300:250",
                      L"FoldDialog:dialog:100:460:300:200", L"FoldTool:tool:500:500:300:200"});
    ASSERT_NE(windows[3], nullptr);
    std::vector<RECT> before;
    for (const HWND window : windows)
        before.push_back(winkit::WindowRect(window));
    ASSERT_NO_FATAL_FAILURE(FoldEach(windows));
    EXPECT_EQ(program_->Quit(), 0u);
    program_.reset();
    // Asked of each window's program, which does it as soon as it reads its messages.
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[i]), before[i]); }, 20s))
            << Describe(winkit::WindowRect(windows[i]));
        if (GetSystemMenu(windows[i], FALSE)) {
            EXPECT_TRUE(HasCloseCommand(windows[i]));
        }
    }
}

TEST_F(WindowOpsTest, QuittingNeverWaitsForAProgramThatDoesNotAnswer) {
    StartProgram(SettingsText());
    const auto stuck = StartTargets({L"Stuck:resizable:100:100:300:300"});
    const auto answering = StartTargets({L"Answering:resizable:480:160:300:260"});
    ASSERT_NE(stuck[0], nullptr);
    ASSERT_NE(answering[0], nullptr);
    const RECT a = winkit::WindowRect(stuck[0]);
    const RECT b = winkit::WindowRect(answering[0]);
    ASSERT_NO_FATAL_FAILURE(FoldEach({stuck[0], answering[0]}));

    const trellane::UniqueHandle notAnswering(CreateEventW(nullptr, TRUE, FALSE, kNotAnsweringEvent));
    const trellane::UniqueHandle answerAgain(CreateEventW(nullptr, TRUE, FALSE, kAnswerAgainEvent));
    ASSERT_TRUE(notAnswering && answerAgain);
    ASSERT_TRUE(PostMessageW(stuck[0], kStopAnswering, 0, 0));
    ASSERT_EQ(WaitForSingleObject(notAnswering.get(), 20000), WAIT_OBJECT_0);
    // The stuck program answers again only once told below: the program must end before that.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(program_->Quit(30s), 0u);
    std::cout << "quit took "
              << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                       started)
                     .count()
              << " ms with a program not answering\n";
    program_.reset();
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(answering[0]), b); }, 20s))
        << Describe(winkit::WindowRect(answering[0]));
    SetEvent(answerAgain.get());
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(stuck[0]), a); }, 20s))
        << "not unfolded once it answers: " << Describe(winkit::WindowRect(stuck[0]));
}

// Ended without a chance to unfold (killed, as an end-task does): the next start gives the folded
// window its height back, also to a window its program holds higher than its caption. A window
// sized since keeps the size its user gave it.
TEST_F(WindowOpsTest, AWindowLeftFoldedByAKilledProgramGetsItsHeightBackAtTheNextStart) {
    StartProgram(SettingsText());
    const HWND notepad =
        winkit::WaitProcessWindow(targets_.emplace_back(L"notepad.exe").Id(), L"Notepad", 60s);
    ASSERT_NE(notepad, nullptr);
    ASSERT_TRUE(SetWindowPos(notepad, nullptr, 140, 120, 400, 300, SWP_NOZORDER));
    const auto sized = StartTargets({L"SizedSince:resizable:600:140:280:300"});
    const auto held = StartTargets({L"HeldAt200:least200:560:300:300:400"});
    ASSERT_NE(sized[0], nullptr);
    ASSERT_NE(held[0], nullptr);
    const RECT before = winkit::WindowRect(notepad);
    const RECT heldBefore = winkit::WindowRect(held[0]);
    ASSERT_EQ(before.bottom - before.top, 300);
    ASSERT_EQ(heldBefore.bottom - heldBefore.top, 400);
    const int notepadFolded = FoldedHeight(notepad);
    ASSERT_EQ(FoldedHeight(held[0]), 200);
    ASSERT_NO_FATAL_FAILURE(FoldEach({notepad, sized[0], held[0]}));
    // Recorded on the window once the program has seen the height the window took.
    ASSERT_TRUE(winkit::WaitFor(
        [&] { return GetPropW(held[0], L"jp.trellane.Trellane.FoldedTo") == reinterpret_cast<HANDLE>(200); },
        20s));
    ASSERT_TRUE(TerminateProcess(program_->Handle(), 1));
    ASSERT_EQ(program_->WaitExit(20s), 1u);
    program_.reset();
    EXPECT_EQ(winkit::WindowRect(notepad).bottom - before.top, notepadFolded) << "nothing unfolded it";
    const RECT sizedRect = winkit::WindowRect(sized[0]);
    ASSERT_TRUE(SetWindowPos(sized[0], nullptr, 0, 0, 280, 90, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE));

    program_ = std::make_unique<Program>(*copy_);
    ASSERT_NE(program_->WaitPanel(), nullptr);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), before); }, 20s))
        << Describe(winkit::WindowRect(notepad));
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(held[0]), heldBefore); }, 20s))
        << Describe(winkit::WindowRect(held[0]));
    ASSERT_TRUE(GestureSettled(*program_, sized[0]));
    EXPECT_EQ(winkit::WindowRect(sized[0]).bottom - sizedRect.top, 90);
    // Every record is gone: no window is given anything at a later start.
    for (const HWND window : {notepad, sized[0], held[0]})
        EXPECT_EQ(GetPropW(window, L"jp.trellane.Trellane.FoldedFrom"), nullptr);
}

// Translucency is given back however the program ends: at a quit, and after a kill at the next
// start. A window its own program layered keeps its own opacity throughout.
TEST_F(WindowOpsTest, MiddleClickedWindowsAreOpaqueAgainAfterAQuitAndAfterAKillAtTheNextStart) {
    StartProgram(SettingsText());
    const HWND notepad =
        winkit::WaitProcessWindow(targets_.emplace_back(L"notepad.exe").Id(), L"Notepad", 60s);
    ASSERT_NE(notepad, nullptr);
    ASSERT_TRUE(SetWindowPos(notepad, nullptr, 120, 110, 400, 260, SWP_NOZORDER));
    const auto own = StartTargets({L"OwnAlpha:layered:560:200:300:200"});
    ASSERT_NE(own[0], nullptr);
    const auto middleClickBoth = [&](int along) {
        Click(notepad, kMiddle, along);
        Click(own[0], kMiddle, along);
        ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(notepad) && LayeredAlpha(own[0]) == 178; }, 20s));
    };
    ASSERT_NO_FATAL_FAILURE(middleClickBoth(0));
    EXPECT_EQ(program_->Quit(), 0u);
    program_.reset();
    EXPECT_FALSE(IsLayered(notepad)) << "quitting left it translucent";
    EXPECT_EQ(LayeredAlpha(own[0]), 200);

    program_ = std::make_unique<Program>(*copy_);
    ASSERT_NE(program_->WaitPanel(), nullptr);
    ASSERT_TRUE(program_->StayResident());
    ASSERT_NO_FATAL_FAILURE(middleClickBoth(40));
    ASSERT_TRUE(TerminateProcess(program_->Handle(), 1));
    ASSERT_EQ(program_->WaitExit(20s), 1u);
    program_.reset();
    EXPECT_TRUE(IsLayered(notepad)) << "nothing gave it back yet";
    program_ = std::make_unique<Program>(*copy_);
    ASSERT_NE(program_->WaitPanel(), nullptr);
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(notepad); }, 20s)) << "still translucent";
    EXPECT_EQ(LayeredAlpha(own[0]), 200);
}

TEST_F(WindowOpsTest, RightClicksChangeNothingWhenTheRightButtonCommandsAreOff) {
    StartProgram(SettingsText([](Settings& s) { s.oritatami = false; }));
    const auto windows = StartTargets({L"NoFold:resizable:150:150:300:300"});
    ASSERT_NE(windows[0], nullptr);
    const RECT before = winkit::WindowRect(windows[0]);
    Click(windows[0], kRight);
    // Reaching the window, the right click opens its system menu; Escape closes it again.
    const auto menuOpen = [&] { return !winkit::ProcessWindows(targets_[0].Id(), L"#32768", true).empty(); };
    ASSERT_TRUE(winkit::WaitFor(menuOpen, 20s)) << "the right click did not reach the window";
    ASSERT_TRUE(winkit::PressKey(VK_ESCAPE));
    ASSERT_TRUE(winkit::WaitFor([&] { return !menuOpen(); }, 20s));
    // The middle click is still reported: once it has been handled, so has the right click.
    Click(windows[0], kMiddle);
    ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(windows[0]); }, 20s));
    ASSERT_TRUE(GestureSettled(*program_, windows[0]));
    EXPECT_TRUE(SameRect(winkit::WindowRect(windows[0]), before)) << Describe(winkit::WindowRect(windows[0]));
    EXPECT_FALSE(IsTopmost(windows[0]));
}

TEST_F(WindowOpsTest, ThePanelsSettingsTakeEffectOnTheNextGesture) {
    StartProgram(SettingsText(), "", /*resident=*/false);
    SetWindowPos(form_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const auto windows = StartTargets({L"Live:resizable:560:420:300:200"});
    ASSERT_NE(windows[0], nullptr);
    const HWND window = windows[0];
    const auto clickBox = [&](const wchar_t* caption, bool checked) {
        const RECT box = winkit::WindowRect(program_->Control(L"Button", caption));
        ASSERT_TRUE(winkit::Click(POINT{box.left + 6, (box.top + box.bottom) / 2}, MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_LEFTUP));
        ASSERT_TRUE(winkit::WaitFor([&] { return program_->IsChecked(caption) == checked; }, 20s))
            << "the box";
    };
    const auto heightNow = [&] { return winkit::WindowRect(window).bottom - winkit::WindowRect(window).top; };
    const int folded = FoldedHeight(window);

    // Right-click commands off: the click reaches the window, which opens its system menu.
    const wchar_t oritatami[] = L"右クリック機能（折りたたみなど）を使う";
    clickBox(oritatami, false);
    const int height = heightNow();
    Click(window, kRight);
    const auto menuOpen = [&] { return !winkit::ProcessWindows(targets_[0].Id(), L"#32768", true).empty(); };
    ASSERT_TRUE(winkit::WaitFor(menuOpen, 20s)) << "the right click was taken away from the window";
    ASSERT_TRUE(winkit::PressKey(VK_ESCAPE));
    ASSERT_TRUE(winkit::WaitFor([&] { return !menuOpen(); }, 20s));
    ASSERT_TRUE(GestureSettled(*program_, window));
    EXPECT_EQ(heightNow(), height);
    // ... and on again: the next right click folds.
    clickBox(oritatami, true);
    Click(window, kRight, 40);
    ASSERT_TRUE(winkit::WaitFor([&] { return heightNow() == folded; }, 20s)) << heightNow();
    Click(window, kRight, 80);
    ASSERT_TRUE(winkit::WaitFor([&] { return heightNow() == height; }, 20s)) << heightNow();

    // Snapping off, then on.
    const wchar_t useGrid[] = L"ウィンドウをグリッドに合わせる";
    clickBox(useGrid, false);
    RECT before = winkit::WindowRect(window);
    DragCaption(window, -37, -21);
    ASSERT_TRUE(GestureSettled(*program_, window));
    EXPECT_TRUE(SameRect(winkit::WindowRect(window), Offset(before, -37, -21)))
        << Describe(winkit::WindowRect(window));
    clickBox(useGrid, true);
    before = winkit::WindowRect(window);
    DragCaption(window, -37, -21);
    EXPECT_TRUE(winkit::WaitFor(
        [&] { return SameRect(winkit::WindowRect(window), Snapped(Offset(before, -37, -21))); }, 20s))
        << Describe(winkit::WindowRect(window));

    // A new pitch, typed into its field.
    const HWND pitch = program_->Control(L"Edit", nullptr);
    const RECT field = winkit::WindowRect(pitch);
    ASSERT_TRUE(winkit::Click(POINT{field.left + 10, (field.top + field.bottom) / 2}, MOUSEEVENTF_LEFTDOWN,
                              MOUSEEVENTF_LEFTUP));
    for (const WORD key : {WORD{VK_END}, WORD{VK_BACK}, WORD{VK_BACK}, WORD{VK_BACK}, WORD{'4'}, WORD{'0'}})
        ASSERT_TRUE(winkit::PressKey(key));
    ASSERT_TRUE(winkit::WaitFor([&] { return program_->Text(pitch) == L"40"; }, 20s)) << "the field";
    before = winkit::WindowRect(window);
    DragCaption(window, 29, 23);
    EXPECT_TRUE(winkit::WaitFor(
        [&] { return SameRect(winkit::WindowRect(window), Snapped(Offset(before, 29, 23), 40)); }, 20s))
        << Describe(winkit::WindowRect(window));
}

TEST_F(WindowOpsTest, ShiftRightClickAndRightDoubleClickToggleAlwaysOnTopAfterAFlash) {
    StartProgram(SettingsText());
    const auto windows = StartTargets({L"OnTop:resizable:200:200:300:200"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_FALSE(IsTopmost(windows[0]));

    ASSERT_TRUE(winkit::xserver::MoveTo(winkit::CaptionPoint(windows[0])));
    winkit::xserver::Held shift(L"shift", VK_SHIFT);
    ASSERT_TRUE(shift.Down());
    ASSERT_TRUE(winkit::xserver::Click(kRight));
    ASSERT_TRUE(winkit::WaitFor([&] { return IsTopmost(windows[0]); }, 20s));
    ASSERT_TRUE(shift.Release());

    // The double click's first press folds the window like any right click; the double click then
    // unfolds it again before the toggle.
    const RECT before = winkit::WindowRect(windows[0]);
    ASSERT_TRUE(winkit::xserver::Run(L"click --repeat 2 --delay 80 3"));
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsTopmost(windows[0]); }, 20s));
    ASSERT_TRUE(program_->Settle());
    EXPECT_TRUE(SameRect(winkit::WindowRect(windows[0]), before)) << Describe(winkit::WindowRect(windows[0]));
}

TEST_F(WindowOpsTest, GridIsPaintedDuringADragAndWipedAfterIt) {
    // Pure red lines (colour values are 0x00BBGGRR).
    StartProgram(SettingsText([](Settings& s) { s.graphicLine = true, s.gridColor = 255; }));
    const auto windows = StartTargets({L"Painted:resizable:96:96:320:240"});
    const auto onTop = StartTargets({L"OnTop:resizable:560:380:200:150"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_NE(onTop[0], nullptr);
    SetWindowPos(onTop[0], HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(winkit::WaitFor([&] { return IsTopmost(onTop[0]); }));
    // Grid points where no window stands, as the X screen shows them: Wine draws the grid window's
    // lines over windows above it in its own z-order, so only those points tell what a user sees.
    const std::vector<POINT> gridPoints{{kPitch * 25, 700}, {900, kPitch * 20}, {kPitch * 3, 600}, {40, 640}};
    const auto gridShown = [&](bool shown) {
        for (const POINT& at : gridPoints)
            if ((winkit::xserver::PixelAt(at) == RGB(255, 0, 0)) != shown) return false;
        return shown ? winkit::xserver::PixelAt(POINT{kPitch * 25 + 5, 705}) != RGB(255, 0, 0) : true;
    };
    const auto above = [](HWND upper, HWND lower) {
        for (HWND window = GetWindow(lower, GW_HWNDPREV); window; window = GetWindow(window, GW_HWNDPREV))
            if (window == upper) return true;
        return false;
    };

    const POINT grab = winkit::CaptionPoint(windows[0]);
    ASSERT_TRUE(winkit::xserver::MoveTo(grab));
    winkit::xserver::Held button(kLeft);
    ASSERT_TRUE(button.Down());
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 20, grab.y + 10}));
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 40, grab.y + 20}));
    HWND grid = nullptr;
    ASSERT_TRUE(winkit::WaitFor([&] {
        const auto found = winkit::ProcessWindows(program_->Id(), L"TrellaneGridWindow", true);
        return (grid = found.empty() ? nullptr : found[0]) != nullptr;
    })) << "no grid window shown";
    const RECT virtualScreen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                             GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EXPECT_TRUE(SameRect(winkit::WindowRect(grid), virtualScreen)) << Describe(winkit::WindowRect(grid));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(grid, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & (WS_EX_TRANSPARENT | WS_EX_NOACTIVATE), DWORD{WS_EX_TRANSPARENT | WS_EX_NOACTIVATE});
    EXPECT_TRUE(winkit::WaitFor([&] { return GetWindow(windows[0], GW_HWNDNEXT) == grid; }))
        << "the grid is not right below the dragged window";
    EXPECT_TRUE(above(onTop[0], grid)) << "the grid is above another program's topmost window";
    EXPECT_TRUE(winkit::WaitFor([&] { return gridShown(true); })) << "no grid on the X screen";
    EXPECT_NE(GetForegroundWindow(), grid);
    CreateDirectoryW(winkit::BuildPath(L"screenshots").c_str(), nullptr);
    SaveWindowImage(GetDesktopWindow(), winkit::BuildPath(L"screenshots\\grid.bmp"));

    ASSERT_TRUE(button.Release());
    ASSERT_TRUE(winkit::WaitFor([&] { return !IsLayered(windows[0]); }, 20s));
    ASSERT_TRUE(program_->Settle());
    EXPECT_FALSE(IsWindowVisible(grid)) << "the grid window is still shown";
    EXPECT_TRUE(winkit::WaitFor([&] { return gridShown(false); })) << "grid pixels left on the X screen";
    // Snapped (and resized) without anything drawn on it: it shows its own colour on grid lines.
    const RECT after = winkit::WindowRect(windows[0]);
    EXPECT_TRUE(winkit::WaitFor([&] {
        return winkit::xserver::PixelAt(POINT{after.left + 2 * kPitch, after.bottom - 8}) ==
                   RGB(40, 90, 160) &&
               winkit::xserver::PixelAt(POINT{after.right - 8, after.top + 4 * kPitch}) == RGB(40, 90, 160);
    })) << Describe(after);
}

// Snapping, folding, translucency and the topmost toggle on a Notepad started from this command line.
void WindowOpsTest::EveryCommandOnNotepad(const std::wstring& commandLine) {
    StartProgram(SettingsText());
    const HWND notepad = StartNotepad(commandLine);
    ASSERT_NE(notepad, nullptr);

    DragCaption(notepad, 50, 19, /*ownWindow=*/false);
    const RECT moved{200, 149, 620, 449};
    const RECT expected{Snapped(moved.left), Snapped(moved.top), Snapped(moved.right), Snapped(moved.bottom)};
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), expected); }, 20s))
        << Describe(winkit::WindowRect(notepad)) << " instead of " << Describe(expected);

    const int folded = FoldedHeight(notepad);
    Click(notepad, kRight);
    EXPECT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(notepad).bottom - expected.top == folded; }, 20s))
        << Describe(winkit::WindowRect(notepad));
    Click(notepad, kRight, 40);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), expected); }, 20s))
        << Describe(winkit::WindowRect(notepad));

    Click(notepad, kMiddle, 80);
    EXPECT_TRUE(winkit::WaitFor([&] { return IsLayered(notepad); }, 20s)) << "no translucency";
    Click(notepad, kMiddle, 120);
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(notepad); }, 20s)) << "still translucent";

    ASSERT_FALSE(IsTopmost(notepad));
    ASSERT_TRUE(winkit::xserver::MoveTo(winkit::CaptionPoint(notepad)));
    winkit::xserver::Held shift(L"shift", VK_SHIFT);
    ASSERT_TRUE(shift.Down());
    ASSERT_TRUE(winkit::xserver::Click(kRight));
    EXPECT_TRUE(winkit::WaitFor([&] { return IsTopmost(notepad); }, 20s)) << "not topmost";
}

// Under the x64 edition this is Wine's 64-bit Notepad, hooked by the program's own library.
TEST_F(WindowOpsTest, ARealProgramsWindowSnapsAndFoldsToo) {
    EveryCommandOnNotepad(L"notepad.exe");
}

TEST_F(WindowOpsTest, AFatalErrorInTheProgramGivesFoldedAndTranslucentWindowsBack) {
    StartProgram(SettingsText());
    // This run uses the test build, which can raise an error that nothing handles.
    program_->Quit();
    program_.reset();
    ASSERT_TRUE(CopyFileW(winkit::BuildPath(L"faults\\trellane.exe").c_str(), copy_->Exe().c_str(), FALSE));
    program_ = std::make_unique<Program>(*copy_);
    form_ = program_->WaitPanel();
    ASSERT_NE(form_, nullptr);
    // Away, so that the panel, which stands where the window does, cannot take its clicks.
    ASSERT_TRUE(program_->StayResident());

    const auto windows = StartTargets({L"FoldCrash:resizable:300:200:300:320"});
    ASSERT_NE(windows[0], nullptr);
    const RECT before = winkit::WindowRect(windows[0]);
    const int folded = FoldedHeight(windows[0]);
    Click(windows[0], kRight);
    ASSERT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(windows[0]).bottom - before.top == folded; }, 20s));
    Click(windows[0], kMiddle, 40);
    ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(windows[0]); }, 20s));

    PostMessageW(form_, RegisterWindowMessageW(trellane::kRaiseFaultMessageName), 0, 0);
    EXPECT_NE(program_->WaitExit(60s), static_cast<DWORD>(STILL_ACTIVE)) << "the program ends on the error";
    EXPECT_FALSE(IsLayered(windows[0])) << "left translucent";
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), before); }, 20s))
        << Describe(winkit::WindowRect(windows[0]));
    program_.reset();
}

namespace {

// The rectangle of a child window in its parent's client coordinates.
RECT RectInParent(HWND child) {
    RECT rect = winkit::WindowRect(child);
    MapWindowPoints(nullptr, GetAncestor(child, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A right click on a control's vertical scroll bar, halfway down.
bool RightClickScrollBar(HWND control) {
    const RECT r = winkit::WindowRect(control);
    return winkit::xserver::MoveTo(
               POINT{r.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, (r.top + r.bottom) / 2}) &&
           winkit::xserver::Click(3);
}

// The last visible child window that has all the style bits.
HWND ChildWithStyle(HWND parent, DWORD bits) {
    HWND found = nullptr;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && (static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & bits) == bits)
            found = child;
    return found;
}

} // namespace

HWND WindowOpsTest::OpenFileManagerDocument(int width, int height, HWND* clientOut) {
    const HWND frame = winkit::WaitProcessWindow(
        targets_.emplace_back(L"winefile.exe", L"C:\\windows\\system32").Id(), L"WFS_Frame", 60s);
    if (!frame) return nullptr;
    SetWindowPos(frame, nullptr, 40, 40, 900, 640, SWP_NOZORDER);
    const HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    if (clientOut) *clientOut = client;
    HWND document = nullptr;
    if (!winkit::WaitFor([&] { return (document = ChildWithStyle(client, WS_CAPTION)) != nullptr; }, 30s))
        return nullptr;
    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(document), 0);
    SetWindowPos(document, nullptr, 13, 17, width, height, SWP_NOZORDER);
    return document;
}

TEST_F(WindowOpsTest, AWindowLayeredByItsOwnProgramKeepsItsOpacity) {
    StartProgram(SettingsText());
    const auto windows = StartTargets({L"OwnLayered:layered:100:90:300:200"});
    ASSERT_NE(windows[0], nullptr);
    ASSERT_EQ(LayeredAlpha(windows[0]), 200);
    const RECT expected = Snapped(Offset(winkit::WindowRect(windows[0]), 37, 21));
    DragCaption(windows[0], 37, 21);
    ASSERT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), expected); }, 20s));
    ASSERT_TRUE(program_->Settle());
    EXPECT_EQ(LayeredAlpha(windows[0]), 200) << "a drag keeps the window's own opacity";
    // Two middle clicks: the configured level, then the window's own opacity again.
    Click(windows[0], kMiddle);
    EXPECT_TRUE(winkit::WaitFor([&] { return LayeredAlpha(windows[0]) == 178; }, 20s))
        << LayeredAlpha(windows[0]);
    Click(windows[0], kMiddle, 40);
    EXPECT_TRUE(winkit::WaitFor([&] { return LayeredAlpha(windows[0]) == 200; }, 20s))
        << LayeredAlpha(windows[0]);
    ASSERT_TRUE(program_->Settle());
    EXPECT_TRUE(IsLayered(windows[0]) && LayeredAlpha(windows[0]) == 200);
}

TEST_F(WindowOpsTest, ARightClickOnAChildListsScrollBarFoldsItsWindowAndLeavesTheListWhereItWas) {
    StartProgram(SettingsText());
    const auto windows = StartTargets({L"WithList:listbox:160:96:320:300"});
    ASSERT_NE(windows[0], nullptr);
    const HWND list = FindWindowExW(windows[0], nullptr, L"ListBox", nullptr);
    ASSERT_NE(list, nullptr);
    const RECT before = winkit::WindowRect(windows[0]);
    const int folded = FoldedHeight(windows[0]);
    ASSERT_TRUE(RightClickScrollBar(list));
    EXPECT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(windows[0]).bottom - before.top == folded; }, 20s))
        << Describe(winkit::WindowRect(windows[0]));
    ASSERT_TRUE(program_->Settle());
    EXPECT_TRUE(SameRect(RectInParent(list), RECT{10, 10, 130, 160})) << Describe(RectInParent(list));
    Click(windows[0], kRight);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(windows[0]), before); }, 20s));
}

TEST_F(WindowOpsTest, MaximizedWindowsAreNeitherSnappedNorFoldedButStillTurnTranslucent) {
    // A pitch that the screen size is no multiple of, so any snap would show.
    StartProgram(SettingsText([](Settings& s) { s.gridWidth = 40; }));
    const auto windows = StartTargets({L"Maximized:maximized:100:100:300:200"});
    const auto check = [this](HWND window, bool ownWindow) {
        ASSERT_TRUE(winkit::WaitFor([&] { return IsZoomed(window) != FALSE; }, 20s));
        const RECT maximized = winkit::WindowRect(window);
        Drag(window, winkit::CaptionPoint(window), 0, 0, ownWindow);
        // Pressed elsewhere on the caption: two quick presses on one spot are a double click, which
        // restores a maximized window (quick enough where nothing is emulated).
        const POINT caption = winkit::CaptionPoint(window);
        Drag(window, POINT{caption.x + 40, caption.y}, 60, 45, ownWindow);
        // A right click folds nothing; the middle click after it still works.
        Click(window, kRight);
        Click(window, kMiddle, 40);
        ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(window); }, 20s));
        ASSERT_TRUE(program_->Settle());
        EXPECT_TRUE(IsZoomed(window));
        EXPECT_TRUE(SameRect(winkit::WindowRect(window), maximized)) << Describe(winkit::WindowRect(window));
        Click(window, kMiddle, 80);
        EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(window); }, 20s));
    };
    check(windows[0], true);
    // Wine's Notepad, after the first window: it would cover that one's caption.
    const HWND notepad =
        winkit::WaitProcessWindow(targets_.emplace_back(L"notepad.exe").Id(), L"Notepad", 60s);
    ASSERT_NE(notepad, nullptr);
    ShowWindow(notepad, SW_MAXIMIZE);
    check(notepad, false);
}

TEST_F(WindowOpsTest, MdiChildrenOfARealProgramSnapInsideTheirFrameAndTheirListsStayPut) {
    StartProgram(SettingsText([](Settings& s) { s.gridWidth = 40; }));
    HWND client = nullptr;
    const HWND document = OpenFileManagerDocument(600, 420, &client);
    ASSERT_NE(document, nullptr);

    const RECT expected = Snapped(Offset(winkit::WindowRect(document), 37, 23), 40);
    DragCaption(document, 37, 23, false);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(document), expected); }, 20s))
        << Describe(winkit::WindowRect(document)) << " instead of " << Describe(expected);
    RECT inside{};
    const RECT clientRect = winkit::WindowRect(client);
    EXPECT_TRUE(IntersectRect(&inside, &clientRect, &expected) && SameRect(inside, expected))
        << "outside its frame";

    // A right click on a list's scroll bar folds the document window; the list keeps its place (its
    // size is the file manager's own layout).
    const HWND list = ChildWithStyle(document, WS_VSCROLL);
    ASSERT_NE(list, nullptr);
    const RECT listBefore = RectInParent(list);
    const RECT documentBefore = winkit::WindowRect(document);
    ASSERT_TRUE(RightClickScrollBar(list));
    EXPECT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(document).bottom < documentBefore.bottom; }, 20s));
    ASSERT_TRUE(program_->Settle());
    EXPECT_EQ(RectInParent(list).left, listBefore.left);
    EXPECT_EQ(RectInParent(list).top, listBefore.top);
    Click(document, kRight);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(document), documentBefore); }, 20s));
}

TEST_F(WindowOpsTest, TheEndOfTheSessionUnfoldsFoldedWindowsBeforeTheirProgramsHearAndSavesTheSettings) {
    // toumei=0 is written back as 20: proof that the file was written anew.
    StartProgram(SettingsText([](Settings& s) { s.toumei = 0, s.graphicLine = true; }));
    const std::wstring log = copy_->Folder() + L"\\session.log";
    // wineboot tells the processes in the order of their ids: the program must come first. Wine
    // gives a freed process or thread id out again (oldest first) only while its table is full and
    // many are free, else the next new one, in steps of 4 above all given so far. Threads of this
    // process, held until the target has started, take freed ids until new ones come; a target that
    // still got an old one (freed just then) is ended and started again.
    std::vector<trellane::UniqueHandle> idHolders;
    const auto holdUntilNewIds = [&] {
        DWORD previous = 0;
        for (int inARow = 0; inARow < 8;) {
            DWORD id = 0;
            if (idHolders.size() >= 4096) return false;
            idHolders.emplace_back(CreateThread(nullptr, 64 * 1024, EndAtOnce, nullptr,
                                                CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, &id));
            if (!idHolders.back()) return false;
            inARow = (id > program_->Id() && id == previous + 4) ? inARow + 1 : 0;
            previous = id;
        }
        return true;
    };
    std::vector<HWND> windows;
    for (int attempt = 0; attempt < 8; ++attempt) {
        ASSERT_TRUE(holdUntilNewIds()) << idHolders.size() << " ids held";
        windows = StartTargets({L"SessionFold:resizable:100:100:320:300", L"endsession=" + log});
        if (targets_.back().Id() > program_->Id()) break;
        targets_.back().Terminate();
    }
    for (const trellane::UniqueHandle& holder : idHolders)
        ResumeThread(holder.get());
    ASSERT_GT(targets_.back().Id(), program_->Id()) << idHolders.size() << " ids held";
    ASSERT_NE(windows[0], nullptr);
    // This process must have no window, or the end of the session would end it too.
    ASSERT_TRUE(winkit::ProcessWindows(GetCurrentProcessId(), nullptr).empty());
    const RECT before = winkit::WindowRect(windows[0]);
    const int folded = FoldedHeight(windows[0]);
    Click(windows[0], kRight);
    ASSERT_TRUE(
        winkit::WaitFor([&] { return winkit::WindowRect(windows[0]).bottom - before.top == folded; }, 20s));
    ASSERT_TRUE(program_->Settle());

    EXPECT_NE(winkit::ChildProcess(L"wineboot.exe --end-session").WaitExit(120s),
              static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_NE(program_->WaitExit(60s), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(copy_->ReadIni().value_or(""),
              SettingsText([](Settings& s) { s.toumei = 20, s.graphicLine = true; }));
    EXPECT_EQ(winkit::ReadFileBytes(log).value_or("not told"),
              "SessionFold " + std::to_string(before.left) + " " + std::to_string(before.top) + " " +
                  std::to_string(before.right) + " " + std::to_string(before.bottom) + "\r\n");
    program_.reset();
}

TEST_F(WindowOpsTest, AMoveCancelledWithEscapeEndsItsDragAndTheReleaseElsewhereChangesNothing) {
    StartProgram(SettingsText([](Settings& s) { s.gridWidth = 40, s.toumei = 60; }));
    const auto others = StartTargets({L"NeverDragged:resizable:523:333:300:200"});
    ASSERT_NE(others[0], nullptr);
    const RECT other = winkit::WindowRect(others[0]);
    const HWND notepad =
        winkit::WaitProcessWindow(targets_.emplace_back(L"notepad.exe").Id(), L"Notepad", 60s);
    ASSERT_NE(notepad, nullptr);
    SetWindowPos(notepad, nullptr, 110, 105, 380, 200, SWP_NOZORDER);
    ASSERT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), {110, 105, 490, 305}); }));
    const POINT grab = winkit::CaptionPoint(notepad);
    ASSERT_TRUE(winkit::xserver::MoveTo(grab));
    winkit::xserver::Held button(kLeft);
    ASSERT_TRUE(button.Down());
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 30, grab.y + 20}));
    ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(notepad); })) << "no translucency while moving";
    ASSERT_TRUE(winkit::xserver::Key(L"Escape", VK_ESCAPE, true));
    ASSERT_TRUE(winkit::xserver::Key(L"Escape", VK_ESCAPE, false));
    // Put back by the system, then treated as clicked on its caption: opaque and on the grid.
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsLayered(notepad); })) << "still translucent";
    const RECT expected = Snapped(RECT{110, 105, 490, 305}, 40);
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(notepad), expected); }))
        << Describe(winkit::WindowRect(notepad));
    ASSERT_TRUE(button.Release());

    // A release reported for another window while a session is open (the button came up where
    // another program took it) ends the dragged window's drag once its move has ended, and acts on
    // the dragged window alone.
    const auto observer = StartTargets({L"Observer:resizable:600:40:200:150"});
    ASSERT_NE(observer[0], nullptr);
    const POINT caption = winkit::CaptionPoint(notepad);
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{caption.x + 60, caption.y}));
    winkit::xserver::Held again(kLeft);
    ASSERT_TRUE(again.Down());
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{caption.x + 77, caption.y + 31}));
    ASSERT_TRUE(winkit::WaitFor([&] { return IsLayered(notepad); })) << "no translucency while moving";
    PostMessageW(form_, vellum::HM_DRAGEND, reinterpret_cast<WPARAM>(others[0]), 0);
    ASSERT_TRUE(PostedHandled(form_, observer[0]));
    EXPECT_TRUE(IsLayered(notepad)) << "the drag ended while the window was still moving";
    const RECT dropped = Offset(expected, 17, 31);
    ASSERT_TRUE(again.Release());
    ASSERT_TRUE(winkit::WaitFor([&] { return !IsLayered(notepad); })) << "still translucent";
    ASSERT_TRUE(GestureSettled(*program_, notepad) && GestureSettled(*program_, others[0]));
    EXPECT_TRUE(SameRect(winkit::WindowRect(notepad), Snapped(dropped, 40)))
        << Describe(winkit::WindowRect(notepad)) << " dropped at " << Describe(dropped);
    EXPECT_TRUE(SameRect(winkit::WindowRect(others[0]), other)) << Describe(winkit::WindowRect(others[0]));
}

TEST_F(WindowOpsTest, AnMdiChildMovedOnlyAtTheDropLandsOnTheGridNextToTheDrop) {
    StartProgram(SettingsText([](Settings& s) { s.gridWidth = 40, s.moveToumei = false; }));
    const HWND document = OpenFileManagerDocument(400, 300);
    ASSERT_NE(document, nullptr);
    const RECT before = winkit::WindowRect(document);
    const RECT expected = Snapped(Offset(before, 77, 63), 40);
    const POINT grab = winkit::CaptionPoint(document);
    ASSERT_TRUE(winkit::xserver::MoveTo(grab));
    winkit::xserver::Held button(kLeft);
    ASSERT_TRUE(button.Down());
    for (int i = 1; i <= 4; ++i)
        ASSERT_TRUE(winkit::xserver::MoveTo(POINT{grab.x + 77 * i / 4, grab.y + 63 * i / 4}));
    // Checked with the button still down, once the window's program has answered twice: a message
    // sent after its first answer is taken after the moves that came before it.
    ASSERT_TRUE(GestureSettled(*program_, document) && GestureSettled(*program_, document));
    EXPECT_TRUE(SameRect(winkit::WindowRect(document), before)) << "an outline drag moves only at the drop";
    ASSERT_TRUE(button.Release());
    ASSERT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(document), expected); }))
        << Describe(winkit::WindowRect(document)) << " instead of " << Describe(expected);

    // Press, move and release in one gesture: the release may come before the move loop is seen.
    // Pressed away from the last release, so that the two presses make no double click.
    const RECT quick = Snapped(Offset(expected, 53, 47), 40);
    const POINT caption = winkit::CaptionPoint(document);
    ASSERT_TRUE(winkit::xserver::MoveTo(POINT{caption.x - 30, caption.y}));
    ASSERT_TRUE(winkit::xserver::Run(L"mousedown 1 mousemove_relative -- 53 47 mouseup 1"));
    EXPECT_TRUE(winkit::WaitFor([&] { return SameRect(winkit::WindowRect(document), quick); }))
        << Describe(winkit::WindowRect(document)) << " instead of " << Describe(quick);
}
