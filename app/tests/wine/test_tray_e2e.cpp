// The real program's tray icon and tray menu, used as a user would: real clicks on the icon in the
// notification area of the desktop's taskbar, real keys in the menu, and what the program then does
// to the panel, the display mode, the keyboard and the windows it folded.
#include "program_driver.h"

#include "display_mode.h"
#include "raii.h"
#include "target_windows.h"
#include "tray_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace programtest;
using namespace std::chrono_literals;

namespace {

using targetwindows::kAnswerAgainEvent;
using targetwindows::kNotAnsweringEvent;
using targetwindows::kStopAnswering;

constexpr wchar_t kStayResident[] = L"常駐する(&O)";
constexpr wchar_t kDisplayChangeTitle[] = L"画面解像度の変更";
constexpr wchar_t kKeepModeClass[] = L"TrellaneKeepMode";

// Clicks until the click has had its effect: under load a click can still go astray (to where an
// echo of an earlier pointer position put the cursor), and these clicks are all harmless to repeat.
bool ClickUntil(POINT at, DWORD downFlag, DWORD upFlag, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!winkit::Click(at, downFlag, upFlag)) continue;
        if (winkit::WaitFor(done, 10s)) return true;
    }
    return false;
}

POINT CentreOf(HWND window) {
    const RECT rect = winkit::WindowRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickCentre(HWND control) {
    EXPECT_TRUE(winkit::Click(CentreOf(control), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP));
}

void Press(WORD key) {
    EXPECT_TRUE(winkit::PressKey(key)) << "key " << key;
}

void PressTimes(WORD key, int times) {
    for (int i = 0; i < times; ++i)
        Press(key);
}

// The visible popup-menu windows (class "#32768") of a process.
std::vector<HWND> MenuWindows(DWORD processId) {
    return winkit::ProcessWindows(processId, L"#32768", true);
}

bool WaitMenus(DWORD processId, std::size_t count, std::chrono::milliseconds timeout = 20s) {
    return winkit::WaitFor([&] { return MenuWindows(processId).size() == count; }, timeout);
}

// Every popup-menu window on the desktop with its process and visibility, for failure messages.
std::string MenuReport(DWORD programId) {
    std::string report = "program " + std::to_string(programId) + ", foreground process ";
    DWORD foreground = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &foreground);
    report += std::to_string(foreground);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(0, &gui)) {
        wchar_t name[64] = {};
        if (gui.hwndCapture) GetClassNameW(gui.hwndCapture, name, 64);
        DWORD captureProcess = 0;
        GetWindowThreadProcessId(gui.hwndCapture, &captureProcess);
        report += ", capture " + std::to_string(captureProcess) + " ";
        for (const wchar_t* c = name; *c; ++c)
            report.push_back(static_cast<char>(*c));
        report += ", flags " + std::to_string(gui.flags);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    report += ", cursor " + std::to_string(cursor.x) + "," + std::to_string(cursor.y) + "; menus:";
    for (HWND window = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); window;
         window = FindWindowExW(nullptr, window, L"#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        report += " [" + std::to_string(owner) + (IsWindowVisible(window) ? " visible]" : " hidden]");
    }
    return report;
}

// The taskbar of the desktop's shell, whose right end holds the notification area.
HWND TaskBar() {
    return FindWindowW(L"Shell_TrayWnd", nullptr);
}

// Centres of the notification-area slots, rightmost first: the shell puts icons in square slots of
// the small-icon size plus a border, from the right end of its icon area leftwards. That area is the
// icon toolbar where the shell has one (TrayNotifyWnd), else the right end of the taskbar itself.
std::vector<POINT> IconSlots() {
    std::vector<POINT> slots;
    const HWND bar = TaskBar();
    if (!bar) return slots;
    HWND area = bar;
    if (const HWND notify = FindWindowExW(bar, nullptr, L"TrayNotifyWnd", nullptr)) {
        const HWND icons = FindWindowExW(notify, nullptr, L"ToolbarWindow32", nullptr);
        area = icons ? icons : notify;
    }
    const RECT rect = winkit::WindowRect(area);
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    for (int i = 0; i < 6; ++i)
        slots.push_back(POINT{rect.right - slot / 2 - i * slot, (rect.top + rect.bottom) / 2});
    return slots;
}

struct DisplayMode {
    DWORD width, height, bits, frequency;
    bool operator==(const DisplayMode& other) const {
        return width == other.width && height == other.height && bits == other.bits &&
               frequency == other.frequency;
    }
};

// The mode the screen shows now, or (ENUM_REGISTRY_SETTINGS) the one the next log-on starts with.
DisplayMode CurrentMode(DWORD which = ENUM_CURRENT_SETTINGS) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsW(nullptr, which, &mode);
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency};
}

// Every mode the primary display reports, in the system's order.
std::vector<DEVMODEW> AllModes() {
    std::vector<DEVMODEW> modes;
    for (DWORD index = 0;; ++index) {
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsW(nullptr, index, &mode)) break;
        modes.push_back(mode);
    }
    return modes;
}

// The modes the menu offers, in its order, as the program picks them at start.
std::vector<DEVMODEW> OfferedModes() {
    std::vector<DEVMODEW> listed = AllModes();
    listed.push_back(DEVMODEW{});
    listed.back().dmSize = sizeof(DEVMODEW);
    EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &listed.back());
    std::vector<trellane::DisplayModeFacts> facts;
    for (const DEVMODEW& mode : listed)
        facts.push_back({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency});
    std::vector<DEVMODEW> offered;
    for (const std::size_t index : trellane::OfferedDisplayModes(facts, facts.back()))
        offered.push_back(listed[index]);
    return offered;
}

std::wstring CaptionOf(const DEVMODEW& mode) {
    return trellane::DisplayModeCaption(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                                        mode.dmDisplayFrequency);
}

std::wstring TitleOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// ---- Keys as the low-level keyboard hook of this test sees them -------------------------------------------

struct KeyEvent {
    DWORD key;
    bool up;
    bool operator==(const KeyEvent& other) const { return key == other.key && up == other.up; }
};

std::vector<KeyEvent> KeyLog;

void CALLBACK NoteAnswer(HWND, UINT, ULONG_PTR answered, LRESULT) noexcept {
    *reinterpret_cast<bool*>(answered) = true;
}

// The window's thread has handled a message sent now, and this thread has taken everything that came
// before the answer: the program's command in progress has ended, and every key it sent has reached
// this thread's keyboard hook (the hook is called on this thread, so it must not wait blocked).
bool AnsweredWhilePumping(HWND window) {
    bool answered = false;
    return SendMessageCallbackW(window, WM_NULL, 0, 0, NoteAnswer, reinterpret_cast<ULONG_PTR>(&answered)) &&
           winkit::WaitFor([&] { return answered; }, 30s);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        KeyLog.push_back(KeyEvent{key->vkCode, (key->flags & LLKHF_UP) != 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PrintTo(const KeyEvent& event, std::ostream* out) {
    *out << "0x" << std::hex << event.key << (event.up ? " up" : " down");
}

// ---- The program in the tray ----------------------------------------------------------------------------

class TrayProgram : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = CurrentMode();
        form_ = program_.WaitPanel();
        ASSERT_NE(form_, nullptr);
        ASSERT_NE(TaskBar(), nullptr) << "the desktop shows no taskbar with a notification area";
    }

    void TearDown() override {
        CloseMenus();
        if (!(CurrentMode() == original_)) RestoreMode();
    }

    // Opens the tray menu with a real click of that button on the program's icon. The icon is found
    // by trying the notification-area slots from the right; the one that opened the menu is kept.
    bool OpenTrayMenu(DWORD downFlag, DWORD upFlag) {
        const std::vector<POINT> slots = IconSlots();
        if (slots.empty()) return false;
        std::vector<POINT> order;
        if (found_) order.push_back(*found_);
        for (const POINT& slot : slots)
            order.push_back(slot);
        for (const POINT& slot : order) {
            // A click that went astray is tried once more before the next slot.
            for (int attempt = 0; attempt < 2; ++attempt) {
                if (!MenuWindows(program_.Id()).empty()) return true;
                if (!winkit::Click(slot, downFlag, upFlag)) continue;
                if (WaitMenus(program_.Id(), 1, 15s)) {
                    found_ = slot;
                    return winkit::WaitFor([&] { return MenuHasKeyboard(); }, 15s);
                }
            }
        }
        return false;
    }

    // Keys go to the foreground thread: they reach the menu once that thread is the program's and in
    // menu mode.
    bool MenuHasKeyboard() const {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        DWORD owner = 0;
        return GetGUIThreadInfo(0, &gui) && (gui.flags & GUI_INMENUMODE) != 0 &&
               GetWindowThreadProcessId(gui.hwndMenuOwner, &owner) != 0 && owner == program_.Id();
    }

    // Opens the tray menu with the left button and the submenu of the item reached with that many
    // presses of the down key.
    bool OpenTraySubmenu(int downs) {
        if (!OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP)) return false;
        PressTimes(VK_DOWN, downs);
        Press(VK_RIGHT);
        return WaitMenus(program_.Id(), 2);
    }

    // Chooses 除外するウィンドウを選ぶ, the item after おまけ, and waits until the program has begun
    // the pick.
    bool BeginPick() {
        if (!OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP)) return false;
        PressTimes(VK_DOWN, 5);
        Press(VK_RETURN);
        return WaitMenus(program_.Id(), 0) && program_.Settle();
    }

    void CloseMenus() {
        for (int i = 0; i < 4 && !MenuWindows(program_.Id()).empty(); ++i) {
            Press(VK_ESCAPE);
            WaitMenus(program_.Id(), 0, 5s);
        }
    }

    // Opens the display-mode submenu through its access key and chooses the item reached with the
    // given keys from the first one.
    HWND ChooseDisplayMode(WORD key, int presses) {
        if (!OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP)) return nullptr;
        Press('G');
        if (!WaitMenus(program_.Id(), 2)) return nullptr;
        PressTimes(key, presses);
        Press(VK_RETURN);
        return program_.WaitDialog(30s);
    }

    // Answers a yes/no box with the access key of the button (Y or N in every language), or, should
    // the key not reach it, with a click on the button.
    void Answer(HWND box, int button) {
        const auto closed = [&] { return !IsWindow(box) || !IsWindowVisible(box); };
        Press(button == IDYES ? 'Y' : 'N');
        if (winkit::WaitFor(closed, 10s)) return;
        const HWND control = GetDlgItem(box, button);
        ASSERT_NE(control, nullptr);
        ClickCentre(control);
        ASSERT_TRUE(winkit::WaitFor(closed, 30s));
    }

    // Chooses a mode of another width and answers the first question Yes: the screen changes and
    // the keep-or-go-back question appears.
    DisplayMode SwitchToAnotherSize() {
        const std::vector<DEVMODEW> modes = OfferedModes();
        const auto other = std::find_if(modes.begin(), modes.end(), [&](const DEVMODEW& mode) {
            return mode.dmPelsWidth != original_.width && mode.dmPelsWidth >= 640;
        });
        EXPECT_NE(other, modes.end()) << "no other mode to switch to";
        if (other == modes.end()) return original_;
        const DisplayMode wanted{other->dmPelsWidth, other->dmPelsHeight, other->dmBitsPerPel,
                                 other->dmDisplayFrequency};
        const HWND box = ChooseDisplayMode(VK_DOWN, static_cast<int>(other - modes.begin()));
        EXPECT_NE(box, nullptr);
        if (box) Answer(box, IDYES);
        answered_ = std::chrono::steady_clock::now();
        EXPECT_TRUE(winkit::WaitFor([&] { return CurrentMode() == wanted; }, 10s));
        EXPECT_NE(winkit::WaitProcessWindow(program_.Id(), kKeepModeClass, 10s), nullptr);
        return wanted;
    }

    void RestoreMode() {
        for (const DEVMODEW& mode : AllModes()) {
            const DisplayMode candidate{mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                                        mode.dmDisplayFrequency};
            if (!(candidate == original_)) continue;
            DEVMODEW copy = mode;
            ChangeDisplaySettingsW(&copy, CDS_UPDATEREGISTRY);
            winkit::WaitFor([&] { return CurrentMode() == original_; }, 30s);
            return;
        }
    }

    DistCopy copy_;
    Program program_{copy_};
    HWND form_ = nullptr;
    DisplayMode original_{};
    std::optional<POINT> found_;
    std::chrono::steady_clock::time_point answered_;
};

} // namespace

TEST_F(TrayProgram, TheIconIsInTheNotificationAreaAndBothButtonsOpenTheMenu) {
    ASSERT_TRUE(OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP))
        << "no icon of the program opened a menu; " << MenuReport(program_.Id());
    CloseMenus();
    ASSERT_TRUE(WaitMenus(program_.Id(), 0));
    // Over the icon the system moves the menu into the work area, which excludes the taskbar or not
    // depending on when the shell reserved it. The program's part is the point it asks for: the cursor
    // at the shell's callback. Called back with the cursor away from every edge, the menu opens there.
    const auto trayWindows = winkit::ProcessWindows(program_.Id(), L"TIconTrayWindow");
    ASSERT_EQ(trayWindows.size(), 1u);
    const POINT at{300, 200};
    ASSERT_TRUE(winkit::xserver::MoveTo(at));
    PostMessageW(trayWindows[0], trellane::kTrayCallbackMessage, 0, WM_LBUTTONUP);
    ASSERT_TRUE(WaitMenus(program_.Id(), 1)) << MenuReport(program_.Id());
    const RECT menu = winkit::WindowRect(MenuWindows(program_.Id()).front());
    EXPECT_EQ(menu.left, at.x);
    EXPECT_EQ(menu.top, at.y);
    ASSERT_TRUE(winkit::WaitFor([&] { return MenuHasKeyboard(); }, 15s));
    CloseMenus();
    ASSERT_TRUE(WaitMenus(program_.Id(), 0));

    ASSERT_TRUE(OpenTrayMenu(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    CloseMenus();
    EXPECT_TRUE(WaitMenus(program_.Id(), 0));
    EXPECT_TRUE(IsWindowVisible(form_)) << "the menu leaves the panel as it was";
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, ARightClickOnTheLogoOpensTheSameMenu) {
    HWND logo = nullptr;
    for (HWND child = FindWindowExW(form_, nullptr, L"Static", nullptr); child;
         child = FindWindowExW(form_, child, L"Static", nullptr))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) logo = child;
    ASSERT_NE(logo, nullptr);
    const POINT at = CentreOf(logo);
    ASSERT_TRUE(ClickUntil(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, [&] {
        return MenuWindows(program_.Id()).size() == 1;
    })) << MenuReport(program_.Id());
    const RECT menu = winkit::WindowRect(MenuWindows(program_.Id()).front());
    EXPECT_EQ(menu.left, at.x);
    EXPECT_EQ(menu.top, at.y);
    // The access key of the first item shows the panel, as from the tray.
    ASSERT_TRUE(winkit::WaitFor([&] { return MenuHasKeyboard(); }, 15s));
    Press('S');
    EXPECT_TRUE(WaitMenus(program_.Id(), 0));
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, OpeningThePanelFromTheTrayShowsItOpaqueAfterTheScrollBarPreview) {
    const HWND scrollBar = FindWindowExW(form_, nullptr, L"ScrollBar", nullptr);
    ASSERT_NE(scrollBar, nullptr);
    // Its left arrow: one step less opaque.
    const RECT bar = winkit::WindowRect(scrollBar);
    ASSERT_TRUE(ClickUntil(POINT{bar.left + GetSystemMetrics(SM_CXHSCROLL) / 2, (bar.top + bar.bottom) / 2},
                           MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                           [&] { return winkit::IsLayered(form_); }))
        << "the scroll bar makes the panel translucent";

    ASSERT_TRUE(ClickUntil(CentreOf(program_.Control(L"Button", kStayResident)), MOUSEEVENTF_LEFTDOWN,
                           MOUSEEVENTF_LEFTUP, [&] { return program_.FindDialog() != nullptr; }));
    const HWND notice = program_.WaitDialog(30s);
    ASSERT_NE(notice, nullptr);
    // Keys go to the foreground window: the notice must have become it first.
    ASSERT_TRUE(winkit::WaitFor([&] { return GetForegroundWindow() == notice; }, 30s));
    Press(VK_RETURN); // OK
    ASSERT_TRUE(winkit::WaitFor([&] { return !IsWindowVisible(form_); }, 30s));
    EXPECT_NE(GetWindowLongW(form_, GWL_EXSTYLE) & WS_EX_LAYERED, 0) << "still translucent while hidden";

    ASSERT_TRUE(OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP)) << MenuReport(program_.Id());
    Press('S'); // Trellaneのパネルを開く(&S)
    ASSERT_TRUE(winkit::WaitFor([&] { return IsWindowVisible(form_) != FALSE; }, 30s));
    ASSERT_TRUE(program_.Settle());
    EXPECT_EQ(GetWindowLongW(form_, GWL_EXSTYLE) & WS_EX_LAYERED, 0) << "shown opaque";
    EXPECT_EQ(GetForegroundWindow(), form_);
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, TheDisplayModeListOffersThePresentModeAndNoKeepsTheMode) {
    const std::vector<DEVMODEW> modes = OfferedModes();
    ASSERT_FALSE(modes.empty());
    ASSERT_LE(modes.size(), 41u);

    // The first item, reached by the access key of 画面解像度の変更(&G).
    HWND box = ChooseDisplayMode(VK_DOWN, 0);
    ASSERT_NE(box, nullptr) << MenuReport(program_.Id());
    EXPECT_EQ(DialogText(box), trellane::DisplayModeQuestion(CaptionOf(modes[0])));
    EXPECT_EQ(TitleOf(box), kDisplayChangeTitle);
    EXPECT_EQ(GetWindow(box, GW_OWNER), form_) << "owned by the main form";
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    Answer(box, IDNO);
    ASSERT_TRUE(program_.Settle());
    EXPECT_EQ(CurrentMode(), original_) << "No keeps the mode";

    // The last item, one step up from the first.
    box = ChooseDisplayMode(VK_UP, 1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), trellane::DisplayModeQuestion(CaptionOf(modes.back())));
    Answer(box, IDNO);

    // The present mode, counted down from the first.
    const auto present = std::find_if(modes.begin(), modes.end(), [&](const DEVMODEW& mode) {
        return DisplayMode{mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel, mode.dmDisplayFrequency} ==
               original_;
    });
    ASSERT_NE(present, modes.end()) << "the present mode is offered";
    box = ChooseDisplayMode(VK_DOWN, static_cast<int>(present - modes.begin()));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), trellane::DisplayModeQuestion(CaptionOf(*present)));
    Answer(box, IDNO);
    ASSERT_TRUE(program_.Settle());
    EXPECT_EQ(CurrentMode(), original_);
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, YesSwitchesForNowAndYesToTheSecondQuestionKeepsTheMode) {
    const DisplayMode wanted = SwitchToAnotherSize();
    const HWND keep = winkit::FindProcessWindow(program_.Id(), kKeepModeClass);
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(winkit::WaitFor([&] { return GetForegroundWindow() == keep; }, 30s)) << "in front";
    EXPECT_EQ(CurrentMode(ENUM_REGISTRY_SETTINGS), original_) << "not kept yet";
    Answer(keep, IDYES);
    ASSERT_TRUE(program_.Settle());
    EXPECT_EQ(CurrentMode(), wanted);
    EXPECT_EQ(CurrentMode(ENUM_REGISTRY_SETTINGS), wanted) << "kept for the next log-on";
    RestoreMode();
    EXPECT_EQ(CurrentMode(), original_);
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, AChangeLeftUnansweredComesBackByItselfWithin17Seconds) {
    SwitchToAnotherSize();
    const HWND keep = winkit::FindProcessWindow(program_.Id(), kKeepModeClass);
    ASSERT_NE(keep, nullptr);
    const HWND countdown =
        FindWindowExW(keep, FindWindowExW(keep, nullptr, L"Static", nullptr), L"Static", nullptr);
    const std::wstring first = ControlText(countdown);
    EXPECT_TRUE(first == trellane::KeepModeCountdown(15) || first == trellane::KeepModeCountdown(14))
        << "shown";
    EXPECT_TRUE(winkit::WaitFor([&] { return ControlText(countdown) != first; }, 5s)) << "counts down";
    EXPECT_TRUE(winkit::WaitFor([&] { return CurrentMode() == original_ && !IsWindow(keep); },
                                std::chrono::duration_cast<std::chrono::milliseconds>(
                                    answered_ + 17s - std::chrono::steady_clock::now())));
    EXPECT_EQ(CurrentMode(ENUM_REGISTRY_SETTINGS), original_);
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, TheWindowsKeyItemsSendExactlyThreeKeyEventsEach) {
    const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(hook, nullptr);
    const struct {
        const char* item;
        std::vector<std::pair<WORD, int>> keys; // from the closed menu to the item
        WORD letter;
    } items[] = {
        // 折りたたみ > 全てのウィンドウを最小化
        {"mnuMinimize", {{VK_DOWN, 2}, {VK_RIGHT, 1}, {VK_DOWN, 2}}, 'M'},
        // おまけ > デスクトップ画面の表示
        {"mnuAllMinimize", {{VK_DOWN, 4}, {VK_RIGHT, 1}}, 'D'},
        // おまけ > エクスプローラー
        {"mnuExp", {{VK_DOWN, 4}, {VK_RIGHT, 1}, {VK_DOWN, 3}}, 'E'},
    };
    for (const auto& item : items) {
        ASSERT_TRUE(OpenTrayMenu(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP)) << item.item;
        for (const auto& [key, times] : item.keys)
            PressTimes(key, times);
        ASSERT_TRUE(WaitMenus(program_.Id(), 2)) << item.item << ": the submenu is open";
        KeyLog.clear();
        Press(VK_RETURN);
        const bool ended = winkit::WaitFor(
                               [&] {
                                   return std::any_of(KeyLog.begin(), KeyLog.end(), [](const KeyEvent& e) {
                                       return e.key == VK_LWIN && e.up;
                                   });
                               },
                               30s) &&
                           AnsweredWhilePumping(form_);
        std::vector<KeyEvent> sent;
        for (const KeyEvent& event : KeyLog)
            if (event.key != VK_RETURN) sent.push_back(event);
        EXPECT_TRUE(ended) << item.item;
        EXPECT_EQ(sent, (std::vector<KeyEvent>{{VK_LWIN, false}, {item.letter, false}, {VK_LWIN, true}}))
            << item.item;
        // The program never releases the letter; this test does, so no key stays down for later tests.
        winkit::KeyUp(item.letter);
        CloseMenus();
        ASSERT_TRUE(program_.Settle());
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(program_.Quit(), 0u);
}

namespace {

// Heights the test windows had when each was asked to close; they stay open to be measured.
std::vector<std::pair<HWND, int>> CloseRequests;

int HeightOf(HWND window) {
    const RECT rect = winkit::WindowRect(window);
    return rect.bottom - rect.top;
}

LRESULT CALLBACK VictimWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_CLOSE) {
        CloseRequests.emplace_back(window, HeightOf(window));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Folds the window with a right click on its caption: to caption and frame, or to the smallest height
// the system lets a window have. A second click would unfold it, so there is one click and time for
// it to work.
bool FoldWithRightClick(HWND window) {
    const int folded = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int smallest = std::max(folded, GetSystemMetrics(SM_CYMINTRACK));
    // Clicks reach it once it is on the screen, above whatever stood there; a window just shown may
    // still miss the first.
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &answer) &&
           winkit::WaitFor([&] { return WindowFromPoint(winkit::CaptionPoint(window)) == window; }, 30s) &&
           ClickUntil(winkit::CaptionPoint(window), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP,
                      [&] { return HeightOf(window) <= smallest; });
}

// A top-level window of this test that the program may fold.
class Victim {
public:
    Victim(int left, int top) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = VictimWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = L"TrayTestVictim";
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, L"TrayTestVictim", L"victim", WS_OVERLAPPEDWINDOW | WS_VISIBLE, left,
                                  top, 240, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        // Clicks reach it once it is on the screen, above whatever stood there.
        winkit::WaitFor([&] { return WindowFromPoint(winkit::CaptionPoint(window_)) == window_; }, 30s);
        height_ = HeightOf(window_);
    }
    ~Victim() { DestroyWindow(window_); }
    Victim(const Victim&) = delete;
    Victim& operator=(const Victim&) = delete;

    HWND Handle() const { return window_; }
    int Height() const { return height_; }
    bool IsUnfolded() const { return HeightOf(window_) == height_; }

    bool Fold() const { return FoldWithRightClick(window_); }

private:
    HWND window_ = nullptr;
    int height_ = 0;
};

} // namespace

TEST_F(TrayProgram, TheCloseItemUnfoldsEveryFoldedWindowAndQuits) {
    const Victim first(20, 20);
    const Victim second(20, 380);
    ASSERT_TRUE(first.Fold()) << "height " << HeightOf(first.Handle());
    ASSERT_TRUE(second.Fold()) << "height " << HeightOf(second.Handle());

    ASSERT_TRUE(OpenTrayMenu(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    Press('C'); // 閉じる(&C)
    EXPECT_EQ(program_.WaitExit(60s), 0u) << "the program quits";
    EXPECT_TRUE(winkit::WaitFor([&] { return first.IsUnfolded() && second.IsUnfolded(); }, 30s))
        << "heights " << HeightOf(first.Handle()) << ", " << HeightOf(second.Handle());
}

TEST_F(TrayProgram, TheFoldingItemsRestoreEveryFoldedWindowOrRestoreAndCloseThem) {
    CloseRequests.clear();
    const Victim first(20, 20);
    const Victim second(20, 380);
    ASSERT_TRUE(first.Fold());
    ASSERT_TRUE(second.Fold());

    // 折りたたみ > 折りたたんだウィンドウを全て戻す(&O)
    ASSERT_TRUE(OpenTraySubmenu(2)) << MenuReport(program_.Id());
    Press('O');
    EXPECT_TRUE(winkit::WaitFor([&] { return first.IsUnfolded() && second.IsUnfolded(); }, 30s));
    ASSERT_TRUE(program_.Settle());
    winkit::PumpQueued();
    EXPECT_TRUE(CloseRequests.empty());

    // Folded again: 折りたたみ > 折りたたんだウィンドウを終了させる(&C) restores each, then asks it to close.
    ASSERT_TRUE(first.Fold());
    ASSERT_TRUE(second.Fold());
    ASSERT_TRUE(OpenTraySubmenu(2)) << MenuReport(program_.Id());
    Press('C');
    ASSERT_TRUE(winkit::WaitFor([&] { return CloseRequests.size() >= 2; }, 30s));
    // The command has ended once the program answers; every close request it posted is queued here.
    ASSERT_TRUE(program_.Settle());
    winkit::PumpQueued();
    EXPECT_EQ(CloseRequests, (std::vector<std::pair<HWND, int>>{{first.Handle(), first.Height()},
                                                                {second.Handle(), second.Height()}}))
        << "one close request each, in folding order, once the window had its height back";
    EXPECT_EQ(program_.WaitExit(0ms), static_cast<DWORD>(STILL_ACTIVE)) << "the program itself runs on";
    EXPECT_EQ(program_.Quit(), 0u);
}

// Both items act on every folded window without waiting for any program: one that does not answer
// gets its height back, and its close request, once it answers again.
TEST_F(TrayProgram, TheFoldingItemsNeverWaitForAProgramThatDoesNotAnswer) {
    const trellane::UniqueHandle notAnswering(CreateEventW(nullptr, TRUE, FALSE, kNotAnsweringEvent));
    const trellane::UniqueHandle answerAgain(CreateEventW(nullptr, TRUE, FALSE, kAnswerAgainEvent));
    ASSERT_TRUE(notAnswering && answerAgain);
    winkit::ChildProcess stuckProgram;
    winkit::ChildProcess answeringProgram;
    const HWND stuck = StartTargetWindows(stuckProgram, {L"Stuck:resizable:20:20:300:300"}).front();
    const HWND answering =
        StartTargetWindows(answeringProgram, {L"Answering:resizable:20:380:300:300"}).front();
    ASSERT_TRUE(stuck && answering);
    const auto foldBothAndStopOne = [&] {
        ASSERT_TRUE(FoldWithRightClick(stuck)) << HeightOf(stuck);
        ASSERT_TRUE(FoldWithRightClick(answering)) << HeightOf(answering);
        ResetEvent(notAnswering.get());
        ResetEvent(answerAgain.get());
        ASSERT_TRUE(PostMessageW(stuck, kStopAnswering, 0, 0));
        ASSERT_EQ(WaitForSingleObject(notAnswering.get(), 20000), WAIT_OBJECT_0);
    };

    // 折りたたみ > 折りたたんだウィンドウを全て戻す(&O)
    ASSERT_NO_FATAL_FAILURE(foldBothAndStopOne());
    ASSERT_TRUE(OpenTraySubmenu(2)) << MenuReport(program_.Id());
    Press('O');
    EXPECT_TRUE(winkit::WaitFor([&] { return HeightOf(answering) == 300; }, 30s)) << HeightOf(answering);
    EXPECT_TRUE(program_.Settle()) << "the program waits for the one that does not answer";
    SetEvent(answerAgain.get());
    EXPECT_TRUE(winkit::WaitFor([&] { return HeightOf(stuck) == 300; }, 30s)) << HeightOf(stuck);

    // 折りたたみ > 折りたたんだウィンドウを終了させる(&C)
    ASSERT_NO_FATAL_FAILURE(foldBothAndStopOne());
    ASSERT_TRUE(OpenTraySubmenu(2)) << MenuReport(program_.Id());
    Press('C');
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsWindow(answering); }, 30s)) << "not closed";
    EXPECT_TRUE(program_.Settle()) << "the program waits for the one that does not answer";
    SetEvent(answerAgain.get());
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsWindow(stuck); }, 30s)) << "not closed once it answers";
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, TheProgramItemsStartNotepadAndAMissingCalculatorChangesNothingAndOneBesideItStarts) {
    // おまけ > 電卓: where there is no calculator nothing is shown and the program runs on.
    const bool haveCalculator =
        GetFileAttributesW(L"C:\\windows\\system32\\calc.exe") != INVALID_FILE_ATTRIBUTES;
    ASSERT_TRUE(OpenTraySubmenu(4));
    PressTimes(VK_DOWN, 2);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitMenus(program_.Id(), 0));

    // おまけ > メモ帳: the program handles its menu commands in order, so once Notepad is there, the
    // calculator's command has been handled.
    ASSERT_TRUE(OpenTraySubmenu(4));
    Press(VK_DOWN);
    Press(VK_RETURN);
    HWND notepad = nullptr;
    ASSERT_TRUE(
        winkit::WaitFor([&] { return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr; }, 60s));
    ASSERT_TRUE(program_.Settle());
    if (!haveCalculator) {
        EXPECT_EQ(program_.FindDialog(), nullptr);
    }
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(winkit::WaitFor([&] { return !IsWindow(notepad); }, 30s));

    // A calculator in the program's own folder is the one started: it is looked for there first.
    ASSERT_TRUE(CopyFileW(winkit::BuildPath(L"app\\tests\\wine\\calc_standin.exe").c_str(),
                          (copy_.Folder() + L"\\calc.exe").c_str(), FALSE));
    ASSERT_TRUE(OpenTraySubmenu(4));
    PressTimes(VK_DOWN, 2);
    Press(VK_RETURN);
    const std::wstring started = copy_.Folder() + L"\\calc-started.txt";
    EXPECT_TRUE(
        winkit::WaitFor([&] { return GetFileAttributesW(started.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30s))
        << "the calculator beside the program was not started";
    EXPECT_EQ(program_.Quit(), 0u);
}

TEST_F(TrayProgram, APickedWindowsProgramIsAddedToTheListAndItsNextDragIsNotSnapped) {
    // Lines ending in LF, the last one without its end; the right-button commands off.
    ASSERT_TRUE(winkit::WriteFileBytes(copy_.ExclusionList(), "Existing\nLast"));
    ClickControl(program_.Control(L"Button", L"右クリック機能（折りたたみなど）を使う"));
    ASSERT_TRUE(
        winkit::WaitFor([&] { return !program_.IsChecked(L"右クリック機能（折りたたみなど）を使う"); }, 20s));
    winkit::ChildProcess targets;
    // Beside the panel, where the clicks reach it.
    const HWND window = StartTargetWindows(targets, {L"PickMe:resizable:20:420:300:200"})[0];
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        winkit::WaitFor([&] { return WindowFromPoint(winkit::CaptionPoint(window)) == window; }, 30s));

    ASSERT_TRUE(BeginPick());
    ASSERT_TRUE(winkit::Click(winkit::CaptionPoint(window), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    const HWND dialog = program_.WaitDialog(30s);
    ASSERT_NE(dialog, nullptr) << "no question after the pick";
    EXPECT_NE(DialogText(dialog).find(L"target_windows.exe"), std::wstring::npos) << DialogText(dialog);
    EXPECT_NE(DialogText(dialog).find(L"PickMe"), std::wstring::npos) << DialogText(dialog);
    ASSERT_TRUE(PressDialogButton(dialog, L"プログラムを除外"));
    EXPECT_TRUE(winkit::WaitFor(
        [&] {
            return winkit::ReadFileBytes(copy_.ExclusionList()) == "Existing\nLast\ntarget_windows.exe\n";
        },
        20s))
        << winkit::ReadFileBytes(copy_.ExclusionList()).value_or("(none)");

    // Dragged by its caption: the window stays where the move loop left it.
    const RECT before = winkit::WindowRect(window);
    const POINT from = winkit::CaptionPoint(window);
    ASSERT_TRUE(winkit::xserver::MoveTo(from));
    {
        winkit::xserver::Held button(1);
        ASSERT_TRUE(button.Down());
        for (int i = 1; i <= 4; ++i)
            ASSERT_TRUE(winkit::xserver::MoveTo(POINT{from.x + 37 * i / 4, from.y + 21 * i / 4}));
        // Translucent while it moves, opaque once the program has ended the drag.
        ASSERT_TRUE(winkit::WaitFor([&] { return winkit::IsLayered(window); }, 20s));
    }
    ASSERT_TRUE(winkit::WaitFor([&] { return !winkit::IsLayered(window); }, 20s));
    ASSERT_TRUE(GestureSettled(program_, window));
    const RECT after = winkit::WindowRect(window);
    EXPECT_EQ(after.top, before.top + 21);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << "snapped after all";
    EXPECT_EQ(after.left, before.left + 37) << "snapped after all";
}

TEST_F(TrayProgram, EscapeEndsAPickAndAReadOnlyListIsLeftAsItWas) {
    const std::string list = "\xEF\xBB\xBF"
                             "Existing\r\n";
    ASSERT_TRUE(winkit::WriteFileBytes(copy_.ExclusionList(), list));
    const Victim victim(60, 60);

    // After Escape a right click folds again, instead of picking.
    ASSERT_TRUE(BeginPick());
    Press(VK_ESCAPE);
    ASSERT_TRUE(victim.Fold()) << "the right click was still taken for a pick";
    const int folded = HeightOf(victim.Handle());

    ASSERT_TRUE(SetFileAttributesW(copy_.ExclusionList().c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(BeginPick());
    ASSERT_TRUE(
        winkit::Click(winkit::CaptionPoint(victim.Handle()), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    const HWND dialog = program_.WaitDialog(30s);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PressDialogButton(dialog, L"クラスを除外"));
    ASSERT_TRUE(winkit::WaitFor([&] { return !IsWindow(dialog); }, 20s));
    const HWND message = program_.WaitDialog(30s);
    ASSERT_NE(message, nullptr) << "the failed write was not reported";
    EXPECT_NE(DialogText(message).find(L"書き込めません"), std::wstring::npos) << DialogText(message);
    PostMessageW(message, WM_CLOSE, 0, 0);
    SetFileAttributesW(copy_.ExclusionList().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(winkit::ReadFileBytes(copy_.ExclusionList()), list);
    EXPECT_EQ(HeightOf(victim.Handle()), folded) << "a pick does not unfold";
}
