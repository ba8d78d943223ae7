// The tray icon component and its popup menu inside this process: what the shell is asked to do
// (watched through the component's shell function, so no answer of the shell is trusted), the
// events raised for the shell's callbacks, the menus it opens, and free notification.
#include "SysCtrls.h"
#include "winkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace trellane;
using namespace std::chrono_literals;

namespace {

// ---- What the shell was asked ------------------------------------------------------------------------

struct ShellCall {
    DWORD message;
    NotifyIconDataV1 data;
};

std::vector<ShellCall> Calls;

BOOL WINAPI ObserveShell(DWORD message, PNOTIFYICONDATAA data) {
    ShellCall call{message, {}};
    std::memcpy(&call.data, data, sizeof call.data);
    Calls.push_back(call);
    return TRUE;
}

std::string TipOf(const ShellCall& call) {
    return std::string(call.data.szTip, strnlen(call.data.szTip, sizeof call.data.szTip));
}

// A 16x16 icon made in memory, so the tests need no resources.
TIcon MakeIcon() {
    BYTE andMask[16 * 16 / 8];
    BYTE xorMask[16 * 16 / 8];
    std::memset(andMask, 0x00, sizeof andMask);
    std::memset(xorMask, 0xA5, sizeof xorMask);
    return TIcon(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, andMask, xorMask));
}

std::string Text(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow.push_back(static_cast<char>(c));
    return narrow;
}

// ---- An owner with a window, as a form is ------------------------------------------------------------

std::vector<std::string> Log;

class TestOwner final : public TWinComponent {
public:
    explicit TestOwner(HWND applicationWindow = nullptr)
        : TWinComponent(nullptr), FLink(applicationWindow, [this](bool show) { ShowMainForm = show; }) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TrayTestOwner";
        RegisterClassExW(&windowClass);
        FWindow = CreateWindowExW(0, L"TrayTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestOwner() override {
        Destroying();
        DestroyWindow(FWindow);
    }
    HWND Handle() const override { return FWindow; }
    bool IsForm() const override { return true; }
    void SendCancelMode() override { Log.push_back("CancelMode"); }
    const TApplicationLink* Application() const override { return &FLink; }

    TPopupMenu* CommandMenu = nullptr;
    std::vector<UINT> Commands;
    int NullMessages = 0;
    bool ShowMainForm = true;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        auto* self = reinterpret_cast<TestOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_NULL) ++self->NullMessages;
        if (self && message == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {
            self->Commands.push_back(LOWORD(wParam));
            if (self->CommandMenu) self->CommandMenu->DispatchCommand(LOWORD(wParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND FWindow = nullptr;
    TApplicationLink FLink;
};

// An owner in the design state, as a form designer would make one.
class DesignOwner final : public TComponent {
public:
    DesignOwner() : TComponent(nullptr) { SetDesigning(true); }
    ~DesignOwner() override { Destroying(); }
};

// ---- Watching a menu while it is open ----------------------------------------------------------------

// What the menu loop showed, read by a timer that runs inside that loop and then ends the menu.
struct MenuWatch {
    bool seen = false;
    RECT rect{};
    HWND foreground = nullptr;
    int ticks = 0;
    bool chooseSecondItem = false;
};
MenuWatch Watch;

struct ClassQuery {
    const wchar_t* name;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindClassWindow(HWND window, LPARAM param) noexcept {
    auto* query = reinterpret_cast<ClassQuery*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, query->name) != 0 || (query->visibleOnly && !IsWindowVisible(window))) return TRUE;
    query->found = window;
    return FALSE;
}

// A window of this thread with that class, visible or not unless asked.
HWND ThreadWindowOfClass(const wchar_t* className, bool visibleOnly = false) {
    ClassQuery query{className, visibleOnly, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindClassWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The popup menu this thread shows, if any.
HWND ThreadMenuWindow() {
    return ThreadWindowOfClass(L"#32768", true);
}

void CALLBACK WatchTick(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    const HWND menu = ThreadMenuWindow();
    if (menu) {
        Watch.seen = true;
        GetWindowRect(menu, &Watch.rect);
        Watch.foreground = GetForegroundWindow();
        KillTimer(nullptr, timer);
        if (Watch.chooseSecondItem) {
            // Keys as the menu loop reads them from the queue: down twice, then Enter.
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            EndMenu();
        }
        return;
    }
    if (++Watch.ticks > 200) {
        KillTimer(nullptr, timer);
        EndMenu();
    }
}

// A menu whose opening is logged and that closes itself once it has been seen on the screen.
std::unique_ptr<TPopupMenu> WatchedMenu(TComponent* owner, const char* name) {
    auto menu = std::make_unique<TPopupMenu>(owner);
    menu->Items().Add(L"first", L"First");
    menu->Items().Add(L"second", L"Second",
                      [](TMenuItem& item) { Log.push_back("Chose " + Text(item.Name())); });
    menu->OnPopup = [name](TPopupMenu&) {
        Log.push_back(std::string("Popup(") + name + ")");
        SetTimer(nullptr, 0, 30, WatchTick);
    };
    return menu;
}

std::string ShiftText(TShiftState shift) {
    return std::to_string(shift.Bits());
}

void LogEvents(TIconTray& tray) {
    tray.OnClick = [&tray](TComponent* sender) { Log.push_back(sender == &tray ? "Click" : "Click(?)"); };
    tray.OnDblClick = [&tray](TComponent* sender) {
        Log.push_back(sender == &tray ? "DblClick" : "DblClick(?)");
    };
    tray.OnMouseDown = [](TComponent*, TMouseButton button, TShiftState shift, int x, int y) {
        Log.push_back("Down(" + std::to_string(static_cast<int>(button)) + "," + ShiftText(shift) + "," +
                      std::to_string(x) + "," + std::to_string(y) + ")");
    };
    tray.OnMouseUp = [](TComponent*, TMouseButton button, TShiftState shift, int x, int y) {
        Log.push_back("Up(" + std::to_string(static_cast<int>(button)) + "," + ShiftText(shift) + "," +
                      std::to_string(x) + "," + std::to_string(y) + ")");
    };
    tray.OnMouseMove = [](TComponent*, TShiftState shift, int x, int y) {
        Log.push_back("Move(" + ShiftText(shift) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
    };
}

// Sets the keys this thread sees as held (GetKeyState reads this state).
void HoldKeys(std::initializer_list<int> keys) {
    BYTE state[256] = {};
    for (int key : keys)
        state[key] = 0x80;
    SetKeyboardState(state);
}

class TrayComponent : public ::testing::Test {
protected:
    void SetUp() override {
        Calls.clear();
        Log.clear();
        Watch = MenuWatch{};
        previous_ = SetShellNotifyIconFunction(ObserveShell);
        HoldKeys({});
    }
    void TearDown() override {
        HoldKeys({});
        SetShellNotifyIconFunction(previous_);
    }

    // The callback window the component gave the shell in its last request.
    static HWND TrayWindow() { return Calls.empty() ? nullptr : Calls.back().data.hWnd; }

    // A shown icon of a component owned by the owner; its shell calls stay in Calls, so TrayWindow()
    // names its callback window.
    static TIconTray& ShownTray(TestOwner& owner) {
        auto* tray = new TIconTray(&owner);
        tray->SetIcon(MakeIcon());
        return *tray;
    }

    static POINT CursorAt(int x, int y) {
        SetCursorPos(x, y);
        POINT cursor{};
        GetCursorPos(&cursor);
        return cursor;
    }

private:
    ShellNotifyIconFunction previous_ = nullptr;
};

std::string At(POINT p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

} // namespace

// ---- Identifiers -----------------------------------------------------------------------------------------

// Run by FirstInstanceOfAProcessIsOne in a fresh process of its own.
TEST(TrayIdentifiers, DISABLED_InAFreshProcess) {
    Calls.clear();
    const auto previous = SetShellNotifyIconFunction(ObserveShell);
    {
        auto first = std::make_unique<TIconTray>(nullptr);
        first->SetIcon(MakeIcon());
        TIconTray second(nullptr);
        second.SetIcon(MakeIcon());
        first.reset();
        TIconTray third(nullptr);
        third.SetIcon(MakeIcon());
    }
    SetShellNotifyIconFunction(previous);
    std::vector<UINT> added;
    for (const ShellCall& call : Calls)
        if (call.message == NIM_ADD) added.push_back(call.data.uID);
    EXPECT_EQ(added, (std::vector<UINT>{1, 2, 3}));
}

TEST(TrayIdentifiers, FirstInstanceOfAProcessIsOne) {
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
    // Its report says how many cases it ran: a filter that selects nothing passes too.
    const std::wstring report =
        winkit::TempFolder() + L"tray-identifiers-" + std::to_wstring(GetCurrentProcessId()) + L".xml";
    DeleteFileW(report.c_str());
    winkit::ChildProcess child(std::wstring(L"\"") + self +
                               L"\" --gtest_filter=TrayIdentifiers.DISABLED_InAFreshProcess "
                               L"--gtest_also_run_disabled_tests \"--gtest_output=xml:" +
                               report + L"\"");
    ASSERT_TRUE(child.Started());
    EXPECT_EQ(child.WaitExit(90s), 0u);
    const std::string ran = winkit::ReadFileBytes(report).value_or("no report");
    DeleteFileW(report.c_str());
    EXPECT_NE(ran.find("<testsuites tests=\"1\" failures=\"0\""), std::string::npos) << ran;
}

TEST_F(TrayComponent, IdentifiersCountUpAndAreNotReusedAfterAFree) {
    auto first = std::make_unique<TIconTray>(nullptr);
    first->SetIcon(MakeIcon());
    auto second = std::make_unique<TIconTray>(nullptr);
    second->SetIcon(MakeIcon());
    ASSERT_EQ(Calls.size(), 2u);
    const UINT firstId = Calls[0].data.uID;
    EXPECT_EQ(Calls[1].data.uID, firstId + 1);
    second.reset();
    first.reset();
    Calls.clear();
    TIconTray third(nullptr);
    third.SetIcon(MakeIcon());
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].data.uID, firstId + 2);
}

// ---- The record and the requests -------------------------------------------------------------------------

TEST_F(TrayComponent, TheRecordIsTheFirst88ByteFormWithCallback1024) {
    TIconTray tray(nullptr);
    tray.SetHintBytes("Trellane");
    EXPECT_TRUE(Calls.empty()) << "no image: nothing to show";
    tray.SetIcon(MakeIcon());
    ASSERT_EQ(Calls.size(), 1u);
    const ShellCall& add = Calls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(add.data.uFlags, 7u);
    EXPECT_EQ(add.data.uCallbackMessage, 1024u);
    EXPECT_EQ(add.data.hIcon, tray.Icon().Handle());
    EXPECT_NE(add.data.hIcon, nullptr);
    EXPECT_EQ(TipOf(add), "Trellane");

    // The callback window: a hidden top-level window of this thread, not a message-only one.
    const HWND window = add.data.hWnd;
    ASSERT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TIconTrayWindow");
}

TEST_F(TrayComponent, ASeventyByteHintIsStoredAndSentAsItsFirst63Bytes) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    std::string hint;
    for (int i = 0; i < 70; ++i)
        hint.push_back(static_cast<char>('0' + i % 10));
    tray.SetHintBytes(hint);
    EXPECT_EQ(tray.Hint(), hint.substr(0, 63));
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(TipOf(Calls[1]), hint.substr(0, 63));
    EXPECT_EQ(Calls[1].data.szTip[63], '\0');
}

TEST_F(TrayComponent, ASixtyThreeByteHintIsKeptWhole) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    const std::string hint = std::string(62, 'x') + "y";
    tray.SetHintBytes(hint);
    EXPECT_EQ(tray.Hint(), hint);
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(TipOf(Calls[1]), hint);
}

TEST_F(TrayComponent, AUtf16HintIsSentInTheAnsiCodePage) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    tray.SetHint(L"Trellane");
    EXPECT_EQ(tray.Hint(), "Trellane");
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(TipOf(Calls[1]), "Trellane");
}

// Run with a Japanese system code page (932) by its own ctest entry.
TEST_F(TrayComponent, AJapaneseHintBecomesShiftJisBytesCutOnACharacterBoundaryOnTheJapaneseAnsiCodePage) {
    if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese ANSI code page, not " << GetACP();
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    tray.SetHint(L"トレイ");
    EXPECT_EQ(tray.Hint(), "\x83\x67\x83\x8C\x83\x43");
    // 32 two-byte characters: the cut keeps 31 of them, never the lead byte of the last alone.
    tray.SetHint(std::wstring(32, L'ト'));
    ASSERT_EQ(tray.Hint().size(), 62u);
    EXPECT_EQ(tray.Hint().back(), '\x67');
    EXPECT_EQ(TipOf(Calls.back()).size(), 62u);
    // One single-byte character first: now 63 bytes end on a whole character.
    tray.SetHint(L"a" + std::wstring(32, L'ト'));
    EXPECT_EQ(tray.Hint().size(), 63u);
}

TEST_F(TrayComponent, AssigningTheCurrentHintOrShowHintAgainSendsNothing) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    tray.SetHintBytes("Trellane");
    Calls.clear();
    tray.SetHintBytes("Trellane");
    tray.SetHint(L"Trellane");
    tray.SetShowHint(true);
    EXPECT_TRUE(Calls.empty());
    tray.SetShowHint(false);
    tray.SetShowHint(false);
    EXPECT_EQ(Calls.size(), 1u);
}

TEST_F(TrayComponent, WithoutShowHintTheIconIsStillAddedWithFlags7AndAnEmptyTip) {
    TIconTray tray(nullptr);
    tray.SetShowHint(false);
    tray.SetHintBytes("Trellane");
    EXPECT_TRUE(Calls.empty());
    tray.SetIcon(MakeIcon());
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls[0].data.uFlags, 7u);
    EXPECT_EQ(Calls[0].data.szTip[0], '\0');
    EXPECT_EQ(tray.Hint(), "Trellane") << "the hint is kept, only not shown";
    tray.SetShowHint(true);
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(TipOf(Calls[1]), "Trellane");
}

TEST_F(TrayComponent, AnEmptyImageDeletesTheIconAndANewOneAddsItAgain) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    tray.SetIcon(MakeIcon());
    tray.SetIcon(TIcon());
    tray.SetIcon(TIcon());
    tray.SetIcon(MakeIcon());
    ASSERT_EQ(Calls.size(), 4u);
    EXPECT_EQ(Calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Calls[2].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls[2].data.uID, Calls[0].data.uID);
    EXPECT_EQ(Calls[2].data.hWnd, Calls[0].data.hWnd);
    EXPECT_EQ(Calls[3].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayComponent, TheImageIsACopyOfTheOneAssigned) {
    TIconTray tray(nullptr);
    {
        const TIcon icon = MakeIcon();
        tray.SetIcon(icon);
        EXPECT_NE(tray.Icon().Handle(), icon.Handle());
    }
    EXPECT_FALSE(tray.Icon().Empty());
}

TEST_F(TrayComponent, DestructionDeletesTheShownIconAndTheCallbackWindow) {
    auto tray = std::make_unique<TIconTray>(nullptr);
    tray->SetIcon(MakeIcon());
    const HWND window = TrayWindow();
    tray.reset();
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls[1].data.hWnd, window);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TrayComponent, LoadingAddsWhileTheHintIsReadAndModifiesAtTheEnd) {
    TestOwner owner;
    auto* tray = new TIconTray(&owner);
    owner.ReadProperties([&] {
        tray->SetIcon(MakeIcon());
        tray->SetHint(L"Trellane");
    });
    ASSERT_EQ(Calls.size(), 3u);
    EXPECT_EQ(Calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(TipOf(Calls[0]), "");
    EXPECT_EQ(Calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(TipOf(Calls[1]), "Trellane");
    EXPECT_EQ(Calls[2].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_TRUE(owner.ShowMainForm) << "HideMainForm is false by default";
}

TEST_F(TrayComponent, HideMainFormKeepsTheMainFormAndHidesTheApplicationWindowWhileTheIconIsShown) {
    const HWND applicationWindow =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"application", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsWindowVisible(applicationWindow));
    {
        TestOwner owner(applicationWindow);
        auto* tray = new TIconTray(&owner);
        owner.ReadProperties([&] {
            tray->SetIcon(MakeIcon());
            tray->SetHideMainForm(true);
        });
        EXPECT_FALSE(owner.ShowMainForm);
        EXPECT_FALSE(IsWindowVisible(applicationWindow));
        ASSERT_FALSE(Calls.empty());
        EXPECT_EQ(Calls.front().message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(Calls.back().message, static_cast<DWORD>(NIM_MODIFY));
    }
    DestroyWindow(applicationWindow);
}

TEST_F(TrayComponent, InTheDesignStateThereIsNoWindowAndNothingReachesTheShell) {
    DesignOwner owner;
    auto* tray = new TIconTray(&owner);
    EXPECT_TRUE(tray->Designing());
    owner.ReadProperties([&] {
        tray->SetIcon(MakeIcon());
        tray->SetHint(L"Trellane");
        tray->SetShowHint(false);
    });
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(ThreadWindowOfClass(TIconTray::kWindowClass), nullptr) << "no callback window";
}

// ---- The shell's callback --------------------------------------------------------------------------------

TEST_F(TrayComponent, CallbacksRaiseTheEventsInTheirOrderAtTheCursor) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    LogEvents(tray);
    const HWND window = TrayWindow();
    const std::string at = At(CursorAt(123, 234));

    const struct {
        LPARAM message;
        std::vector<std::string> events;
    } cases[] = {
        {512, {"Move(0," + at + ")"}},
        {513, {"Down(0,0," + at + ")"}},
        {514, {"Click", "Up(0,0," + at + ")"}},
        {515, {"DblClick", "Down(0,64," + at + ")"}},
        {516, {"Down(1,0," + at + ")"}},
        {517, {"Up(1,0," + at + ")"}},
        {518, {"Down(1,64," + at + ")"}},
        {519, {"Down(2,0," + at + ")"}},
        {520, {"Up(2,0," + at + ")"}},
        {521, {"Down(2,64," + at + ")"}},
        {0x0401, {}},
        {522, {}},
        {0x00010201, {}},
    };
    for (const auto& c : cases) {
        Log.clear();
        EXPECT_EQ(SendMessageW(window, 1024, 7, c.message), 0);
        EXPECT_EQ(Log, c.events) << "LParam " << c.message;
    }
}

TEST_F(TrayComponent, ShiftAndCtrlGiveBitsOneAndFourPlusTheButtonsThatAreDown) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    LogEvents(tray);
    const std::string at = At(CursorAt(40, 50));
    HoldKeys({VK_SHIFT, VK_CONTROL, VK_LBUTTON});
    SendMessageW(TrayWindow(), 1024, 0, WM_LBUTTONDOWN);
    HoldKeys({VK_MENU, VK_RBUTTON, VK_MBUTTON});
    SendMessageW(TrayWindow(), 1024, 0, WM_RBUTTONDBLCLK);
    HoldKeys({});
    EXPECT_EQ(Log, (std::vector<std::string>{"Down(0,13," + at + ")", "Down(1,114," + at + ")"}));
}

TEST_F(TrayComponent, OtherMessagesGoToTheDefaultProcedure) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    const HWND window = TrayWindow();
    SetWindowTextW(window, L"asked");
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"asked");
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, 0), DefWindowProcW(window, WM_NCHITTEST, 0, 0));
}

TEST_F(TrayComponent, ReleasesOpenTheirButtonsMenuAtTheCursorAfterTheEvents) {
    TestOwner owner;
    TIconTray& tray = ShownTray(owner);
    LogEvents(tray);
    const auto left = WatchedMenu(&owner, "L");
    const auto right = WatchedMenu(&owner, "R");
    tray.SetLBtnPopupMenu(left.get());
    tray.SetRBtnPopupMenu(right.get());
    const POINT cursor = CursorAt(200, 180);
    const std::string at = At(cursor);

    SendMessageW(TrayWindow(), 1024, 0, WM_LBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"Click", "Up(0,0," + at + ")", "CancelMode", "Popup(L)"}));
    EXPECT_TRUE(Watch.seen) << "a menu window appeared";
    EXPECT_EQ(Watch.rect.left, cursor.x);
    EXPECT_EQ(Watch.rect.top, cursor.y);
    EXPECT_EQ(Watch.foreground, owner.Handle()) << "the owner is in front while its menu is open";
    EXPECT_EQ(ThreadMenuWindow(), nullptr) << "closed again";
    ASSERT_TRUE(winkit::WaitFor([&] { return owner.NullMessages > 0; }, 5s)) << "WM_NULL posted to the owner";

    Log.clear();
    Watch = MenuWatch{};
    SendMessageW(TrayWindow(), 1024, 0, WM_RBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"Up(1,0," + at + ")", "CancelMode", "Popup(R)"}));
    EXPECT_TRUE(Watch.seen);

    Log.clear();
    SendMessageW(TrayWindow(), 1024, 0, WM_MBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"Up(2,0," + at + ")"})) << "the middle button opens nothing";
}

TEST_F(TrayComponent, TheChosenItemReachesTheOwnersWindowAsItsCommand) {
    TestOwner owner;
    TIconTray& tray = ShownTray(owner);
    const auto menu = WatchedMenu(&owner, "R");
    owner.CommandMenu = menu.get();
    tray.SetRBtnPopupMenu(menu.get());
    Watch.chooseSecondItem = true;
    SendMessageW(TrayWindow(), 1024, 0, WM_RBUTTONUP);
    ASSERT_TRUE(winkit::WaitFor([&] { return !owner.Commands.empty(); }, 10s));
    EXPECT_EQ(owner.Commands.front(), menu->Items().Items(1).Command());
    EXPECT_EQ(Log, (std::vector<std::string>{"CancelMode", "Popup(R)", "Chose second"}));
}

TEST_F(TrayComponent, AMenuWithoutAutoPopupIsNotOpenedButTheEventsAreRaised) {
    TestOwner owner;
    TIconTray& tray = ShownTray(owner);
    LogEvents(tray);
    const auto menu = WatchedMenu(&owner, "L");
    menu->SetAutoPopup(false);
    tray.SetLBtnPopupMenu(menu.get());
    tray.SetRBtnPopupMenu(menu.get());
    const std::string at = At(CursorAt(60, 70));
    SendMessageW(TrayWindow(), 1024, 0, WM_LBUTTONUP);
    SendMessageW(TrayWindow(), 1024, 0, WM_RBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"Click", "Up(0,0," + at + ")", "Up(1,0," + at + ")"}));
    EXPECT_FALSE(Watch.seen);
}

TEST_F(TrayComponent, WithoutAMenuAReleaseRaisesOnlyTheEvents) {
    TestOwner owner;
    TIconTray& tray = ShownTray(owner);
    LogEvents(tray);
    const std::string at = At(CursorAt(61, 71));
    SendMessageW(TrayWindow(), 1024, 0, WM_LBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"Click", "Up(0,0," + at + ")"}));
    EXPECT_EQ(owner.NullMessages, 0);
}

// ---- Free notification -----------------------------------------------------------------------------------

TEST_F(TrayComponent, FreeingAMenuSetInBothPropertiesClearsBoth) {
    TIconTray tray(nullptr);
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    tray.SetRBtnPopupMenu(menu.get());
    tray.SetLBtnPopupMenu(menu.get());
    menu.reset();
    EXPECT_EQ(tray.RBtnPopupMenu(), nullptr);
    EXPECT_EQ(tray.LBtnPopupMenu(), nullptr);
}

TEST_F(TrayComponent, FreeingAnOwnedMenuClearsTheReferencesAndAReleaseThenOpensNothing) {
    TestOwner owner;
    TIconTray& tray = ShownTray(owner);
    LogEvents(tray);
    auto* menu = new TPopupMenu(&owner);
    tray.SetRBtnPopupMenu(menu);
    tray.SetLBtnPopupMenu(menu);
    EXPECT_EQ(owner.ComponentCount(), 2u);
    delete menu;
    EXPECT_EQ(owner.ComponentCount(), 1u);
    EXPECT_EQ(tray.RBtnPopupMenu(), nullptr);
    EXPECT_EQ(tray.LBtnPopupMenu(), nullptr);
    SendMessageW(TrayWindow(), 1024, 0, WM_RBUTTONUP);
    EXPECT_EQ(Log.size(), 1u);
}

TEST_F(TrayComponent, FreeingTheTrayFirstLeavesTheMenuWhole) {
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    menu->Items().Add(L"item", L"Item");
    {
        TIconTray tray(nullptr);
        tray.SetRBtnPopupMenu(menu.get());
    }
    EXPECT_EQ(menu->Items().Count(), 1u);
    // The menu serves another tray, which it tells (and only it: the first one is gone) when it goes.
    TIconTray second(nullptr);
    second.SetRBtnPopupMenu(menu.get());
    EXPECT_EQ(second.RBtnPopupMenu(), menu.get());
    menu.reset();
    EXPECT_EQ(second.RBtnPopupMenu(), nullptr);
}

TEST_F(TrayComponent, TheOwnerFreesWhatItOwnsLastMadeFirst) {
    {
        TestOwner owner;
        TIconTray& tray = ShownTray(owner);
        auto* menu = new TPopupMenu(&owner);
        menu->Items().Add(L"item", L"Item");
        tray.SetRBtnPopupMenu(menu);
        tray.SetLBtnPopupMenu(menu);
        // The menu goes first, and the tray, hearing of it, forgets it before it goes itself.
        Calls.clear();
    }
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].message, static_cast<DWORD>(NIM_DELETE));
}

namespace {
class Recorder final : public TComponent {
public:
    Recorder(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), FName(std::move(name)), FLog(log) {}
    ~Recorder() override {
        FLog.push_back(FName);
        Destroying();
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) FLog.push_back(FName + " heard");
    }

private:
    std::string FName;
    std::vector<std::string>& FLog;
};
} // namespace

TEST_F(TrayComponent, OwnedComponentsGoLastMadeFirstAndTheRestHearOfEach) {
    std::vector<std::string> log;
    {
        TestOwner owner;
        new Recorder(&owner, "a", log);
        new Recorder(&owner, "b", log);
        new Recorder(&owner, "c", log);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b heard", "a heard", "b", "a heard", "a"}));
}

// ---- The balloon ----------------------------------------------------------------------------------------

std::vector<NOTIFYICONDATAW> Balloons;
BOOL BalloonAnswer = TRUE;

BOOL WINAPI ObserveBalloon(DWORD message, PNOTIFYICONDATAW data) {
    EXPECT_EQ(message, static_cast<DWORD>(NIM_MODIFY));
    Balloons.emplace_back();
    std::memcpy(&Balloons.back(), data, std::min<std::size_t>(data->cbSize, sizeof(NOTIFYICONDATAW)));
    return BalloonAnswer;
}

TEST_F(TrayComponent, ABalloonModifiesTheShownIconWithTheWideRecordsSecondFormCutToItsRoom) {
    Balloons.clear();
    BalloonAnswer = TRUE;
    const auto previous = SetShellNotifyIconWFunction(ObserveBalloon);
    const ScopeExit restore([&] { SetShellNotifyIconWFunction(previous); });
    TIconTray tray(nullptr);
    EXPECT_FALSE(tray.ShowBalloon(L"t", L"u")) << "no icon shown yet";
    tray.SetIcon(MakeIcon());
    const ShellCall added = Calls.back();
    Calls.clear();
    EXPECT_TRUE(tray.ShowBalloon(L"管理者として実行中のウィンドウ", std::wstring(300, L'x')));
    EXPECT_TRUE(Calls.empty()) << "the narrow record is not sent again";
    ASSERT_EQ(Balloons.size(), 1u);
    EXPECT_EQ(Balloons[0].cbSize, sizeof(void*) == 8 ? 952u : 936u);
    EXPECT_EQ(Balloons[0].hWnd, added.data.hWnd);
    EXPECT_EQ(Balloons[0].uID, added.data.uID);
    EXPECT_EQ(Balloons[0].uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_STREQ(Balloons[0].szInfoTitle, L"管理者として実行中のウィンドウ");
    EXPECT_EQ(std::wstring(Balloons[0].szInfo), std::wstring(255, L'x'));
    EXPECT_TRUE(tray.ShowBalloon(std::wstring(100, L't'), L"u"));
    EXPECT_EQ(std::wstring(Balloons.back().szInfoTitle), std::wstring(63, L't'));

    BalloonAnswer = FALSE;
    EXPECT_FALSE(tray.ShowBalloon(L"t", L"u")) << "the shell refused";
    tray.SetIcon(TIcon());
    Balloons.clear();
    EXPECT_FALSE(tray.ShowBalloon(L"t", L"u"));
    EXPECT_TRUE(Balloons.empty()) << "the icon is gone";
}

// ---- The shell starting again --------------------------------------------------------------------------

TEST_F(TrayComponent, TaskbarCreatedAddsAShownIconAgain) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    tray.SetHintBytes("Trellane");
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    Calls.clear();
    // Broadcast as the shell does: only top-level windows hear it.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
    ASSERT_TRUE(winkit::WaitFor([] { return !Calls.empty(); }, 10s));
    EXPECT_EQ(Calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls[0].data.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(Calls[0].data.hIcon, tray.Icon().Handle());
    EXPECT_EQ(TipOf(Calls[0]), "Trellane");
    // Afterwards the icon is shown as before: a change modifies it.
    tray.SetHintBytes("again");
    EXPECT_EQ(Calls.back().message, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(TrayComponent, TaskbarCreatedAddsNothingWhileNoIconIsShown) {
    TIconTray tray(nullptr);
    tray.SetIcon(MakeIcon());
    const HWND window = TrayWindow();
    tray.SetIcon(TIcon());
    Calls.clear();
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Calls.empty());
}

// ---- The popup menu --------------------------------------------------------------------------------------

TEST(TrayPopupMenu, BuildsItemsSeparatorsAndSubmenusInOrder) {
    TPopupMenu menu(nullptr);
    int clicks = 0;
    menu.Items().Add(L"open", L"Open(&O)", [&](TMenuItem&) { ++clicks; });
    menu.Items().Add(L"N1", L"-");
    TMenuItem& more = menu.Items().Add(L"more", L"More");
    TMenuItem& inner = more.Add(
        L"inner", L"Inner", [&](TMenuItem& sender) { clicks += static_cast<int>(sender.Tag()); }, 40);
    TMenuItem& plain = menu.Items().Add(L"plain", L"Plain");

    const HMENU handle = menu.Handle();
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(GetMenuItemCount(handle), 4);
    wchar_t text[64] = {};
    GetMenuStringW(handle, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Open(&O)");
    EXPECT_EQ(GetMenuItemID(handle, 0), menu.Items().Items(0).Command());
    EXPECT_TRUE(GetMenuState(handle, 1, MF_BYPOSITION) & MF_SEPARATOR);
    const HMENU submenu = GetSubMenu(handle, 2);
    ASSERT_NE(submenu, nullptr);
    GetMenuStringW(submenu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Inner");
    EXPECT_EQ(GetSubMenu(handle, 3), nullptr) << "an item without items is a plain item";
    EXPECT_EQ(GetMenuItemID(handle, 3), plain.Command());

    EXPECT_TRUE(menu.DispatchCommand(menu.Items().Items(0).Command()));
    EXPECT_TRUE(menu.DispatchCommand(inner.Command()));
    EXPECT_TRUE(menu.DispatchCommand(plain.Command())) << "known, with nothing to do";
    EXPECT_FALSE(menu.DispatchCommand(1));
    EXPECT_EQ(clicks, 41);
    EXPECT_EQ(inner.Parent(), &more);
}

TEST(TrayPopupMenu, ItemsAddedLaterAppearInTheNextHandle) {
    TPopupMenu menu(nullptr);
    TMenuItem& display = menu.Items().Add(L"display", L"Display");
    EXPECT_EQ(GetSubMenu(menu.Handle(), 0), nullptr);
    display.Add(L"mode0", L"640 x  480", {}, 0);
    display.Add(L"mode1", L"800 x  600", {}, 1);
    const HMENU submenu = GetSubMenu(menu.Handle(), 0);
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(submenu), 2);
}

TEST(TrayPopupMenu, CommandsAreUniqueAndAboveTheControlIdentifiers) {
    TPopupMenu first(nullptr);
    TPopupMenu second(nullptr);
    const UINT a = first.Items().Add(L"a", L"A").Command();
    const UINT b = second.Items().Add(L"b", L"B").Command();
    EXPECT_NE(a, b);
    EXPECT_GE(a, 0x1000u);
    EXPECT_LT(b, 0x10000u) << "WM_COMMAND carries 16 bits";
}
