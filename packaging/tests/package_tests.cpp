// The release packages as a user meets them, under Wine (or on Windows):
//   UnpackedZip: the portable ZIP unpacked into a fresh folder (by zip_runs.sh, with unzip) runs
//     from there, and quits on WM_CLOSE writing its settings beside itself.
//   Installer: the installer runs silently into the per-user programs folder, registers the
//     uninstaller and the shortcuts; the installed program starts; the uninstaller quits it first
//     and removes every installed file and the startup shortcut, keeping the settings file and an
//     exclusion list the user has changed unless told /REMOVESETTINGS.
// Paths arrive in environment variables as Unix paths (set by ctest or zip_runs.sh).
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "raii.h"
#include "winkit.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kMainWindowClass[] = L"TfrmTrellane";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trellane";

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[4096] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
    return length > 0 && length < 4096 ? std::wstring(buffer, length) : std::wstring();
}

// An environment variable holding a Unix path, as a Windows path.
std::wstring PathFromEnvironment(const wchar_t* name) {
    const std::wstring value = Environment(name);
    return value.empty() ? value : winkit::FromUnixPath(Narrow(value));
}

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return L"";
    return buffer;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every file under the folder, as relative paths with backslashes, sorted.
void CollectFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        else
            files.push_back(prefix + name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    CollectFiles(folder, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The program's files as the installer puts them, and the given others. This test is built for the
// edition the installer picks on the system it runs on: the x64 one on 64-bit Windows (a 64-bit
// prefix). Both editions are these four files.
std::vector<std::wstring> Installed(std::vector<std::wstring> others) {
    others.insert(others.end(),
                  {L"ReadMe.txt", L"trellane.exe", L"tools\\Vellum.dll", L"tools\\除外リスト.txt"});
    return others;
}

// Runs a command line and waits for the process to end; its exit code, or STILL_ACTIVE if it did
// not end in time (it is ended then).
DWORD RunToEnd(const std::wstring& commandLine, std::chrono::milliseconds timeout) {
    winkit::ChildProcess process(commandLine);
    if (!process.Started()) return static_cast<DWORD>(-1);
    return process.WaitExit(timeout);
}

std::optional<std::wstring> RegistryString(const wchar_t* value) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

std::optional<DWORD> RegistryNumber(const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return number;
}

bool UninstallKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The target of a shell link file as stored, or an empty string.
std::wstring ShortcutTarget(const std::wstring& linkFile) {
    return winkit::ShortcutTarget(linkFile, SLGP_RAWPATH);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A startup shortcut of the same name from elsewhere (another test, a user) is put aside for the
// test and back afterwards.
class StartupShortcutAside {
public:
    explicit StartupShortcutAside(std::wstring link)
        : link_(std::move(link)), aside_(link_ + L".packaging-test") {
        DeleteFileW(aside_.c_str());
        moved_ = MoveFileW(link_.c_str(), aside_.c_str()) != FALSE;
    }
    ~StartupShortcutAside() {
        if (moved_) MoveFileExW(aside_.c_str(), link_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    StartupShortcutAside(const StartupShortcutAside&) = delete;
    StartupShortcutAside& operator=(const StartupShortcutAside&) = delete;

private:
    std::wstring link_;
    std::wstring aside_;
    bool moved_ = false;
};

// Says how long each step took (the Wine bench is slow; the log shows where the time goes).
class StepClock {
public:
    void Step(const char* what) {
        const auto now = std::chrono::steady_clock::now();
        std::printf("  %5.1f s  %s\n", std::chrono::duration<double>(now - last_).count(), what);
        std::fflush(stdout);
        last_ = now;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The installer and the uninstaller unpack themselves and their plug-ins into the temporary folder:
// the children of this test get a folder of their own there, removed again at the end (and at the
// start, in case an earlier run could not remove it).
class PrivateTemp {
public:
    PrivateTemp() : folder_(winkit::TempFolder() + L"trellane-package-test") {
        winkit::RemoveTree(folder_);
        CreateDirectoryW(folder_.c_str(), nullptr);
        SetEnvironmentVariableW(L"TEMP", folder_.c_str());
        SetEnvironmentVariableW(L"TMP", folder_.c_str());
    }
    ~PrivateTemp() {
        // The uninstaller's copy of itself may still be finishing: wait until it can be removed. A
        // hook library that was moved aside while other processes still map it (Wine never unloads
        // hook libraries) stays until the next run.
        winkit::WaitFor(
            [&] {
                winkit::RemoveTree(folder_);
                return !Exists(folder_) || !Matches(folder_ + L"\\~nsu*");
            },
            10s);
    }
    PrivateTemp(const PrivateTemp&) = delete;
    PrivateTemp& operator=(const PrivateTemp&) = delete;

private:
    static bool Matches(const std::wstring& pattern) {
        WIN32_FIND_DATAW entry{};
        const HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    }

    std::wstring folder_;
};

} // namespace

TEST(UnpackedZip, RunsFromItsFolderAndWritesItsSettingsWhenClosed) {
    const std::wstring folder = PathFromEnvironment(L"TRELLANE_UNPACKED_DIR");
    ASSERT_FALSE(folder.empty()) << "run through packaging/tests/zip_runs.sh";
    const std::wstring ini = folder + L"\\trellane.ini";
    ASSERT_FALSE(Exists(ini));

    winkit::ChildProcess program(L"\"" + folder + L"\\trellane.exe\"", folder);
    ASSERT_TRUE(program.Started());
    const HWND form = winkit::WaitProcessWindow(program.Id(), kMainWindowClass, 60s);
    ASSERT_NE(form, nullptr) << "the panel of the unpacked program did not appear";
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(30s), 0u);
    const auto settings = winkit::ReadFileBytes(ini);
    ASSERT_TRUE(settings.has_value()) << "no trellane.ini beside the unpacked program";
    EXPECT_NE(settings->find("[setting]"), std::string::npos);
    EXPECT_NE(settings->find("GridWidth=32"), std::string::npos);
}

TEST(Installer, InstallsForTheUserRunsAndUninstallsCleanly) {
    trellane::ComApartment com;
    const std::wstring setup = PathFromEnvironment(L"TRELLANE_SETUP");
    const std::wstring version = Environment(L"TRELLANE_VERSION");
    ASSERT_FALSE(setup.empty() || version.empty()) << "TRELLANE_SETUP and TRELLANE_VERSION come from ctest";
    ASSERT_TRUE(Exists(setup)) << Narrow(setup);

    const std::wstring localAppData = ShellFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring startup = ShellFolder(CSIDL_STARTUP);
    const std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
    ASSERT_FALSE(localAppData.empty() || startup.empty() || programs.empty());
    const std::wstring folder = localAppData + L"\\Programs\\Trellane";
    const std::wstring exe = folder + L"\\trellane.exe";
    const std::wstring ini = folder + L"\\trellane.ini";
    const std::wstring uninstaller = folder + L"\\uninstall.exe";
    const std::wstring startupLink = startup + L"\\trellane.lnk";
    const std::wstring menuLink = programs + L"\\Trellane.lnk";
    const auto uninstalled = [&] { return !Exists(folder) && !UninstallKeyExists() && !Exists(menuLink); };

    PrivateTemp temp;
    // Leftovers of an earlier run that failed half-way.
    winkit::RemoveTree(folder);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    DeleteFileW(menuLink.c_str());
    StartupShortcutAside aside(startupLink);
    struct Cleanup {
        std::wstring folder, menuLink, startupLink;
        ~Cleanup() {
            winkit::RemoveTree(folder);
            RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
            DeleteFileW(menuLink.c_str());
            DeleteFileW(startupLink.c_str());
        }
    } cleanup{folder, menuLink, startupLink};
    StepClock clock;

    // 1. Silent installation with the startup shortcut, into the default per-user folder.
    ASSERT_EQ(RunToEnd(L"\"" + setup + L"\" /S /STARTUP", 120s), 0u);
    clock.Step("installed silently with /STARTUP");
    ASSERT_EQ(FilesUnder(folder), Sorted(Installed({L"uninstall.exe"})));
    EXPECT_EQ(RegistryString(L"DisplayName").value_or(L""), L"Trellane");
    EXPECT_EQ(RegistryString(L"DisplayVersion").value_or(L""), version);
    EXPECT_EQ(RegistryString(L"Publisher").value_or(L""), L"Trellane 開発チーム");
    EXPECT_EQ(RegistryString(L"InstallLocation").value_or(L""), folder);
    EXPECT_EQ(RegistryString(L"DisplayIcon").value_or(L""), exe + L",0");
    EXPECT_EQ(RegistryString(L"UninstallString").value_or(L""), L"\"" + uninstaller + L"\"");
    EXPECT_EQ(RegistryString(L"QuietUninstallString").value_or(L""), L"\"" + uninstaller + L"\" /S");
    EXPECT_EQ(RegistryNumber(L"NoModify").value_or(0), 1u);
    EXPECT_EQ(RegistryNumber(L"NoRepair").value_or(0), 1u);
    EXPECT_GT(RegistryNumber(L"EstimatedSize").value_or(0), 0u);
    EXPECT_TRUE(SamePath(ShortcutTarget(startupLink), exe)) << Narrow(ShortcutTarget(startupLink));
    EXPECT_TRUE(SamePath(ShortcutTarget(menuLink), exe)) << Narrow(ShortcutTarget(menuLink));

    // 2. The installed program starts.
    winkit::ChildProcess program(L"\"" + exe + L"\"", folder);
    ASSERT_TRUE(program.Started());
    ASSERT_NE(winkit::WaitProcessWindow(program.Id(), kMainWindowClass, 60s), nullptr);
    clock.Step("installed program started");

    // 3. The silent uninstaller (waited for in place: _?=) quits it first, which writes its
    //    settings, keeps those, and removes everything else it installed.
    ASSERT_EQ(RunToEnd(L"\"" + uninstaller + L"\" /S _?=" + folder, 120s), 0u);
    clock.Step("uninstalled silently in place, program running");
    EXPECT_EQ(program.WaitExit(5s), 0u) << "the uninstaller left Trellane running";
    // Run in place, the uninstaller cannot delete itself.
    EXPECT_EQ(FilesUnder(folder), Sorted({L"trellane.ini", L"uninstall.exe"}));
    EXPECT_FALSE(Exists(startupLink));
    EXPECT_FALSE(Exists(menuLink));
    EXPECT_FALSE(UninstallKeyExists());
    const auto settings = winkit::ReadFileBytes(ini);
    ASSERT_TRUE(settings.has_value()) << "the uninstaller did not keep the settings file";
    EXPECT_NE(settings->find("[setting]"), std::string::npos);

    // 4. Installing again keeps those settings, and makes no startup shortcut unless asked. The
    //    32-bit helper files that earlier x64 releases shipped are taken away.
    ASSERT_TRUE(DeleteFileW(uninstaller.c_str()));
    CreateDirectoryW((folder + L"\\tools").c_str(), nullptr);
    for (const wchar_t* old : {L"\\tools\\Vellum32.dll", L"\\tools\\VellumHost32.exe"})
        ASSERT_TRUE(winkit::WriteFileBytes(folder + old, "MZ"));
    ASSERT_EQ(RunToEnd(L"\"" + setup + L"\" /S", 120s), 0u);
    clock.Step("installed again silently");
    EXPECT_EQ(FilesUnder(folder), Sorted(Installed({L"uninstall.exe", L"trellane.ini"})));
    EXPECT_EQ(winkit::ReadFileBytes(ini), settings);
    EXPECT_FALSE(Exists(startupLink));
    EXPECT_TRUE(UninstallKeyExists());

    // 5. An exclusion list the user has changed is theirs: the silent uninstaller keeps it with the
    //    settings, and installing again leaves it as it is.
    const std::wstring list = folder + L"\\tools\\除外リスト.txt";
    const std::string editedList = "Shell_TrayWnd\r\nNotepad\r\n";
    ASSERT_TRUE(winkit::WriteFileBytes(list, editedList));
    ASSERT_EQ(RunToEnd(L"\"" + uninstaller + L"\" /S _?=" + folder, 120s), 0u);
    clock.Step("uninstalled silently in place, exclusion list edited");
    EXPECT_EQ(FilesUnder(folder), Sorted({L"tools\\除外リスト.txt", L"trellane.ini", L"uninstall.exe"}));
    EXPECT_EQ(winkit::ReadFileBytes(list), editedList);
    EXPECT_FALSE(UninstallKeyExists());
    ASSERT_TRUE(DeleteFileW(uninstaller.c_str()));
    ASSERT_EQ(RunToEnd(L"\"" + setup + L"\" /S", 120s), 0u);
    clock.Step("installed again over the kept list");
    EXPECT_EQ(winkit::ReadFileBytes(list), editedList) << "the installer replaced the edited list";

    // 6. The uninstaller as Windows starts it (it copies itself to the temporary folder and
    //    returns at once), told to remove the settings too: the folder goes completely, the edited
    //    exclusion list with it.
    ASSERT_EQ(RunToEnd(L"\"" + uninstaller + L"\" /S /REMOVESETTINGS", 60s), 0u);
    EXPECT_TRUE(winkit::WaitFor(uninstalled, 60s))
        << "left behind: " << FilesUnder(folder).size() << " files";
    clock.Step("uninstalled silently with /REMOVESETTINGS");
}
