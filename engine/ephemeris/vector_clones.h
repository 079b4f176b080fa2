// One copy of a loop per vector width, picked when the program loads (GCC and Clang on
// x86-64); the arrays never overlap, which the vectorizer needs to be told. The picker runs
// before the thread sanitizer's runtime is up, so a sanitized build keeps the one plain copy.
#pragma once

#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define KELVARA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#define KELVARA_RESTRICT __restrict
#else
#define KELVARA_VECTOR_CLONES
#define KELVARA_RESTRICT
#endif
