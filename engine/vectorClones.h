#pragma once
// Hot loops are compiled for several instruction sets and the best one the
// processor has is chosen when the program loads. The arithmetic is the same
// IEEE single precision on every path (no fused multiply-add: the build sets
// -ffp-contract=off), so every path gives the same bits.
// ENGINE_NO_AVX512_CLONE (the build's CANNY_ENGINE_AVX512=OFF) leaves out the
// AVX-512 clone, so that an AVX-512 processor runs the AVX2 one: the way to
// measure the path of processors without AVX-512.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#if defined(ENGINE_NO_AVX512_CLONE)
#define ENGINE_VECTOR_CLONES __attribute__((target_clones("default", "arch=x86-64-v3")))
#else
#define ENGINE_VECTOR_CLONES \
  __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
#endif
#else
#define ENGINE_VECTOR_CLONES
#endif

// Kernels used inside the cloned functions must be inlined into them, or they
// would run as compiled for the baseline instruction set.
// Lambdas too (written after the parameter list): one called from several
// places may otherwise stay a function of its own, built for the baseline.
#if defined(__GNUC__)
#define ENGINE_INLINE inline __attribute__((always_inline))
#define ENGINE_INLINE_LAMBDA __attribute__((always_inline))
#else
#define ENGINE_INLINE inline
#define ENGINE_INLINE_LAMBDA
#endif
