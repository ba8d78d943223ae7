// A property that must hold for every input. A violation prints what was expected and aborts, so
// that libFuzzer keeps the input as a crash artifact.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                                          \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "\nPROPERTY VIOLATED at %s:%d: %s\n  check: %s\n", __FILE__, __LINE__,      \
                         what, #condition);                                                                  \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
