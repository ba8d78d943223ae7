// The exclusion list file as the window commands use it: read at start, read again whenever it
// changed on disk, and added to a line at a time when the user picks a window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace trellane {

enum class AppendResult {
    Added,
    AlreadyListed,
    // The name cannot be a line of this file: its encoding cannot hold it, or read back it would
    // be taken for the other kind of line.
    Unlistable,
    // Reading or replacing the file failed, or it is read-only: the file is as it was.
    Failed,
};

class ExclusionFile {
public:
    // Reads the list at `path`; a missing file is an empty list.
    void Load(const std::wstring& path);
    // Reads the list again when its size or last-write time changed since it was last read. A list
    // that cannot be read keeps the entries read last.
    void Refresh();
    bool ExcludesClass(const char* className) const;
    // `program`: the file name of a program, e.g. "notepad.exe".
    bool ExcludesProgram(const std::wstring& program) const;
    bool HasPrograms() const { return !FPrograms.empty(); }
    // Adds a line naming a program (a file name ending in ".exe") or a window class. The rest of
    // the file stays byte for byte; the new file replaces the old one only once it is whole.
    AppendResult Append(const std::wstring& name, bool program);
    const std::wstring& Path() const { return FPath; }

private:
    struct Stamp {
        bool exists = false;
        FILETIME written{};
        ULONGLONG size = 0;
        bool operator==(const Stamp& other) const noexcept;
    };
    Stamp ReadStamp() const;
    // False (with a trace) when the file exists but cannot be read.
    bool ReadBytes(std::string& bytes) const;
    void TakeEntries(const std::string& bytes);
    bool WriteReplacing(const std::string& bytes) const;

    std::wstring FPath;
    Stamp FStamp;
    // Class lines as their bytes, compared in the system's code page; program lines decoded.
    std::vector<std::string> FClasses;
    std::vector<std::wstring> FPrograms;
};

} // namespace trellane
