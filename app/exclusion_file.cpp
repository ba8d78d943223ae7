#include "exclusion_file.h"

#include "exclusion_list.h"
#include "raii.h"
#include "trace.h"

namespace trellane {

namespace {

UINT CodePageOf(const std::string& bytes) {
    return HasUtf8Mark(bytes) ? CP_UTF8 : CP_ACP;
}

bool Decode(UINT codePage, const std::string& bytes, std::wstring& text) {
    text.clear();
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return false;
    text.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length) ==
           length;
}

// False when the file's encoding cannot hold every character of `text`.
bool Encode(UINT codePage, const std::wstring& text, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    // The UTF-8 conversion takes no flags and reports no default character: it holds everything.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* const defaultUsed = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, defaultUsed);
    if (length <= 0 || usedDefault) return false;
    bytes.resize(static_cast<std::size_t>(length));
    return WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, nullptr,
                               defaultUsed) == length &&
           !usedDefault;
}

bool SameClass(const std::string& entry, const char* className, int nameLength) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, entry.data(), static_cast<int>(entry.size()),
                          className, nameLength) == CSTR_EQUAL;
}

bool SameProgram(const std::wstring& entry, const std::wstring& program) {
    return CompareStringOrdinal(entry.data(), static_cast<int>(entry.size()), program.data(),
                                static_cast<int>(program.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool ExclusionFile::Stamp::operator==(const Stamp& other) const noexcept {
    return exists == other.exists && size == other.size && CompareFileTime(&written, &other.written) == 0;
}

void ExclusionFile::Load(const std::wstring& path) {
    FPath = path;
    FStamp = Stamp{};
    FClasses.clear();
    FPrograms.clear();
    Refresh();
}

void ExclusionFile::Refresh() {
    if (FPath.empty()) return;
    const Stamp stamp = ReadStamp();
    if (stamp == FStamp) return;
    std::string bytes;
    // Half written by an editor, or locked: the last good list stays until the next look.
    if (!ReadBytes(bytes)) return;
    FStamp = stamp;
    TakeEntries(bytes);
}

ExclusionFile::Stamp ExclusionFile::ReadStamp() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    Stamp stamp;
    if (!GetFileAttributesExW(FPath.c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.written = data.ftLastWriteTime;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return stamp;
}

bool ExclusionFile::ReadBytes(std::string& bytes) const {
    bytes.clear();
    UniqueHandle file(CreateFileW(FPath.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        // No list is an empty list, as at start.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        LogFailure(L"CreateFileW", FPath, error);
        return false;
    }
    char buffer[64 * 1024];
    DWORD read = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            LogFailure(L"ReadFile", FPath);
            return false;
        }
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}

void ExclusionFile::TakeEntries(const std::string& bytes) {
    const UINT codePage = CodePageOf(bytes);
    FClasses.clear();
    FPrograms.clear();
    std::wstring text;
    for (std::string& line : SplitExclusionLines(bytes)) {
        if (Decode(codePage, line, text) && IsProgramLine(text))
            FPrograms.push_back(text);
        else
            FClasses.push_back(std::move(line));
    }
}

bool ExclusionFile::ExcludesClass(const char* className) const {
    const int nameLength = lstrlenA(className);
    for (const std::string& entry : FClasses)
        if (SameClass(entry, className, nameLength)) return true;
    return false;
}

bool ExclusionFile::ExcludesProgram(const std::wstring& program) const {
    if (program.empty()) return false;
    for (const std::wstring& entry : FPrograms)
        if (SameProgram(entry, program)) return true;
    return false;
}

AppendResult ExclusionFile::Append(const std::wstring& name, bool program) {
    std::string bytes;
    if (!ReadBytes(bytes)) return AppendResult::Failed;
    // What the file holds now, not what was read last: an edit made since counts.
    TakeEntries(bytes);
    FStamp = ReadStamp();
    const UINT codePage = CodePageOf(bytes);
    std::string line;
    std::wstring readBack;
    if (name.empty() || name.find_first_of(L"\r\n") != std::wstring::npos || !Encode(codePage, name, line) ||
        !Decode(codePage, line, readBack) || IsProgramLine(readBack) != program)
        return AppendResult::Unlistable;
    const bool listed = program ? ExcludesProgram(readBack) : ExcludesClass(line.c_str());
    if (listed) return AppendResult::AlreadyListed;
    const std::optional<std::string> text = WithLineAppended(bytes, line);
    if (!text) {
        LogFailure(L"Append", FPath, ERROR_INVALID_DATA);
        return AppendResult::Failed;
    }
    if (!WriteReplacing(*text)) return AppendResult::Failed;
    Refresh();
    return AppendResult::Added;
}

bool ExclusionFile::WriteReplacing(const std::string& bytes) const {
    const DWORD attributes = GetFileAttributesW(FPath.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Replacing would take the read-only mark away with the old file.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        LogFailure(L"Append", FPath, ERROR_ACCESS_DENIED);
        return false;
    }
    const std::size_t slash = FPath.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : FPath.substr(0, slash);
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(folder.c_str(), L"trl", 0, temporary)) {
        LogFailure(L"GetTempFileNameW", folder);
        return false;
    }
    bool written = false;
    {
        UniqueHandle file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = file &&
                  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size() && FlushFileBuffers(file.get());
        if (!written) LogFailure(L"WriteFile", temporary);
    }
    const bool replaced =
        written && (exists ? ReplaceFileW(FPath.c_str(), temporary, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                          nullptr, nullptr)
                           : MoveFileExW(temporary, FPath.c_str(), MOVEFILE_REPLACE_EXISTING));
    if (written && !replaced) LogFailure(exists ? L"ReplaceFileW" : L"MoveFileExW", FPath);
    if (!replaced) DeleteFileW(temporary);
    return replaced;
}

} // namespace trellane
