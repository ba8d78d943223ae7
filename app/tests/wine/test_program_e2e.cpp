// The real program, started from a private copy of its folder: what the user sees of the panel,
// the resident notice, the settings file and the startup shortcut.
#include "hook_shared.h"
#include "private_messages.h"
#include "program_driver.h"
#include "raii.h"

#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace programtest;
using namespace std::chrono_literals;

namespace {

constexpr wchar_t kGraphicLine[] = L"グリッド線をデスクトップに描画する";
constexpr wchar_t kUseGrid[] = L"ウィンドウをグリッドに合わせる";
constexpr wchar_t kMoveToumei[] = L"ウィンドウ移動時は半透明にする(グリッド線なしの時)";
constexpr wchar_t kOritatami[] = L"右クリック機能（折りたたみなど）を使う";
constexpr wchar_t kAutoHide[] = L"起動時に自動的に常駐する(起動時にパネルを非表示)";
constexpr wchar_t kStartup[] = L"Windowsの起動時に自動的に常駐する";
constexpr wchar_t kStayResident[] = L"常駐する(&O)";
constexpr wchar_t kCredit[] = L"© Trellane 開発チーム";
constexpr wchar_t kPanelFont[] = L"ＭＳ Ｐゴシック";
constexpr wchar_t kQuit[] = L"完全に終了(&C)";
constexpr wchar_t kHelp[] = L"ヘルプ(&H)";
constexpr wchar_t kNotice[] =
    L"今からTrellaneは、タスクトレイに常駐します。\r\n終了するときはトレイの[G]のアイコンをクリックしてください。";

bool WaitVisible(HWND window, bool visible, std::chrono::milliseconds timeout = 30s) {
    return winkit::WaitFor([&] { return (IsWindowVisible(window) != FALSE) == visible; }, timeout);
}

// The value lines of the settings file in the order they stand.
std::vector<std::string> IniLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        if (end > start) lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::wstring LinkTarget(const std::wstring& linkFile) {
    return winkit::ShortcutTarget(linkFile, 0);
}

bool WriteLink(const std::wstring& linkFile, const std::wstring& target) {
    trellane::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return false;
    link->SetPath(target.c_str());
    trellane::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
    return SUCCEEDED(file->Save(linkFile.c_str(), TRUE));
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Windows paths compare without regard to letter case.
bool SamePath(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteFileW(StartupLink().c_str());
        RemoveDirectoryW(StartupLink().c_str());
    }
    static std::wstring StartupLink() { return StartupFolder() + L"\\trellane.lnk"; }

    trellane::ComApartment com_;
};

} // namespace

TEST_F(ProgramTest, FirstStartShowsThePanelWithGridPaintingOffAndQuittingWritesTheDefaults) {
    DistCopy copy;
    Program program(copy);
    ASSERT_TRUE(program.Started());
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);

    wchar_t caption[64] = {};
    GetWindowTextW(form, caption, 64);
    EXPECT_STREQ(caption, L"Trellane");
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 475);
    EXPECT_EQ(client.bottom, 394);
    EXPECT_EQ(GetWindowLongW(form, GWL_STYLE) & WS_THICKFRAME, 0) << "the panel has a fixed size";

    EXPECT_FALSE(program.IsChecked(kGraphicLine)) << "no settings file: grid painting starts off";
    EXPECT_TRUE(program.IsChecked(kUseGrid));
    EXPECT_TRUE(program.IsChecked(kMoveToumei));
    EXPECT_TRUE(program.IsChecked(kOritatami));
    EXPECT_FALSE(program.IsChecked(kAutoHide));
    EXPECT_FALSE(program.IsChecked(kStartup));
    EXPECT_EQ(program.Text(program.Control(L"Edit", nullptr)), L"32");
    // Tab walks the panel in its designed order, from the stay-resident button round to it again.
    const HWND tabOrder[] = {
        program.Control(L"Button", kStayResident), program.Control(L"Button", kGraphicLine),
        program.Control(L"Edit", nullptr),         program.Control(L"Button", kUseGrid),
        program.Control(L"ComboBox", nullptr),     program.Control(L"ScrollBar", nullptr),
        program.Control(L"Button", kAutoHide),     program.Control(L"Button", kStartup),
        program.Control(L"Button", kMoveToumei),   program.Control(L"Button", kOritatami),
        program.Control(L"Button", kQuit),         program.Control(L"Button", kHelp)};
    for (size_t i = 0; i < std::size(tabOrder); ++i) {
        ASSERT_NE(tabOrder[i], nullptr) << "control " << i;
        EXPECT_EQ(GetNextDlgTabItem(form, tabOrder[i], FALSE), tabOrder[(i + 1) % std::size(tabOrder)])
            << "after control " << i;
    }
    // Kept for the documentation, so anyone can see how the panel and its Japanese text render.
    CreateDirectoryW(winkit::BuildPath(L"screenshots").c_str(), nullptr);
    EXPECT_TRUE(WaitForSteadyImage(form, 20s));
    EXPECT_TRUE(SaveWindowImage(form, winkit::BuildPath(L"screenshots\\panel.bmp")));

    EXPECT_EQ(program.Quit(), 0u);
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value()) << "the settings file is created at shutdown";
    EXPECT_EQ(IniLines(*ini), IniLines(SettingsText()));
}

TEST_F(ProgramTest, StayResidentShowsTheNoticeOnceAndHidesThePanel) {
    DistCopy copy;
    Program program(copy);
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);

    ClickControl(program.Control(L"Button", kStayResident));
    const HWND notice = program.WaitDialog(30s);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(DialogText(notice), kNotice);
    // The caption is the executable's name as the file system spells it, up to its first dot.
    EXPECT_EQ(ControlText(notice), L"trellane");
    ASSERT_TRUE(PressDialogButton(notice, L"OK"));
    EXPECT_TRUE(WaitVisible(form, false));

    // Shown again (as the tray menu does), the panel hides without a second notice.
    ShowWindow(form, SW_SHOW);
    ASSERT_TRUE(WaitVisible(form, true));
    ASSERT_TRUE(program.Settle());
    ClickControl(program.Control(L"Button", kStayResident));
    EXPECT_TRUE(WaitVisible(form, false));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.FindDialog(), nullptr);
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, OutOfRangeGridWidthIsCorrectedAtStart) {
    for (const auto& [stored, corrected] :
         {std::pair{"0", "4"}, std::pair{"1000", "320"}, std::pair{"abc", "32"}}) {
        DistCopy copy;
        copy.WriteIni(std::string("[setting]\r\nGridWidth=") + stored + "\r\n");
        Program program(copy);
        // The panel shows once start-up is over and the message loop runs.
        ASSERT_NE(program.WaitPanel(), nullptr);
        const std::wstring expected(corrected, corrected + std::char_traits<char>::length(corrected));
        EXPECT_EQ(program.Text(program.Control(L"Edit", nullptr)), expected) << stored;
        EXPECT_EQ(program.Quit(), 0u);
        const auto ini = copy.ReadIni();
        ASSERT_TRUE(ini.has_value());
        EXPECT_NE(ini->find(std::string("GridWidth=") + corrected + "\r\n"), std::string::npos) << *ini;
    }
}

TEST_F(ProgramTest, StoredSettingsAreReadAndWrittenBack) {
    DistCopy copy;
    copy.WriteIni("[setting]\r\nchkGraphicLine=1\r\nGridWidth= 0x40\r\ncolor=-16777201\r\ntoumei=$23\r\n"
                  "chkAutoHide=0\r\nchkUseGrid=0\r\nchkMoveToumei=0\r\nchkOritatami=x0\r\n");
    Program program(copy);
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(program.IsChecked(kGraphicLine));
    EXPECT_FALSE(program.IsChecked(kUseGrid));
    EXPECT_FALSE(program.IsChecked(kMoveToumei));
    EXPECT_FALSE(program.IsChecked(kOritatami));
    EXPECT_EQ(program.Text(program.Control(L"Edit", nullptr)), L"64");
    EXPECT_EQ(program.Quit(), 0u);
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(IniLines(*ini), IniLines(SettingsText([](Settings& s) {
                  s.graphicLine = true, s.gridWidth = 64, s.gridColor = -16777201, s.toumei = 35;
                  s.useGrid = s.moveToumei = s.oritatami = false;
              })));
}

TEST_F(ProgramTest, TheTranslucencyBarStartsAtTheStoredLevelAndOneStepRightSavesTheNext) {
    DistCopy copy;
    copy.WriteIni("[setting]\r\ntoumei=40\r\n");
    Program program(copy);
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);
    const HWND bar = program.Control(L"ScrollBar", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ScrollPosition(bar), 40);
    EXPECT_FALSE(winkit::IsLayered(form)) << "the preview waits until the bar moves";

    // Keys go to the foreground window; from the stay-resident button five tabs reach the bar.
    ASSERT_TRUE(winkit::WaitFor([&] { return GetForegroundWindow() == form; }, 30s));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(winkit::PressKey(VK_TAB));
    ASSERT_TRUE(winkit::WaitFor([&] { return program.HasFocus(bar); }, 30s));
    ASSERT_TRUE(winkit::PressKey(VK_RIGHT));
    ASSERT_TRUE(winkit::WaitFor([&] { return winkit::IsLayered(form); }, 30s)) << "the preview starts";
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(ScrollPosition(bar), 41);

    EXPECT_EQ(program.Quit(), 0u);
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value());
    EXPECT_NE(ini->find("toumei=41\r\n"), std::string::npos) << *ini;
}

TEST_F(ProgramTest, AutoHideNeverShowsThePanelOrTheNotice) {
    DistCopy copy;
    copy.WriteIni("[setting]\r\nchkAutoHide=1\r\n");
    Program program(copy);
    const HWND form = program.WaitForm();
    ASSERT_NE(form, nullptr);
    // "Never" is watched over the first seconds of the program's life, while its timer runs.
    bool everShown = false;
    for (int i = 0; i < 40; ++i) {
        everShown = everShown || IsWindowVisible(form) || program.FindDialog() != nullptr;
        program.Settle();
        winkit::PumpFor(50ms);
    }
    EXPECT_FALSE(everShown);
    EXPECT_EQ(program.Quit(), 0u);
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value());
    EXPECT_NE(ini->find("chkAutoHide=1\r\n"), std::string::npos);
}

TEST_F(ProgramTest, StartupBoxCreatesAndDeletesTheShortcut) {
    DeleteFileW(StartupLink().c_str());
    DistCopy copy;
    Program program(copy);
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);
    ClickControl(program.Control(L"Button", kStartup));
    ASSERT_TRUE(winkit::WaitFor([&] { return FileExists(StartupLink()); }, 30s));
    EXPECT_TRUE(SamePath(LinkTarget(StartupLink()), copy.Exe()));
    ClickControl(program.Control(L"Button", kStartup));
    EXPECT_TRUE(winkit::WaitFor([&] { return !FileExists(StartupLink()); }, 30s));
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, AStartupShortcutThatCannotBeWrittenLeavesTheBoxUncheckedAndSaysSo) {
    DeleteFileW(StartupLink().c_str());
    // A folder of the shortcut's name: no shortcut file can be written there.
    ASSERT_TRUE(CreateDirectoryW(StartupLink().c_str(), nullptr));
    DistCopy copy;
    Program program(copy);
    ASSERT_NE(program.WaitPanel(), nullptr);
    // Posted: the click's handler shows a message box and does not return until it is closed.
    PostMessageW(program.Control(L"Button", kStartup), BM_CLICK, 0, 0);
    const HWND box = program.WaitDialog(30s);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(DialogText(box).find(StartupLink()), std::wstring::npos);
    ASSERT_TRUE(PressDialogButton(box, L"OK"));
    ASSERT_TRUE(program.Settle());
    EXPECT_FALSE(program.IsChecked(kStartup));
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, AHookThatCannotStartIsReportedAndThePanelStillComes) {
    // An object of another type holding the hook's section name: the library gets no view. The
    // section of an earlier test's program lives on until the last process that mapped the library
    // (any that got mouse input) has let it go, a moment after that program ended.
    trellane::UniqueHandle squatter;
    ASSERT_TRUE(winkit::WaitFor(
        [&] {
            squatter.reset(CreateEventA(nullptr, TRUE, FALSE, VELLUM_HOOK_MAPPING_NAME));
            return static_cast<bool>(squatter);
        },
        30s));
    DistCopy copy;
    Program program(copy);
    const HWND box = program.WaitDialog(60s);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(DialogText(box).find(L"ウィンドウの操作"), std::wstring::npos) << "says what is lost";
    EXPECT_NE(DialogText(box).find(L"共有メモリ"), std::wstring::npos) << "and why";
    ASSERT_TRUE(PressDialogButton(box, L"OK"));
    ASSERT_NE(program.WaitPanel(), nullptr);
    EXPECT_EQ(program.Quit(), 0u);
}

// The SID of this process's user as text, or empty.
std::wstring UserSid() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    const trellane::UniqueHandle token(raw);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    LPWSTR text = nullptr;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid, &text))
        return {};
    std::wstring sid = text;
    LocalFree(text);
    return sid;
}

TEST_F(ProgramTest, TheHookSectionLetsInTheUserAndTheSystemOnly) {
    DistCopy copy;
    Program program(copy);
    ASSERT_NE(program.WaitPanel(), nullptr);
    const trellane::UniqueHandle section(OpenFileMappingA(READ_CONTROL, FALSE, VELLUM_HOOK_MAPPING_NAME));
    ASSERT_TRUE(section);
    BYTE descriptor[1024];
    DWORD size = 0;
    ASSERT_TRUE(GetKernelObjectSecurity(section.get(), DACL_SECURITY_INFORMATION, descriptor,
                                        sizeof descriptor, &size));
    LPWSTR text = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    const std::wstring dacl = text;
    LocalFree(text);
    const std::wstring sid = UserSid();
    ASSERT_FALSE(sid.empty());
    // Wine keeps no integrity labels, so only the access list can be read back here.
    EXPECT_EQ(dacl, L"D:P(A;;GA;;;" + sid + L")(A;;GA;;;SY)");
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, AnExistingShortcutIsRewrittenForTheRunningCopy) {
    ASSERT_TRUE(WriteLink(StartupLink(), L"C:\\windows\\old-place\\trellane.exe"));
    DistCopy copy;
    Program program(copy);
    const HWND form = program.WaitPanel();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(program.IsChecked(kStartup));
    EXPECT_TRUE(winkit::WaitFor([&] { return SamePath(LinkTarget(StartupLink()), copy.Exe()); }, 30s));
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, AnUnwritableSettingsFileGivesTheErrorBox) {
    DistCopy copy;
    // A folder where the settings file should be: no key can be written there.
    ASSERT_TRUE(CreateDirectoryW(copy.Ini().c_str(), nullptr));
    Program program(copy);
    const HWND form = program.WaitForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(program.Settle());
    PostMessageW(form, WM_CLOSE, 0, 0);
    const HWND box = program.WaitDialog(30s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), copy.Ini() + L" に書き込めません。");
    ASSERT_TRUE(PressDialogButton(box, L"OK"));
    EXPECT_EQ(program.WaitExit(30s), 0u);
    RemoveDirectoryW(copy.Ini().c_str());
}

TEST_F(ProgramTest, RunsFromAJapaneseFolderAndKeepsItsSettingsThere) {
    DistCopy copy(L"グリッド設定テスト");
    Program program(copy);
    ASSERT_NE(program.WaitPanel(), nullptr);
    EXPECT_EQ(program.Quit(), 0u);
    const auto ini = copy.ReadIni();
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(IniLines(*ini), IniLines(SettingsText()));
}

TEST_F(ProgramTest, ASecondStartShowsTheRunningPanelAndEnds) {
    DistCopy copy;
    copy.WriteIni("[setting]\r\n");
    Program first(copy);
    const HWND form = first.WaitPanel();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(first.StayResident());

    Program second(copy);
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(60s), 0u) << "the second copy ends by itself";
    EXPECT_TRUE(WaitVisible(form, true)) << "the running copy shows its panel";
    EXPECT_EQ(winkit::ProcessWindows(second.Id(), L"TfrmTrellane").size(), 0u);
    EXPECT_EQ(first.Quit(), 0u);
}

namespace {

// Sets the prefix's screen scale for the programs started from now on; gives back the old
// setting (0: none) for RestoreScreenScale.
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
DWORD SetScreenScale(DWORD dpi) {
    DWORD old = 0, size = sizeof old;
    RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &old, &size);
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    return old;
}
void RestoreScreenScale(DWORD old) {
    if (old)
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &old, sizeof old);
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

// Makes this thread read other windows in real pixels, whatever scale this process started with.
void ReadRealPixels() {
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set) set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))); // per monitor
}

RECT ClientOnScreen(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(HWND control, const RECT& r) {
    return "#" + std::to_string(GetDlgCtrlID(control)) + " (" + std::to_string(r.left) + "," +
           std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," + std::to_string(r.bottom) + ") ";
}

bool IsSpinButtons(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return lstrcmpiW(name, L"msctls_updown32") == 0;
}

// Every control of the panel inside its client area, and no two overlapping, but for the group box,
// which frames the controls inside it, and the spin buttons, which share the border of their edit
// field as the system draws them. Empty when the layout is sound.
std::string LayoutFaults(HWND form) {
    const RECT client = ClientOnScreen(form);
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool groupBox = (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (IsWindowVisible(child) && !groupBox) controls.emplace_back(child, winkit::WindowRect(child));
    }
    std::string faults = controls.size() < 20 ? "too few controls " : "";
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& [control, rect] = controls[i];
        RECT part{};
        IntersectRect(&part, &rect, &client);
        if (!EqualRect(&part, &rect)) faults += "outside: " + Describe(control, rect);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const auto& [other, otherRect] = controls[j];
            if (!IntersectRect(&part, &rect, &otherRect)) continue;
            const bool sharedBorder =
                IsSpinButtons(control) != IsSpinButtons(other) && part.right - part.left <= 2;
            if (!sharedBorder)
                faults += "overlap: " + Describe(control, rect) + "and " + Describe(other, otherRect);
        }
    }
    return faults;
}

} // namespace

TEST_F(ProgramTest, OnAScaledScreenThePanelFitsItsControlsAndTheTrayIconHasTheSmallIconSize) {
    ReadRealPixels();
    // The test build, which answers the tray icon's size and can act out a move to another monitor.
    DistCopy copy;
    ASSERT_TRUE(CopyFileW(winkit::BuildPath(L"faults\\trellane.exe").c_str(), copy.Exe().c_str(), FALSE));
    copy.WriteIni("[setting]\r\nchkAutoHide=0\r\n");
    // Only the program started now sees the scale; the prefix gets its old setting back at once.
    const DWORD oldScale = SetScreenScale(144);
    Program program(copy);
    const HWND form = program.WaitPanel();
    RestoreScreenScale(oldScale);
    ASSERT_NE(form, nullptr);

    const auto clientSize = [&] {
        const RECT client = ClientOnScreen(form);
        return std::to_string(client.right - client.left) + "x" + std::to_string(client.bottom - client.top);
    };
    const HWND ok = program.Control(L"Button", kStayResident);
    const auto okBounds = [&] {
        RECT rect = winkit::WindowRect(ok);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
        return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
               std::to_string(rect.right - rect.left) + "," + std::to_string(rect.bottom - rect.top);
    };
    EXPECT_EQ(clientSize(), "713x591") << "475x394 at 150 %, rounded";
    EXPECT_EQ(okBounds(), "528,504,170,74") << "352,336,113,49 at 150 %";
    EXPECT_EQ(LayoutFaults(form), "");
    DWORD_PTR iconWidth = 0;
    SendMessageTimeoutW(form, RegisterWindowMessageW(trellane::kTrayIconSizeMessageName), 0, 0, SMTO_BLOCK,
                        10000, &iconWidth);
    EXPECT_EQ(iconWidth, 24u);

    // Moved to monitors at 100 % and at 125 %: the design's own bounds, then scaled again.
    const UINT changeDpi = RegisterWindowMessageW(trellane::kChangeDpiMessageName);
    for (const auto& [dpi, size, bounds] :
         {std::tuple{96, "475x394", "352,336,113,49"}, std::tuple{120, "594x493", "440,420,141,61"}}) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(form, changeDpi, static_cast<WPARAM>(dpi), 0, SMTO_BLOCK, 10000, &result);
        EXPECT_EQ(clientSize(), size) << dpi << " DPI";
        EXPECT_EQ(okBounds(), bounds) << dpi << " DPI";
        EXPECT_EQ(LayoutFaults(form), "") << dpi << " DPI";
    }
    EXPECT_EQ(program.Quit(), 0u);
}

TEST_F(ProgramTest, TheCreditFitsItsLabelAt96And144Dpi) {
    ReadRealPixels();
    for (const DWORD dpi : {96u, 144u}) {
        DistCopy copy;
        // Only the program started now sees the scale; the prefix gets its old setting back at once.
        const DWORD oldScale = SetScreenScale(dpi);
        Program program(copy);
        const HWND form = program.WaitPanel();
        RestoreScreenScale(oldScale);
        ASSERT_NE(form, nullptr) << dpi;
        RECT client{};
        GetClientRect(form, &client);
        ASSERT_EQ(client.right, MulDiv(475, static_cast<int>(dpi), 96))
            << "the panel is not at " << dpi << " DPI";
        const HWND label = program.Control(L"Static", kCredit);
        ASSERT_NE(label, nullptr) << dpi;
        RECT bounds{};
        GetClientRect(label, &bounds);

        // The panel's font at that scale, measured as the label draws its text.
        const trellane::UniqueFont font(CreateFontW(-MulDiv(12, static_cast<int>(dpi), 96), 0, 0, 0,
                                                    FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                    DEFAULT_PITCH | FF_DONTCARE, kPanelFont));
        const trellane::WindowDc dc(nullptr, trellane::WindowDc::Area::Client);
        ASSERT_TRUE(font && dc);
        const trellane::SelectedObject selected(dc.get(), font.get());
        SIZE text{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc.get(), kCredit, lstrlenW(kCredit), &text));
        EXPECT_LE(text.cx, bounds.right) << dpi << " DPI: the credit is cut at the right";
        EXPECT_LE(text.cy, bounds.bottom) << dpi << " DPI: the credit is cut at the bottom";
        std::printf("  %lu DPI: credit %ld x %ld in a label of %ld x %ld\n", dpi, text.cx, text.cy,
                    bounds.right, bounds.bottom);
        EXPECT_EQ(program.Quit(), 0u);
    }
}
