#pragma once
// ENGINE_TESTS_UNDER_ASAN: 1 under the address sanitizer (gcc and clang spell it apart), else 0.
#if defined(__SANITIZE_ADDRESS__)
#define ENGINE_TESTS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ENGINE_TESTS_UNDER_ASAN 1
#endif
#endif
#ifndef ENGINE_TESTS_UNDER_ASAN
#define ENGINE_TESTS_UNDER_ASAN 0
#endif
