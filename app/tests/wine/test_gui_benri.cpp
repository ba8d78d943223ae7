// The shell helpers against the real shell: shortcut files as Windows reads them, special folders,
// the program's own folder (also from a Japanese folder name) and starting programs.
#include "gui_benri.h"
#include "raii.h"
#include "winkit.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace trellane;

namespace {

// Where a shortcut file keeps the window state its program starts in (the header's ShowCommand).
constexpr DWORD kShowCommandOffset = 0x3C;
// Size of a shortcut file's fixed header, the first value in the file.
constexpr std::uint32_t kLinkHeaderSize = 0x4C;

// Set by the Japanese-folder test for the copy of this program it starts: the file the copy writes
// its own ExecutablePath() into.
constexpr wchar_t kReportVariable[] = L"TRELLANE_GUI_BENRI_REPORT";

// A fresh folder of this test's own under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(winkit::TempFolder() + L"trellane-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount())) {
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { winkit::RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    const auto bytes = winkit::ReadFileBytes(path);
    if (!bytes) return {};
    return std::vector<unsigned char>(bytes->begin(), bytes->end());
}

std::uint32_t LittleEndian32(const std::vector<unsigned char>& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// The show command as stored in the file; the link object's own GetShowCmd cannot be trusted for
// this on every system, so the header is read directly.
std::uint32_t StoredShowCommand(const std::wstring& linkFile) {
    const std::vector<unsigned char> bytes = ReadBytes(linkFile);
    if (bytes.size() < kLinkHeaderSize) return 0xFFFFFFFFu;
    if (LittleEndian32(bytes, 0) != kLinkHeaderSize) return 0xFFFFFFFFu;
    return LittleEndian32(bytes, kShowCommandOffset);
}

bool ContainsUtf16(const std::vector<unsigned char>& bytes, const std::wstring& text) {
    std::vector<unsigned char> pattern;
    for (wchar_t c : text) {
        pattern.push_back(static_cast<unsigned char>(c & 0xFF));
        pattern.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
    return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) != bytes.end();
}

struct LoadedLink {
    bool loaded = false;
    std::wstring path;
    std::wstring arguments;
};

LoadedLink LoadLink(const std::wstring& linkFile) {
    LoadedLink result;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return result;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return result;
    if (FAILED(file->Load(linkFile.c_str(), STGM_READ))) return result;
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) return result;
    result.path = buffer;
    wchar_t arguments[MAX_PATH + 1] = {};
    link->GetArguments(arguments, MAX_PATH);
    result.arguments = arguments;
    result.loaded = true;
    return result;
}

// Wide text for a failure message, as code points, whatever the console's code page.
std::string Hex(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char code[12];
            snprintf(code, sizeof code, "<%04X>", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

class ShellHelpers : public ::testing::Test {
protected:
    ComApartment com_;
    ScratchFolder scratch_;
    // A target that certainly exists: this test program.
    const std::wstring target_ = ExecutablePath();
};

// ---- CreateShortcut ----------------------------------------------------------------------------

TEST_F(ShellHelpers, ShortcutStoresTheShowCommandOfEachLinkState) {
    const struct {
        LinkShow show;
        std::uint32_t stored;
    } cases[] = {{LinkShow::Normal, 1}, {LinkShow::Minimized, 6}, {LinkShow::Maximized, 3}};
    for (const auto& c : cases) {
        const std::wstring link = scratch_ / (L"show" + std::to_wstring(static_cast<int>(c.show)) + L".lnk");
        ASSERT_TRUE(CreateShortcut(link, target_, L"", L"", c.show));
        EXPECT_EQ(StoredShowCommand(link), c.stored) << "LinkShow " << static_cast<int>(c.show);
    }
}

TEST_F(ShellHelpers, ShortcutPointsAtItsTarget) {
    const std::wstring link = scratch_ / L"trellane.lnk";
    ASSERT_TRUE(CreateShortcut(link, target_, L"", L"", LinkShow::Normal));
    const LoadedLink loaded = LoadLink(link);
    ASSERT_TRUE(loaded.loaded);
    EXPECT_TRUE(SamePath(loaded.path, target_)) << "stored path differs from the target";
    EXPECT_TRUE(loaded.arguments.empty());
}

TEST_F(ShellHelpers, ShortcutKeepsItsArguments) {
    const std::wstring link = scratch_ / L"with-arguments.lnk";
    ASSERT_TRUE(CreateShortcut(link, target_, L"--quiet", scratch_.Path(), LinkShow::Normal));
    const LoadedLink loaded = LoadLink(link);
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.arguments, L"--quiet");
}

TEST_F(ShellHelpers, ShortcutReplacesAnExistingFile) {
    const std::wstring link = scratch_ / L"trellane.lnk";
    winkit::WriteFileBytes(link, "not a shortcut at all");
    ASSERT_TRUE(CreateShortcut(link, target_, L"", L"", LinkShow::Maximized));
    EXPECT_EQ(StoredShowCommand(link), 3u);
    EXPECT_TRUE(LoadLink(link).loaded);

    // And a shortcut replaces an earlier shortcut of the same name.
    ASSERT_TRUE(CreateShortcut(link, target_, L"", L"", LinkShow::Normal));
    EXPECT_EQ(StoredShowCommand(link), 1u);
}

TEST_F(ShellHelpers, ShortcutIntoAMissingFolderFailsAndWritesNothing) {
    const std::wstring missingFolder = scratch_ / L"no-such-folder";
    const std::wstring link = missingFolder + L"\\trellane.lnk";
    EXPECT_FALSE(CreateShortcut(link, target_, L"", L"", LinkShow::Normal));
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FolderExists(missingFolder));
}

TEST_F(ShellHelpers, ShortcutOntoAFolderFailsAndLeavesTheFolder) {
    // A folder of the link's name cannot be replaced by a file.
    const std::wstring link = scratch_ / L"taken.lnk";
    ASSERT_TRUE(CreateDirectoryW(link.c_str(), nullptr));
    EXPECT_FALSE(CreateShortcut(link, target_, L"", L"", LinkShow::Normal));
    EXPECT_TRUE(FolderExists(link));
}

TEST_F(ShellHelpers, ShortcutIntoAJapaneseFolder) {
    const std::wstring folder = scratch_ / L"設定テスト";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // The target lives in the Japanese folder too, so both names must survive the round trip.
    const std::wstring target = folder + L"\\トレー常駐.txt";
    winkit::WriteFileBytes(target, "x");
    const std::wstring link = folder + L"\\スタートアップ.lnk";

    ASSERT_TRUE(CreateShortcut(link, target, L"", L"", LinkShow::Minimized));
    EXPECT_TRUE(FileExists(link));
    EXPECT_EQ(StoredShowCommand(link), 6u);
    // The link keeps the names of its target's item list in UTF-16 (its plain path field is in the
    // ANSI code page and may have lost them), so the Japanese names must be there as written.
    const std::vector<unsigned char> bytes = ReadBytes(link);
    EXPECT_TRUE(ContainsUtf16(bytes, L"設定テスト"));
    EXPECT_TRUE(ContainsUtf16(bytes, L"トレー常駐.txt"));
}

// ---- FileExists / DeleteFileIfExists -----------------------------------------------------------

TEST_F(ShellHelpers, DeleteFileIfExistsRemovesTheFile) {
    const std::wstring file = scratch_ / L"trellane.lnk";
    winkit::WriteFileBytes(file, "x");
    ASSERT_TRUE(FileExists(file));
    EXPECT_TRUE(DeleteFileIfExists(file));
    EXPECT_FALSE(FileExists(file));
}

TEST_F(ShellHelpers, DeleteFileIfExistsAcceptsAMissingFile) {
    EXPECT_TRUE(DeleteFileIfExists(scratch_ / L"never-there.lnk"));
}

TEST_F(ShellHelpers, FileExistsIsFalseForAFolder) {
    EXPECT_FALSE(FileExists(scratch_.Path()));
    EXPECT_FALSE(FileExists(scratch_ / L"missing.txt"));
}

TEST_F(ShellHelpers, JapaneseFileNamesAreFoundAndDeleted) {
    const std::wstring file = scratch_ / L"除外リスト.txt";
    winkit::WriteFileBytes(file, "Shell_TrayWnd\r\n");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(DeleteFileIfExists(file));
    EXPECT_FALSE(FileExists(file));
}

// ---- Special folders ---------------------------------------------------------------------------

TEST_F(ShellHelpers, StartupFolderEndsWithOneBackslashAndExists) {
    const std::wstring startup = StartupFolderPath(nullptr);
    ASSERT_GT(startup.size(), 3u) << "the shell could not resolve the Startup folder";
    EXPECT_EQ(startup.back(), L'\\');
    EXPECT_NE(startup[startup.size() - 2], L'\\');
    EXPECT_TRUE(FolderExists(startup.substr(0, startup.size() - 1)));
    EXPECT_EQ(startup, SpecialFolderPath(nullptr, CSIDL_STARTUP));
}

TEST_F(ShellHelpers, FolderWithoutAFileSystemPathGivesABackslash) {
    // "My Computer" is a shell folder without a place in the file system.
    EXPECT_EQ(SpecialFolderPath(nullptr, CSIDL_DRIVES), L"\\");
}

TEST_F(ShellHelpers, UnknownFolderGivesABackslash) {
    EXPECT_EQ(SpecialFolderPath(nullptr, 0x7E), L"\\");
}

// ---- The program's own folder ------------------------------------------------------------------

TEST(ExeDirectory, EndsWithABackslashAndHoldsThisProgram) {
    const std::wstring directory = ExeDirectory();
    const std::wstring path = ExecutablePath();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), L'\\');
    EXPECT_EQ(path.compare(0, directory.size(), directory), 0);
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(FileExists(directory + L"gui_benri_tests.exe"));
}

// A copy of this program started by the test below reports its own paths into the file the
// variable names, and ends before any test runs.
[[maybe_unused]] const bool kRunAsReportingCopy = [] {
    wchar_t report[1024] = {};
    if (GetEnvironmentVariableW(kReportVariable, report, 1024) == 0) return false;
    const std::wstring text = ExecutablePath() + L"\n" + ExeDirectory();
    UniqueHandle file(
        CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool wrote =
        file && WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                          &written, nullptr);
    file.reset();
    ExitProcess(wrote ? 0 : 3);
}();

// Copies this program into the folder, runs the copy and returns what it reported as its own path
// and folder, separated by a line feed.
std::wstring PathsReportedFromCopyIn(const ScratchFolder& scratch, const std::wstring& folder) {
    const std::wstring copy = folder + L"\\trellane.exe";
    if (!CopyFileW(ExecutablePath().c_str(), copy.c_str(), FALSE)) return L"(copy failed)";
    const std::wstring report = scratch / L"report.txt";
    SetEnvironmentVariableW(kReportVariable, report.c_str());
    winkit::ChildProcess child(L"\"" + copy + L"\"", scratch.Path());
    SetEnvironmentVariableW(kReportVariable, nullptr);
    if (!child.Started()) return L"(start failed)";
    if (child.WaitExit(std::chrono::seconds(40)) != 0) return L"(the copy could not report)";
    const std::vector<unsigned char> bytes = ReadBytes(report);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

TEST(ExecutablePath, FromAJapaneseFolder) {
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"ツール設定";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring expected = folder + L"\\trellane.exe\n" + folder + L"\\";
    const std::wstring reported = PathsReportedFromCopyIn(scratch, folder);
    EXPECT_TRUE(SamePath(reported, expected))
        << "reported " << Hex(reported) << " instead of " << Hex(expected);
}

// ---- Starting programs -------------------------------------------------------------------------

// Programs this process started, so that a test can wait for them to end.
std::vector<DWORD> ChildProcessIds() {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == GetCurrentProcessId()) ids.push_back(entry.th32ProcessID);
    return ids;
}

void EndChildren() {
    for (DWORD id : ChildProcessIds()) {
        UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
        if (!process) continue;
        if (WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    }
}

TEST(RunCommandLine, MissingProgramIsReportedAsNotStarted) {
    EXPECT_FALSE(RunCommandLine("no-such-program-xyz.exe"));
}

TEST(RunCommandLine, StartsARealProgram) {
    // A command interpreter told to quit at once: started, and gone again by itself.
    const bool started = RunCommandLine("cmd.exe /c exit 0");
    EndChildren();
    EXPECT_TRUE(started);
}

} // namespace
