// What every fuzz target shares: a wrong success is reported like a crash, so
// that libFuzzer keeps the input that shows it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                  \
  do {                                                                                    \
    if (!(cond)) {                                                                        \
      std::fprintf(stderr, "%s:%d: wrong success: %s\n", __FILE__, __LINE__, #cond);      \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)
