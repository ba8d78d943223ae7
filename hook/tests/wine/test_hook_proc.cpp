// The real hook procedure, compiled into this test and called directly: with a view of the
// section it posts exactly what the decision table says to NotifyWnd and nowhere else; without a
// view it passes everything on and touches nothing.
#include "handle32.h"
#include "hook_shared.h"
#include "mouse_decision.h"
#include "vellum_callback.h"
#include "vellum_library.h"
#include "vellum_unit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace vellum;

namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    HWND window;
};

std::vector<Posted> DrainPosted() {
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_USER, 0x7FFF, PM_REMOVE))
        posted.push_back({msg.message, msg.wParam, msg.lParam, msg.hwnd});
    return posted;
}

class HookProcWithView : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeUnit();
        ASSERT_NE(SharedView, nullptr);
        receiver_ = MessageWindow();
        SharedView->NotifyWnd = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(receiver_));
        SharedView->RightButtonOn = 1;
        SharedView->Dragging = 0;
        DrainPosted();
    }
    void TearDown() override { FinalizeUnit(); }

    LRESULT Call(int code, UINT message, UINT hitTest) {
        MOUSEHOOKSTRUCT info{};
        info.hwnd = target_;
        info.wHitTestCode = hitTest;
        return MouseHookProc(code, message, reinterpret_cast<LPARAM>(&info));
    }

    HWND receiver_ = nullptr;
    HWND target_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x12345678));
};

} // namespace

TEST_F(HookProcWithView, ADragPostsStartMovesAndOneEnd) {
    EXPECT_EQ(Call(HC_ACTION, WM_NCLBUTTONDOWN, HTCAPTION), 0);
    EXPECT_EQ(SharedView->Dragging, 1);
    Call(HC_ACTION, WM_MOUSEMOVE, HTCLIENT);
    Call(HC_NOREMOVE, WM_MOUSEMOVE, HTCLIENT);
    Call(HC_ACTION, WM_LBUTTONUP, HTCLIENT);
    EXPECT_EQ(SharedView->Dragging, 0);
    Call(HC_ACTION, WM_LBUTTONUP, HTCLIENT);
    Call(HC_ACTION, WM_MOUSEMOVE, HTCLIENT);

    const auto posted = DrainPosted();
    ASSERT_EQ(posted.size(), 4u);
    const UINT expected[] = {HM_DRAGSTART, HM_MOUSEMOVE, HM_MOUSEMOVE, HM_DRAGEND};
    for (size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].message, expected[i]);
        EXPECT_EQ(posted[i].window, receiver_);
        EXPECT_EQ(posted[i].wParam, reinterpret_cast<WPARAM>(target_));
        EXPECT_EQ(posted[i].lParam, 0);
    }
}

TEST_F(HookProcWithView, SwallowsTheClicksItReports) {
    EXPECT_EQ(Call(HC_ACTION, WM_NCMBUTTONDOWN, HTVSCROLL), 1);
    EXPECT_EQ(Call(HC_ACTION, WM_NCRBUTTONDOWN, HTMENU), 1);
    EXPECT_EQ(Call(HC_ACTION, WM_NCRBUTTONDBLCLK, HTCAPTION), 1);
    EXPECT_EQ(Call(-1, WM_NCMBUTTONDOWN, HTCAPTION), 0) << "negative codes are always passed on";
    SharedView->RightButtonOn = 0;
    EXPECT_EQ(Call(HC_ACTION, WM_NCRBUTTONDOWN, HTCAPTION), 0);
    EXPECT_EQ(Call(HC_ACTION, WM_NCRBUTTONDBLCLK, HTCAPTION), 0);
    EXPECT_EQ(Call(HC_ACTION, WM_NCMBUTTONDOWN, HTCAPTION), 1);

    const auto posted = DrainPosted();
    ASSERT_EQ(posted.size(), 4u);
    EXPECT_EQ(posted[0].message, HM_MCLICK);
    EXPECT_EQ(posted[1].message, HM_RCLICK);
    EXPECT_EQ(posted[2].message, HM_RDBLCLK);
    EXPECT_EQ(posted[3].message, HM_MCLICK);
}

TEST_F(HookProcWithView, HostileInputGetsExactlyTheDecisionTablesAnswer) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> codes(-5, 8);
    std::uniform_int_distribution<unsigned> messages(0x9F, 0x20F);
    std::uniform_int_distribution<unsigned> hits(0, 25);
    int checked = 0;
    int posts = 0;
    int shiftPosts = 0;
    std::string mismatches;
    // Shift is held at the X server for a quarter of the calls, so that the procedure's own reading
    // of it is compared too.
    std::optional<winkit::xserver::Held> shift;
    for (int i = 0; i < 20000; ++i) {
        const int code = codes(random);
        const UINT message = random() % 8 == 0 ? static_cast<UINT>(random()) : messages(random);
        if (i % 1000 == 0) SharedView->RightButtonOn = SharedView->RightButtonOn ? 0 : 1;
        if (i == 10000) {
            ASSERT_TRUE(shift.emplace(L"shift", VK_SHIFT).Down());
        }
        if (i == 15000) {
            ASSERT_TRUE(shift->Release());
        }
        if (i % 97 == 0) {
            // A null MOUSEHOOKSTRUCT is passed on untouched.
            EXPECT_EQ(MouseHookProc(code, message, 0), 0);
            EXPECT_TRUE(DrainPosted().empty());
            continue;
        }
        MOUSEHOOKSTRUCT info{};
        info.hwnd = target_;
        info.wHitTestCode = hits(random) == 25 ? 0xFFFFFFFEu : hits(random);
        const bool dragging = SharedView->Dragging != 0;
        const bool rightButtonOn = SharedView->RightButtonOn != 0;
        const MouseVerdict verdict = ClassifyMouse(code, message, static_cast<unsigned>(info.wHitTestCode),
                                                   dragging, rightButtonOn, winkit::KeyIsDown(VK_SHIFT));
        const bool draggingAfter =
            verdict.drag == DragChange::Start || (dragging && verdict.drag == DragChange::Keep);

        const LRESULT result = MouseHookProc(code, message, reinterpret_cast<LPARAM>(&info));
        const auto posted = DrainPosted();
        const bool postedRight = verdict.post == 0
                                     ? posted.empty()
                                     : posted.size() == 1 && posted[0].message == verdict.post &&
                                           posted[0].window == receiver_ && posted[0].lParam == 0 &&
                                           posted[0].wParam == reinterpret_cast<WPARAM>(target_);
        const bool right = result == (verdict.swallow ? 1 : 0) && postedRight &&
                           SharedView->Dragging == (draggingAfter ? 1 : 0);
        ++checked;
        posts += static_cast<int>(posted.size());
        shiftPosts += verdict.post == HM_SHIFT_RCLICK ? 1 : 0;
        if (!right && mismatches.size() < 600)
            mismatches += "\n  call " + std::to_string(i) + ": code " + std::to_string(code) + ", message " +
                          std::to_string(message) + ", hit test " + std::to_string(info.wHitTestCode) +
                          " answered " + std::to_string(result) + " and posted " +
                          std::to_string(posted.size());
    }
    EXPECT_TRUE(mismatches.empty()) << "the hook differs from the decision table:" << mismatches;
    EXPECT_GT(checked, 19000);
    EXPECT_GT(posts, 50) << "the input reached the reporting cases";
    EXPECT_GT(shiftPosts, 0) << "no right press came while Shift was held";
}

#ifdef _WIN64
// For a 32-bit program Windows calls the 64-bit hook on the thread that installed it, in the
// installing process: there the procedure gets that program's window and must report it, and
// swallow the same clicks, as it does in a process of its own bitness.
TEST_F(HookProcWithView, AWindowOfA32BitProgramIsReportedFromTheInstallingProcess) {
    winkit::ChildProcess notepad(L"C:\\windows\\syswow64\\notepad.exe");
    target_ = winkit::WaitProcessWindow(notepad.Id(), L"Notepad", std::chrono::seconds(60));
    ASSERT_NE(target_, nullptr);
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(notepad.Handle(), &wow64) && wow64) << "Notepad is not a 32-bit program here";

    EXPECT_EQ(Call(HC_ACTION, WM_NCRBUTTONDOWN, HTCAPTION), 1);
    EXPECT_EQ(Call(HC_ACTION, WM_NCMBUTTONDOWN, HTCAPTION), 1);
    EXPECT_EQ(Call(HC_ACTION, WM_NCLBUTTONDOWN, HTCAPTION), 0);
    EXPECT_EQ(Call(HC_ACTION, WM_LBUTTONUP, HTCLIENT), 0);
    const auto posted = DrainPosted();
    ASSERT_EQ(posted.size(), 4u);
    const UINT expected[] = {HM_RCLICK, HM_MCLICK, HM_DRAGSTART, HM_DRAGEND};
    for (size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].message, expected[i]);
        EXPECT_EQ(posted[i].window, receiver_);
        EXPECT_EQ(HandleFromBits<HWND>(static_cast<std::uint32_t>(posted[i].wParam)), target_);
    }
    notepad.Terminate();
}
#endif

TEST(HookProcWithoutView, PassesEverythingOnAndPostsNothing) {
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, VELLUM_HOOK_MAPPING_NAME);
    ASSERT_NE(squatter, nullptr);
    InitializeUnit();
    ASSERT_EQ(SharedView, nullptr);
    MessageWindow();
    MOUSEHOOKSTRUCT info{};
    info.hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1000));
    for (UINT message : {WM_NCMBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCRBUTTONDBLCLK, WM_NCLBUTTONDOWN,
                         WM_LBUTTONUP, WM_MOUSEMOVE}) {
        info.wHitTestCode = HTCAPTION;
        EXPECT_EQ(MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&info)), 0);
    }
    EXPECT_TRUE(DrainPosted().empty());
    FinalizeUnit();
    CloseHandle(squatter);
}
