#pragma once
// Hot loops are compiled for several instruction sets and the best one the
// processor has is chosen when the program loads. The arithmetic is the same
// IEEE single precision on every path (no fused multiply-add: the build sets
// -ffp-contract=off), so every path gives the same bits.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#define ENGINE_VECTOR_CLONES \
  __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
#else
#define ENGINE_VECTOR_CLONES
#endif

// Kernels used inside the cloned functions must be inlined into them, or they
// would run as compiled for the baseline instruction set.
#if defined(__GNUC__)
#define ENGINE_INLINE inline __attribute__((always_inline))
#else
#define ENGINE_INLINE inline
#endif
