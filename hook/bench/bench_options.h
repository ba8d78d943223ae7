// The command line both benchmarks take: [--rounds N] [path of Vellum.dll].
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

struct BenchOptions {
    int rounds;
    std::wstring libraryPath;
};

// The library the build made, as Wine sees it (the root of the Unix file system is Z:).
inline std::wstring BuiltLibraryPath() {
    std::wstring path = L"Z:";
    for (const char c : std::string(VELLUM_DLL_UNIX_PATH))
        path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
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
