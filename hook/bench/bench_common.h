// What both benchmarks share: their command line, [--rounds N] [path of Vellum.dll] (only the load
// benchmark uses the path; the other has the hook procedure compiled in), the median of the rounds,
// and a window to receive the hook's notifications.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct BenchOptions {
    int rounds;
    std::wstring libraryPath;
};

// The library the build made, as Wine sees it (the root of the Unix file system is Z:).
inline std::wstring BuiltLibraryPath() {
    std::wstring path = L"Z:";
    for (const char c : std::string(VELLUM_DLL_UNIX_PATH))
        path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return path;
}

inline BenchOptions ParseBenchOptions(int argc, char** argv, int defaultRounds) {
    BenchOptions options{defaultRounds, BuiltLibraryPath()};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            options.rounds = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        options.libraryPath.clear();
        for (const char* c = argv[i]; *c; ++c)
            options.libraryPath.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return options;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// A message-only window to name as the receiver of the hook's notifications, which go to a real
// window as they would in the program but are never read.
inline HWND MessageWindow() {
    return CreateWindowExW(0, L"STATIC", L"bench receiver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}
