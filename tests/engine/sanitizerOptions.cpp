// Allocations far beyond the machine must fail by returning null under the
// address sanitizer too, as they do in a plain build, instead of ending the run.
#if defined(__SANITIZE_ADDRESS__)
#define ENGINE_TESTS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ENGINE_TESTS_UNDER_ASAN 1
#endif
#endif

#ifdef ENGINE_TESTS_UNDER_ASAN
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#endif
